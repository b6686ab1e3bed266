#include <gtest/gtest.h>

#include <string_view>

#include "message_text.h"
#include "paths.h"
#include "repair_settings.h"

namespace {

using repair::PathStyle;

struct FolderCase {
  std::string_view executable_path;
  PathStyle style;
  std::string_view program_folder;
};

constexpr FolderCase kFolderCases[] = {
    {"/opt/valtu/Project1", PathStyle::Posix, "/opt/valtu/"},
    {"/Project1", PathStyle::Posix, "/"},
    {"Project1", PathStyle::Posix, ""},
    {"/opt/va\\ltu/Project1", PathStyle::Posix, "/opt/va\\ltu/"},
    {"/opt/a:b/Project1", PathStyle::Posix, "/opt/a:b/"},
    {"/opt/工具/Project1", PathStyle::Posix, "/opt/工具/"},
    {"C:\\Valtu\\Project1.exe", PathStyle::Windows, "C:\\Valtu\\"},
    {"C:Project1.exe", PathStyle::Windows, "C:"},
    {"C:\\Valtu\\a:b", PathStyle::Windows, "C:\\Valtu\\a:"},
    {"C:/Valtu/Project1.exe", PathStyle::Windows, "C:"},
    {"\\\\server\\share\\Project1.exe", PathStyle::Windows, "\\\\server\\share\\"},
};

TEST(ProgramFolder, EndsAtTheLastSeparatorOfItsPlatform) {
  for (const auto& c : kFolderCases) {
    EXPECT_EQ(repair::ProgramFolder(c.executable_path, c.style), c.program_folder)
        << c.executable_path;
  }
}

TEST(DatabaseFolder, LiesBelowTheProgramFolder) {
  EXPECT_EQ(repair::DatabaseFolder("/opt/valtu/Project1", PathStyle::Posix),
            "/opt/valtu/ValtuMySQL/data/velkarin/");
  EXPECT_EQ(repair::DatabaseFolder("C:\\Valtu\\Project1.exe", PathStyle::Windows),
            "C:\\Valtu\\ValtuMySQL\\data\\velkarin\\");
  EXPECT_EQ(repair::DatabaseFolder("Project1", PathStyle::Posix), "ValtuMySQL/data/velkarin/");
}

struct MessageCase {
  std::string_view message;
  std::string_view shown;
};

constexpr MessageCase kMessageCases[] = {
    {"x", "x."},
    {"x.", "x."},
    {"x)", "x)"},
    {"x!", "x!"},
    {"port 3306", "port 3306."},
    {"", ""},
    {"表已存在", "表已存在."},
    {"x-", "x-"},
    {"x/", "x/."},
    {"x\n", "x\n"},
};

TEST(WithFullStop, AppendsAFullStopAfterCharactersAboveIt) {
  for (const auto& c : kMessageCases) {
    EXPECT_EQ(repair::WithFullStop(std::string(c.message)), c.shown) << '"' << c.message << '"';
  }
}

}  // namespace

namespace {

TEST(RepairScript, IsSixLinesEachEndedByCrLf) {
  EXPECT_EQ(repair::kRepairScript,
            "DROP TABLE IF EXISTS `unique_no`;\r\n"
            "CREATE TABLE `unique_no` (\r\n"
            "  `id` varchar(32) NOT NULL,\r\n"
            "  `unique_no` bigint(20) NOT NULL AUTO_INCREMENT,\r\n"
            "  PRIMARY KEY (`unique_no`)\r\n"
            ") ENGINE=InnoDB AUTO_INCREMENT=55723 DEFAULT CHARSET=latin1;\r\n");
}

}  // namespace

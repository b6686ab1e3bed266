// The running program's own path, from the system, and the folder the repair takes
// from it: on Windows the module's file name, cut at its last "\" or ":".
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "paths.h"
#include "platform.h"
#include "support/files.h"

namespace {

#ifdef _WIN32
constexpr const char* kProgramFile = "platform_test.exe";
constexpr char kSeparator = '\\';
#else
constexpr const char* kProgramFile = "platform_test";
constexpr char kSeparator = '/';
#endif

TEST(ExecutablePath, IsThisProgramsFileAndItsFolderEndsInTheSeparator) {
  const std::string path = repair::platform::ExecutablePath();
  ASSERT_FALSE(path.empty());
  const std::filesystem::path file = support::PathFromUtf8(path);
  EXPECT_TRUE(file.is_absolute()) << path;
  EXPECT_TRUE(std::filesystem::is_regular_file(file)) << path;

  const std::string folder = repair::ProgramFolder(path);
  ASSERT_FALSE(folder.empty()) << path;
  EXPECT_EQ(folder.back(), kSeparator) << path;
  EXPECT_EQ(path.substr(folder.size()), kProgramFile) << path;
  EXPECT_EQ(repair::DatabaseFolder(path), folder + "ValtuMySQL" + kSeparator + "data" + kSeparator +
                                              "velkarin" + kSeparator);
}

}  // namespace

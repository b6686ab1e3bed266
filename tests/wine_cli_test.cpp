// The Windows build of unique-no-repair, run under Wine from a copy placed beside the
// server's ValtuMySQL folder, against the same real server as the Linux tests. Its
// output has Windows line ends; the checks read them as "\n".
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/process.h"
#include "support/sql_session.h"
#include "support/throwaway_server.h"

namespace {

namespace fs = std::filesystem;

const fs::path kWindowsProgram = UNR_WINDOWS_CLI_PATH;

std::string WithUnixLineEnds(std::string text) {
  return std::regex_replace(text, std::regex("\r+\n"), "\n");
}

// What a Windows program sees as the path of a Linux file: Wine maps "/" to Z:.
std::string AsWindowsPath(const fs::path& path) {
  std::string text = "Z:" + path.string();
  std::replace(text.begin(), text.end(), '/', '\\');
  return text;
}

void ExpectTheWindowsProgramIsBuilt() {
  ASSERT_TRUE(!kWindowsProgram.empty() && fs::is_regular_file(kWindowsProgram))
      << "no Windows program at '" << kWindowsProgram.string()
      << "': build it first with bash scripts/build-windows.sh";
}

class WindowsCliTest : public ::testing::Test {
 protected:
  support::ThrowawayServer server_;
  fs::path installed_ = server_.folder() / "unique-no-repair.exe";

  void SetUp() override {
    ExpectTheWindowsProgramIsBuilt();
    fs::copy_file(kWindowsProgram, installed_);
  }

  support::ProcessResult Repair(std::vector<std::string> arguments, const fs::path& program = {}) {
    arguments.insert(arguments.begin(), {"bash", UNR_WINE_RUN_SCRIPT,
                                         (program.empty() ? installed_ : program).string()});
    auto result = support::RunProcess(arguments);
    result.out = WithUnixLineEnds(result.out);
    result.err = WithUnixLineEnds(result.err);
    return result;
  }
};

TEST_F(WindowsCliTest, RepairsTheDamagedTableAndLeavesBrdaAsItWas) {
  const fs::path brda = server_.DatabaseFolder() / "brda.frm";
  const std::string brda_before = support::ReadFile(brda);
  ASSERT_FALSE(brda_before.empty());
  server_.Damage();

  const auto repaired = Repair({"--host", "127.0.0.1", "--port", server_.PortText()});
  EXPECT_EQ(repaired.exit_code, 0) << repaired.err;
  EXPECT_EQ(repaired.out, "修复完成！\n");
  EXPECT_EQ(repaired.err, "");
  support::SqlSession sql(server_.port());
  EXPECT_EQ(sql.UniqueNoCounter(), "55723");
  EXPECT_EQ(sql.Scalar("SELECT COUNT(*) FROM unique_no"), "0");
  EXPECT_EQ(support::ReadFile(brda), brda_before);
}

// The copy lands below the program's own folder, found through the Windows path rule;
// with the server elsewhere, the copy stays there to be looked at.
TEST_F(WindowsCliTest, CopiesTheDefinitionBelowItsOwnFolder) {
  support::TempFolder other;
  const fs::path database = other.path() / "ValtuMySQL" / "data" / "velkarin";
  fs::create_directories(database);
  support::WriteFile(database / "brda.frm", "brda's definition");
  const fs::path program = other.path() / "unique-no-repair.exe";
  fs::copy_file(kWindowsProgram, program);

  const auto result = Repair({"--port", server_.PortText()}, program);
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(support::ReadFile(database / "unique_no.frm"), "brda's definition");
  EXPECT_EQ(support::SqlSession(server_.port()).UniqueNoCounter(), "55723");
}

TEST_F(WindowsCliTest, ReportsFailuresOnStderrAndCopiesNothing) {
  server_.Damage();
  const fs::path target = server_.DatabaseFolder() / "unique_no.frm";
  struct Case {
    std::vector<std::string> arguments;
    std::string err_start;
  };
  const Case cases[] = {
      {{"--port", "70000"}, "Port 70000 is outside the range 1 to 65535.\n"},
      // The host crosses the wide command line and the error output as UTF-8.
      {{"--host", "工具.invalid", "--port", server_.PortText()}, "Unknown server host '工具.invalid' ("},
  };
  for (const auto& c : cases) {
    const auto result = Repair(c.arguments);
    EXPECT_EQ(result.exit_code, 1) << c.arguments[1];
    EXPECT_EQ(result.err.rfind(c.err_start, 0), 0u) << result.err;
    EXPECT_EQ(result.out, "") << c.arguments[1];
    EXPECT_FALSE(fs::exists(target)) << c.arguments[1];
  }
}

// On a console the text is written as UTF-16, so it reads right whatever the code
// page; bytes written as they are would be read in that code page and garble.
TEST_F(WindowsCliTest, ShowsChineseOnAConsoleWhateverItsCodePage) {
  for (const char* code_page : {"437", "936", "65001"}) {
    // `script` gives Wine a terminal, which Wine makes the program's console.
    const std::string command = "bash '" UNR_WINE_RUN_SCRIPT "' cmd /c 'chcp " + std::string(code_page) +
                                " >nul & " + AsWindowsPath(installed_) + " --port " +
                                server_.PortText() + "'";
    const auto result = support::RunProcess({"script", "-qec", command, "/dev/null"});
    EXPECT_EQ(result.exit_code, 0) << result.out;
    // The terminal's own control sequences and carriage returns aside.
    const std::string shown = WithUnixLineEnds(
        std::regex_replace(result.out, std::regex("\x1b\\[[0-9;?]*[A-Za-z]"), ""));
    EXPECT_EQ(shown, "修复完成！\n") << "code page " << code_page;
  }
}

// One file: every DLL it imports comes with Windows.
TEST(WindowsProgram, NeedsNoDllBesideIt) {
  ExpectTheWindowsProgramIsBuilt();
  const auto dump = support::RunProcess({"objdump", "-p", kWindowsProgram.string()});
  ASSERT_EQ(dump.exit_code, 0) << dump.err;

  const std::set<std::string> windows_own = {"advapi32.dll", "bcrypt.dll", "crypt32.dll",
                                             "kernel32.dll", "msvcrt.dll", "secur32.dll",
                                             "shell32.dll", "shlwapi.dll", "ws2_32.dll"};
  std::set<std::string> imported;
  std::istringstream lines(dump.out);
  const std::regex dll_name(R"(^\s*DLL Name: (\S+)\s*$)");
  for (std::string line; std::getline(lines, line);) {
    std::smatch match;
    if (!std::regex_match(line, match, dll_name)) continue;
    std::string name = match[1];
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    imported.insert(name);
  }
  EXPECT_TRUE(imported.count("kernel32.dll")) << dump.out;
  for (const std::string& name : imported) {
    EXPECT_TRUE(windows_own.count(name)) << name << " does not come with Windows";
  }
}

}  // namespace

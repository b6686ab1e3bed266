// unique-no-repair run as a process, from a copy placed beside the server's
// ValtuMySQL folder as an operator would install it.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/files.h"
#include "support/process.h"
#include "support/sql_session.h"
#include "support/throwaway_server.h"

namespace {

namespace fs = std::filesystem;

class CliTest : public ::testing::Test {
 protected:
  support::ThrowawayServer server_;
  std::string installed_ = server_.ProgramPath("unique-no-repair");

  void SetUp() override { fs::copy_file(UNR_CLI_PATH, installed_); }

  support::ProcessResult Repair(std::vector<std::string> arguments,
                                const std::string& program = "") {
    arguments.insert(arguments.begin(), program.empty() ? installed_ : program);
    return support::RunProcess(arguments);
  }

};

TEST_F(CliTest, RepairsTheDamagedTable) {
  server_.Damage();
  const auto repaired = Repair({"--host", "127.0.0.1", "--port", server_.PortText()});
  EXPECT_EQ(repaired.exit_code, 0) << repaired.err;
  EXPECT_EQ(repaired.out, "修复完成！\n");
  EXPECT_EQ(repaired.err, "");
  EXPECT_EQ(support::SqlSession(server_.port()).UniqueNoCounter(), "55723");
  EXPECT_EQ(support::SqlSession(server_.port()).Scalar("SELECT COUNT(*) FROM unique_no"), "0");
}

// The server may be elsewhere (here: another folder); the copy is still made below
// the program's own folder.
TEST_F(CliTest, CopiesTheDefinitionBelowItsOwnFolder) {
  support::TempFolder other;
  const fs::path database = other.path() / "ValtuMySQL" / "data" / "velkarin";
  fs::create_directories(database);
  support::WriteFile(database / "brda.frm", "brda's definition");
  const std::string program = (other.path() / "unique-no-repair").string();
  fs::copy_file(UNR_CLI_PATH, program);

  const auto result = Repair({"--port", server_.PortText()}, program);
  EXPECT_EQ(result.exit_code, 0) << result.err;
  EXPECT_EQ(support::ReadFile(database / "unique_no.frm"), "brda's definition");
  EXPECT_EQ(support::SqlSession(server_.port()).UniqueNoCounter(), "55723");
}

TEST_F(CliTest, ReportsFailuresOnStderrWithTheFullStopRule) {
  struct Case {
    std::vector<std::string> arguments;
    int exit_code;
    std::string err;
  };
  const Case cases[] = {
      {{"--port", "70000"}, 1, "Port 70000 is outside the range 1 to 65535.\n"},
      {{"--port=-1"}, 1, "Port -1 is outside the range 1 to 65535.\n"},
      {{"--port", "$FFFFFFFF"}, 1, "Port -1 is outside the range 1 to 65535.\n"},
      {{"--port", "1"}, 1, "Can't connect to server on '127.0.0.1' (115)\n"},
      {{"--host", "no-such-host.invalid", "--port", server_.PortText()}, 1,
       "Unknown server host 'no-such-host.invalid' (-2)\n"},
  };
  for (const auto& c : cases) {
    const auto result = Repair(c.arguments);
    EXPECT_EQ(result.exit_code, c.exit_code) << c.arguments.back();
    EXPECT_EQ(result.err, c.err) << c.arguments.back();
    EXPECT_EQ(result.out, "") << c.arguments.back();
  }
}

// Needs no server: the arguments are read before any connection.
TEST(CliUsage, AnswersHelpVersionAndBadUsage) {
  const auto Repair = [](std::vector<std::string> arguments) {
    arguments.insert(arguments.begin(), UNR_CLI_PATH);
    return support::RunProcess(arguments);
  };
  const auto help = Repair({"--help"});
  EXPECT_EQ(help.exit_code, 0);
  EXPECT_NE(help.out.find("--host"), std::string::npos) << help.out;
  EXPECT_NE(help.out.find("--port"), std::string::npos) << help.out;

  const auto version = Repair({"--version"});
  EXPECT_EQ(version.exit_code, 0);
  EXPECT_EQ(version.out, "1.0.0\n");

  for (const std::vector<std::string>& bad : {std::vector<std::string>{"--bogus"},
                                              std::vector<std::string>{"stray"},
                                              std::vector<std::string>{"--port"}}) {
    const auto result = Repair(bad);
    EXPECT_EQ(result.exit_code, 2) << bad.front();
    EXPECT_NE(result.err.find("Usage: unique-no-repair [--host HOST] [--port PORT]"), std::string::npos)
        << result.err;
    EXPECT_EQ(result.out, "");
  }
}

}  // namespace

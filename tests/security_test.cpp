// What must hold whatever the operator types or the server says: the password never
// shows, the operator's text never reaches the server as SQL, and the server's own
// text reaches the operator unchanged.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "support/listener.h"
#include "support/process.h"
#include "support/repair_fixture.h"

namespace {

namespace fs = std::filesystem;
using repair::DbError;

class SecurityTest : public support::RepairFixture {};

// The messages of the library and the server are checked for the password wherever
// a test provokes one (see Failure); this covers what the program itself prints.
TEST_F(SecurityTest, ThePasswordNeverShowsInTheProgramsOutput) {
  const support::SilentListener silent;
  const std::string password(repair::kPassword);
  struct Case {
    std::vector<std::string> arguments;
    std::string prepare;  // run by an administrator before the program
    std::string undo;
  };
  const std::string port = server_.PortText();
  const Case cases[] = {
      {{"--bogus"}, "", ""},
      {{"--port"}, "", ""},
      {{"stray"}, "", ""},
      {{"--help"}, "", ""},
      {{"--version"}, "", ""},
      {{"--port", "70000"}, "", ""},
      {{"--port", std::to_string(support::UnusedPort())}, "", ""},
      // The program's own connect bound, 15 s: the one slow case.
      {{"--port", std::to_string(silent.port())}, "", ""},
      {{"--host", "no-such-host.invalid", "--port", port}, "", ""},
      {{"--host", std::string(10'000, 'h'), "--port", port}, "", ""},
      {{"--host", "数据库服务器", "--port", port}, "", ""},
      {{"--host", "127.0.0.1;password=x", "--port", port}, "", ""},
      {{"--port", port}, "ALTER USER root@'127.0.0.1' IDENTIFIED BY 'another'",
       "ALTER USER root@'127.0.0.1' IDENTIFIED BY '" + password + "'"},
      {{"--port", port}, "DROP DATABASE velkarin", "CREATE DATABASE velkarin"},
  };
  const std::string program = server_.ProgramPath("unique-no-repair");
  fs::copy_file(UNR_CLI_PATH, program);
  auto admin = Sql("mysql");
  for (const auto& c : cases) {
    std::vector<std::string> argv{program};
    argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
    const std::string shown = argv.back().substr(0, 40);
    if (!c.prepare.empty()) admin.Execute(c.prepare);
    const auto result = support::RunProcess(argv);
    if (!c.undo.empty()) admin.Execute(c.undo);

    // Said without the output, which would show the password once more.
    EXPECT_EQ(result.out.find(password), std::string::npos) << shown << ": the password shows on stdout";
    EXPECT_EQ(result.err.find(password), std::string::npos) << shown << ": the password shows on stderr";
    EXPECT_FALSE(result.out.empty() && result.err.empty()) << shown << ": nothing was said";
  }
}

struct LogEntry {
  unsigned long session;
  std::string command;
  std::string argument;  // the lines of a statement, joined by "\n"
};

// The server's general log: a header, then entries "[time]\t<id> <command>\t<argument>",
// an argument's further lines following as they are (CR included).
std::vector<LogEntry> ReadGeneralLog(const fs::path& path) {
  static const std::regex entry(R"(^(?:\d{6} +\d{1,2}:\d\d:\d\d)?\t+ *(\d+) ([A-Za-z ]+)\t([\s\S]*)$)");
  std::vector<LogEntry> entries;
  std::ifstream in(path, std::ios::binary);
  std::smatch match;
  for (std::string line; std::getline(in, line);) {
    if (std::regex_match(line, match, entry)) {
      entries.push_back({std::stoul(match[1]), match[2], match[3]});
    } else if (!entries.empty()) {
      entries.back().argument += "\n" + line;
    }
  }
  return entries;
}

// The server logs a statement without its final ";" and line end, and a script's
// lines as they came (CR LF).
std::string AsLogged(std::string statement) {
  while (!statement.empty() && std::string(";\r\n ").find(statement.back()) != std::string::npos) {
    statement.pop_back();
  }
  return statement;
}

TEST_F(SecurityTest, TheOperatorsTextNeverReachesTheServerAsSql) {
  const fs::path log = server_.LogStatements();
  auto admin = Sql("mysql");

  const std::string port = server_.PortText();
  struct Input {
    std::string host;
    std::string port_text;
  };
  const Input inputs[] = {
      {"127.0.0.1'; DROP DATABASE velkarin; --", port},
      {"127.0.0.1\"; DROP DATABASE velkarin; --", port},
      {"127.0.0.1`; DROP DATABASE velkarin; --", port},
      {"127.0.0.1\r\nDROP DATABASE velkarin", port},
      // Connector/C would take these as connection strings setting an init command.
      {"127.0.0.1;init-command=DROP DATABASE velkarin", port},
      {"host=127.0.0.1;init_command=DROP DATABASE velkarin", port},
      // Text that is not a number means port 3306, where a real server may listen: a
      // host that does not resolve keeps these runs away from it.
      {"no-such-host.invalid", "3306; DROP DATABASE velkarin"},
      {"no-such-host.invalid", port + "; DROP DATABASE velkarin"},
      {"127.0.0.1", port},  // this one reaches the server
  };
  for (const auto& input : inputs) {
    try {
      Run(input.host, input.port_text);
    } catch (const DbError& error) {
      EXPECT_EQ(std::string(error.what()).find(repair::kPassword), std::string::npos)
          << input.host.substr(0, 40) << ": the password shows";
    }
  }

  EXPECT_EQ(admin.Scalar("SELECT COUNT(*) FROM information_schema.SCHEMATA WHERE SCHEMA_NAME = 'velkarin'"),
            "1");
  const std::set<std::string> allowed{
      AsLogged("SET SESSION lock_wait_timeout=" + std::to_string(kTimeouts.lock_wait.count())),
      AsLogged(std::string(repair::kRepairScript))};
  int scripts = 0;
  for (const auto& entry : ReadGeneralLog(log)) {
    if (entry.session == admin.Id()) continue;
    if (entry.command == "Query") {
      EXPECT_TRUE(allowed.count(AsLogged(entry.argument))) << "unexpected statement: " << entry.argument;
      scripts += AsLogged(entry.argument) == AsLogged(std::string(repair::kRepairScript));
    } else {
      EXPECT_TRUE(entry.command == "Connect" || entry.command == "Quit") << entry.command;
    }
    EXPECT_EQ(entry.argument.find("DROP DATABASE"), std::string::npos) << entry.argument;
  }
  EXPECT_EQ(scripts, 1) << "the log did not show the run that reached the server";
}

TEST_F(SecurityTest, TheServersOwnTextReachesTheOperatorByteForByte) {
  const std::string text = "<b>Tom & Jerry's \"unique_no\"</b> 表已锁定 <!-- -->";
  std::string literal;  // as an SQL string: a quote doubled
  for (const char c : text) literal += c == '\'' ? std::string("''") : std::string(1, c);

  const DbError error = Failure([&] {
    Run("127.0.0.1", server_.PortText(), "SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = '" + literal + "';\r\n");
  });
  EXPECT_EQ(error.Number(), 1644u);  // ER_SIGNAL_EXCEPTION
  EXPECT_EQ(error.SqlState(), "45000");
  EXPECT_EQ(error.what(), text);
  ExpectTheNextRunRepairs("a script the server rejected");
}

}  // namespace

// RunRepair against a real MariaDB server of the tests' own.
#include "run_repair.h"

#include <mysql.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "port_text.h"
#include "repair_settings.h"
#include "support/repair_fixture.h"
#include "support/temp_folder.h"

namespace {

namespace fs = std::filesystem;
using repair::DbError;

constexpr unsigned kNoSuchTable = 1146;     // ER_NO_SUCH_TABLE
constexpr unsigned kParseError = 1064;      // ER_PARSE_ERROR
constexpr unsigned kAccessDenied = 1045;    // ER_ACCESS_DENIED_ERROR
constexpr unsigned kUnknownDatabase = 1049; // ER_BAD_DB_ERROR
constexpr unsigned kCannotConnect = 2002;   // CR_CONNECTION_ERROR

using support::ReadFile;
using support::WriteFile;

class RepairTest : public support::RepairFixture {
 protected:
  void ExpectRepairedTable() {
    auto sql = Sql();
    const std::string definition = sql.Query("SHOW CREATE TABLE unique_no").at(0).at(1);
    for (const char* part : {"`id` varchar(32) NOT NULL", "`unique_no` bigint(20) NOT NULL AUTO_INCREMENT",
                             "PRIMARY KEY (`unique_no`)", "ENGINE=InnoDB", "AUTO_INCREMENT=55723",
                             "DEFAULT CHARSET=latin1"}) {
      EXPECT_NE(definition.find(part), std::string::npos) << part << " missing from\n" << definition;
    }
    EXPECT_EQ(sql.Scalar("SELECT COUNT(*) FROM unique_no"), "0");
    sql.Execute("INSERT INTO unique_no (id) VALUES ('first')");
    EXPECT_EQ(sql.Scalar("SELECT unique_no FROM unique_no WHERE id = 'first'"), "55723");
  }
};

TEST_F(RepairTest, CreatesTheTableEmptyWithItsCounterAt55723) {
  Run();
  ExpectRepairedTable();
  EXPECT_TRUE(con_.Connected());
}

TEST_F(RepairTest, BringsBackATableWhoseDefinitionFileIsLost) {
  Run();
  server_.Damage();
  auto sql = Sql();
  EXPECT_EQ(Failure([&] { sql.Execute("SELECT * FROM unique_no"); }).Number(), kNoSuchTable);
  const DbError create = Failure([&] {
    sql.Execute("CREATE TABLE unique_no (`id` varchar(32) NOT NULL, `unique_no` bigint(20) NOT NULL "
                "AUTO_INCREMENT, PRIMARY KEY (`unique_no`)) ENGINE=InnoDB");
  });
  EXPECT_NE(std::string(create.what()).find("exists"), std::string::npos) << create.what();

  Run();
  ExpectRepairedTable();
}

TEST_F(RepairTest, LeavesAnExistingDefinitionFileAsItWasAndStillRunsTheScript) {
  const std::string planted = "a definition the server already has\r\n";
  WriteFile(target_, planted);

  Run("127.0.0.1", server_.PortText(), "CREATE TABLE script_ran (x int);\r\n");

  EXPECT_EQ(ReadFile(target_), planted);
  EXPECT_EQ(Sql().Scalar("SELECT COUNT(*) FROM script_ran"), "0");
}

TEST_F(RepairTest, WithoutASourceCopiesNothingAndTheScriptDecides) {
  fs::remove(server_.DatabaseFolder() / "brda.frm");

  Run("127.0.0.1", server_.PortText(), "CREATE TABLE script_ran (x int);\r\n");
  EXPECT_FALSE(fs::exists(target_));
  EXPECT_EQ(Sql().Scalar("SELECT COUNT(*) FROM script_ran"), "0");

  Run();
  ExpectRepairedTable();
}

TEST_F(RepairTest, ASecondRunReopensTheConnectionAndEmptiesTheTableAgain) {
  Run();
  const unsigned long first_session = mysql_thread_id(con_.Handle());
  Sql().Execute("INSERT INTO unique_no (id) VALUES ('a'), ('b'), ('c')");

  Run();
  EXPECT_NE(mysql_thread_id(con_.Handle()), first_session);
  ExpectRepairedTable();
}

TEST_F(RepairTest, AFailedOpenRaisesTheErrorCopiesNothingAndStaysClosed) {
  struct Case {
    const char* what;
    std::string port_text;
    void (*prepare)(support::SqlSession&);
    unsigned number;
    std::string message;
  };
  const Case cases[] = {
      // The library reports the errno of its non-blocking connect, EINPROGRESS (115).
      {"refused", "1", nullptr, kCannotConnect, "Can't connect to server on '127.0.0.1' (115)"},
      {"wrong password", server_.PortText(),
       [](support::SqlSession& sql) { sql.Execute("ALTER USER root@'127.0.0.1' IDENTIFIED BY 'other'"); },
       kAccessDenied, "Access denied for user 'root'@'127.0.0.1' (using password: YES)"},
      {"unknown database", server_.PortText(),
       [](support::SqlSession& sql) {
         sql.Execute("ALTER USER root@'127.0.0.1' IDENTIFIED BY '9746'");
         sql.Execute("DROP DATABASE velkarin");
       },
       kUnknownDatabase, "Unknown database 'velkarin'"},
  };
  support::SqlSession admin(server_.port(), "mysql");
  for (const auto& c : cases) {
    if (c.prepare) c.prepare(admin);
    const DbError error = Failure([&] { Run("127.0.0.1", c.port_text); });
    EXPECT_EQ(error.Number(), c.number) << c.what;
    EXPECT_EQ(error.what(), c.message) << c.what;
    EXPECT_FALSE(con_.Connected()) << c.what;
    EXPECT_FALSE(fs::exists(target_)) << c.what;
  }
}

TEST_F(RepairTest, ARejectedStatementIsRaisedAndLeavesTheConnectionOpenAndUsable) {
  const DbError error = Failure([&] {
    Run("127.0.0.1", server_.PortText(),
        "CREATE TABLE first_ran (x int);\r\nCRATE TABLE `broken` (x int);\r\n"
        "CREATE TABLE third_ran (x int);\r\n");
  });
  EXPECT_EQ(error.Number(), kParseError);
  EXPECT_EQ(error.SqlState(), "42000");
  EXPECT_NE(std::string(error.what()).find("near 'CRATE TABLE `broken`"), std::string::npos) << error.what();

  EXPECT_TRUE(con_.Connected());
  EXPECT_TRUE(fs::exists(target_));
  auto sql = Sql();
  EXPECT_EQ(sql.Scalar("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_NAME = 'first_ran'"), "1");
  EXPECT_EQ(sql.Scalar("SELECT COUNT(*) FROM information_schema.TABLES WHERE TABLE_NAME = 'third_ran'"), "0");

  // Still in step with the server: no "commands out of sync".
  qry1_.SQL = "SELECT 1";
  EXPECT_NO_THROW(qry1_.Execute());
}

TEST_F(RepairTest, LocalhostReachesThePortOverTcp) {
  Run("localhost", server_.PortText());
  EXPECT_STREQ(mysql_get_host_info(con_.Handle()), "localhost via TCP/IP");
  ExpectRepairedTable();
}

TEST_F(RepairTest, TakesNoConfigurationFromTheEnvironmentOrOptionFiles) {
  support::TempFolder home;
  std::ofstream(home.path() / ".my.cnf")
      << "[client]\nport=1\npassword=wrong\nprotocol=socket\nuser=nobody\n";
  const std::pair<const char*, std::string> variables[] = {
      {"HOME", home.path().string()}, {"MYSQL_PWD", "wrong"}, {"MYSQL_TCP_PORT", "1"},
      {"MYSQL_UNIX_PORT", "/nonexistent.sock"}, {"MYSQL_HOST", "no-such-host.invalid"},
      {"USER", "nobody"}};
  std::vector<std::pair<const char*, std::optional<std::string>>> saved;
  for (const auto& [name, value] : variables) {
    const char* old = std::getenv(name);
    saved.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    setenv(name, value.c_str(), 1);
  }

  Run("localhost", server_.PortText());
  for (const auto& [name, value] : saved) value ? setenv(name, value->c_str(), 1) : unsetenv(name);
  ExpectRepairedTable();
}

TEST_F(RepairTest, TheHostReachesTheConnectionAsTyped) {
  const DbError error = Failure([&] { Run(" 127.0.0.1", server_.PortText()); });
  EXPECT_EQ(con_.Server, " 127.0.0.1");
  EXPECT_NE(std::string(error.what()).find("' 127.0.0.1'"), std::string::npos) << error.what();
  EXPECT_FALSE(fs::exists(target_));
}

TEST_F(RepairTest, PortsOutsideTheTcpRangeAreRefusedBeforeAnyTraffic) {
  for (const char* port_text : {"-1", "0", "70000", "$FFFFFFFF"}) {
    const DbError error = Failure([&] { Run("127.0.0.1", port_text); });
    EXPECT_EQ(error.what(), "Port " + std::to_string(repair::ReadPort(port_text)) +
                                " is outside the range 1 to 65535")
        << port_text;
    EXPECT_FALSE(con_.Connected()) << port_text;
    EXPECT_FALSE(fs::exists(target_)) << port_text;
  }
}

}  // namespace

// Faults a repair meets in the field, against a real server of the tests' own: what
// the operator is told, what lands below the program's folder, and that the next run,
// on the same connection objects, repairs the table.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>

#include "support/listener.h"
#include "support/process.h"
#include "support/repair_fixture.h"
#include "support/temp_folder.h"
#include "support/wait_until.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using repair::DbError;
using support::ReadFile;

constexpr unsigned kLostConnection = 2013;  // CR_SERVER_LOST
constexpr const char* kLostDuringQuery = "Lost connection to server during query";

class FaultTest : public support::RepairFixture {
 protected:
  std::string brda_ = ReadFile(server_.DatabaseFolder() / "brda.frm");

  // Waits until no session but the asking one is left on the server, so that one
  // cut off by a fault has finished whatever it still does.
  void WaitForOtherSessionsToEnd() {
    auto sql = Sql();
    const std::string others = "SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE USER = 'root' "
                               "AND ID <> CONNECTION_ID()";
    EXPECT_TRUE(support::WaitUntil([&] { return sql.Scalar(others) == "0"; }))
        << "a session cut off by the fault is still on the server";
  }
};

TEST_F(FaultTest, AnOpenThatFailsIsReportedCopiesNothingAndTheNextRunRepairs) {
  const support::SilentListener silent;
  const std::string password(repair::kPassword);
  struct Case {
    const char* what;
    std::string host;
    std::string port_text;
    std::string prepare;  // run by an administrator before the run
    std::string undo;     // and after it
    unsigned number;
    std::string sql_state;
    std::string message;
    bool waits_for_the_connect_bound = false;
  };
  const Case cases[] = {
      // The library reports the errno of its non-blocking connect, EINPROGRESS (115).
      {"no listener", "127.0.0.1", std::to_string(support::UnusedPort()), "", "", 2002, "HY000",
       "Can't connect to server on '127.0.0.1' (115)"},
      // The wait for the greeting falls under the connect bound (errno ETIMEDOUT, 110).
      {"a listener that never greets", "127.0.0.1", std::to_string(silent.port()), "", "", 2013, "HY000",
       "Lost connection to server at 'handshake: reading initial communication packet', system error: 110",
       true},
      {"a host that does not resolve", "no-such-host.invalid", server_.PortText(), "", "", 2005, "HY000",
       "Unknown server host 'no-such-host.invalid' (-2)"},
      // The library quotes at most 100 bytes of the host.
      {"a host of 10,000 characters", std::string(10'000, 'h'), server_.PortText(), "", "", 2005, "HY000",
       "Unknown server host '" + std::string(100, 'h') + "' (-2)"},
      {"a host in Chinese", "数据库服务器", server_.PortText(), "", "", 2005, "HY000",
       "Unknown server host '数据库服务器' (-2)"},
      // Connector/C would read these as options and as a list of hosts with ports.
      {"a host text with options", "127.0.0.1;init-command=DO 1", server_.PortText(), "", "", 0, "HY000",
       "The host name contains \";\", which no host name has"},
      {"a host text with a list", "no-such-host.invalid,127.0.0.1:" + server_.PortText(), "1", "", "", 0,
       "HY000", "The host name contains \",\", which no host name has"},
      {"a wrong password", "127.0.0.1", server_.PortText(),
       "ALTER USER root@'127.0.0.1' IDENTIFIED BY 'another'",
       "ALTER USER root@'127.0.0.1' IDENTIFIED BY '" + password + "'", 1045, "28000",
       "Access denied for user 'root'@'127.0.0.1' (using password: YES)"},
      {"an unknown database", "127.0.0.1", server_.PortText(), "DROP DATABASE velkarin",
       "CREATE DATABASE velkarin", 1049, "42000", "Unknown database 'velkarin'"},
  };
  auto admin = Sql("mysql");
  for (const auto& c : cases) {
    if (!c.prepare.empty()) admin.Execute(c.prepare);
    const auto start = Clock::now();
    const DbError error = Failure([&] { Run(c.host, c.port_text); });
    const auto elapsed = Clock::now() - start;

    EXPECT_EQ(error.Number(), c.number) << c.what;
    EXPECT_EQ(error.SqlState(), c.sql_state) << c.what;
    EXPECT_EQ(error.what(), c.message) << c.what;
    if (c.waits_for_the_connect_bound) {
      EXPECT_LT(elapsed, kTimeouts.connect + 2s) << c.what;
    }
    EXPECT_FALSE(con_.Connected()) << c.what;
    EXPECT_FALSE(fs::exists(fs::symlink_status(target_))) << c.what;

    if (!c.undo.empty()) admin.Execute(c.undo);
    ExpectTheNextRunRepairs(c.what);
    // The next case starts where an operator would: without the table's file.
    admin.Execute("DROP TABLE IF EXISTS velkarin.unique_no");
  }
}

TEST_F(FaultTest, AServerKilledAfterTheConnectEndsTheScriptAndTheTableSurvivesTheCrash) {
  Run();
  Sql().Execute("INSERT INTO unique_no (id) VALUES ('a'), ('b')");
  server_.Kill();

  qry1_.SQL = std::string(repair::kRepairScript);
  const DbError error = Failure([&] { qry1_.Execute(); });
  EXPECT_EQ(error.Number(), kLostConnection);
  EXPECT_EQ(error.what(), std::string(kLostDuringQuery));

  server_.Restart();
  EXPECT_EQ(Sql().Scalar("SELECT COUNT(*) FROM unique_no"), "2") << "the script must not have run";
  EXPECT_NE(ReadFile(target_), brda_) << "the table's own definition must not be replaced";
  ExpectTheNextRunRepairs("the restart");
}

TEST_F(FaultTest, AConnectionLeftFromBeforeARestartIsReplacedByTheNextRun) {
  Run();
  server_.Restart();
  ExpectTheNextRunRepairs("a restart between two runs");
  EXPECT_TRUE(con_.Connected());
}

TEST_F(FaultTest, AServerThatStopsAnsweringMidScriptEndsTheRunWithinTheReadBound) {
  Run();  // the table's file exists, so this run copies nothing
  const std::string sleeping_script = "DO SLEEP(2);\r\n" + std::string(repair::kRepairScript);
  std::optional<DbError> error;
  Clock::duration elapsed{};
  std::atomic<bool> ended = false;
  {
    std::jthread run([&] {
      const auto start = Clock::now();
      try {
        Run("127.0.0.1", server_.PortText(), sleeping_script);
      } catch (const DbError& e) {
        error = e;
      }
      elapsed = Clock::now() - start;
      ended = true;
    });
    auto sql = Sql();
    ASSERT_TRUE(support::WaitUntil([&] {
      return sql.Scalar("SELECT COUNT(*) FROM information_schema.PROCESSLIST WHERE INFO LIKE 'DO SLEEP(2)%'") == "1";
    })) << "the script never started";
    server_.Pause();
    EXPECT_TRUE(support::WaitUntil([&] { return ended.load(); }, 4 * kTimeouts.read_write))
        << "the run did not end while the server did not answer";
    server_.Resume();  // lets the run end, had it not
  }

  ASSERT_TRUE(error) << "the run succeeded although the server stopped answering";
  EXPECT_EQ(error->Number(), kLostConnection);
  EXPECT_EQ(error->what(), std::string(kLostDuringQuery));
  EXPECT_EQ(std::string(error->what()).find(repair::kPassword), std::string::npos)
      << "the password shows in the message";
  // One read bound, not several: the library does not retry the read.
  EXPECT_LT(elapsed, 2 * kTimeouts.read_write);
  EXPECT_NE(ReadFile(target_), brda_);

  WaitForOtherSessionsToEnd();
  ExpectTheNextRunRepairs("the server answered again");
}

TEST_F(FaultTest, ATableInUseByAnotherSessionEndsTheRunAfterTheLockWaitAndStaysUntouched) {
  Run();
  auto other = Sql();
  other.Execute("INSERT INTO unique_no (id) VALUES ('a'), ('b'), ('c')");
  other.Execute("START TRANSACTION");
  other.Execute("SELECT * FROM unique_no");

  const DbError error = Failure([&] { Run(); });
  EXPECT_EQ(error.Number(), 1205u);  // ER_LOCK_WAIT_TIMEOUT
  EXPECT_EQ(error.SqlState(), "HY000");
  EXPECT_EQ(error.what(), std::string("Lock wait timeout exceeded; try restarting transaction "
                                      "(the table is in use by another session)"));
  EXPECT_TRUE(con_.Connected());
  EXPECT_NE(ReadFile(target_), brda_) << "the table's own definition must not be replaced";

  other.Execute("COMMIT");
  EXPECT_EQ(Sql().Scalar("SELECT COUNT(*) FROM unique_no"), "3");
  ExpectTheNextRunRepairs("the other session let go");
}

// The copy happens, or quietly does not, between the connect and the script. Another
// session's global read lock holds the script's DROP, so the folder can be looked at
// in between; the command-line program does the copying, as the unprivileged user
// when the tests run as root (to whom permissions do not apply).
TEST_F(FaultTest, ACopyThatCannotBeMadeIsQuietAndTheScriptDecides) {
  const fs::path database = server_.DatabaseFolder();
  const fs::path source = database / "brda.frm";
  support::TempFolder elsewhere;
  const fs::path victim = elsewhere.path() / "victim.frm";
  support::WriteFile(victim, "not to be touched");

  using fs::perms;
  const std::string beside_server = server_.ProgramPath("unique-no-repair");
  const std::string beside_nothing = (elsewhere.path() / "unique-no-repair").string();
  for (const auto& program : {beside_server, beside_nothing}) {
    fs::copy_file(UNR_CLI_PATH, program);
    fs::permissions(program, perms::others_read | perms::others_exec, fs::perm_options::add);
  }
  for (const fs::path& folder : {server_.folder(), server_.folder() / "ValtuMySQL",
                                 server_.folder() / "ValtuMySQL" / "data", elsewhere.path()}) {
    fs::permissions(folder, perms::others_exec, fs::perm_options::add);
  }
  const perms folder_mode = fs::status(database).permissions();
  const perms source_mode = fs::status(source).permissions();
  // What the copying user may do, written as owner bits.
  const auto for_copier = [](perms allowed, perms owner_keeps) {
    if (!support::RunningAsRoot()) return allowed;
    return owner_keeps | static_cast<perms>(static_cast<unsigned>(allowed) >> 6);
  };
  const perms rwx = perms::owner_all, rx = perms::owner_read | perms::owner_exec, r = perms::owner_read;

  enum class Left { ACopy, Nothing, TheLink };
  struct Case {
    const char* what;
    perms folder;  // for the copying user
    perms source;
    bool plant_link;
    const std::string& program;
    Left left;
  };
  const Case cases[] = {
      {"a copy that can be made", rwx, r, false, beside_server, Left::ACopy},
      {"a data folder it may not write", rx, r, false, beside_server, Left::Nothing},
      {"a brda.frm it may not read", rwx, perms::none, false, beside_server, Left::Nothing},
      {"no ValtuMySQL folder beside the program", rwx, r, false, beside_nothing, Left::Nothing},
      {"a link planted at unique_no.frm", rwx, r, true, beside_server, Left::TheLink},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Sql().Execute("DROP TABLE IF EXISTS unique_no");
    if (c.plant_link) fs::create_symlink(victim, target_);
    fs::permissions(database, for_copier(c.folder, perms::owner_all));
    fs::permissions(source, for_copier(c.source, perms::owner_read | perms::owner_write));

    auto lock = Sql("mysql");
    lock.Execute("FLUSH TABLES WITH READ LOCK");
    support::ChildProcess cli(support::AsUnprivilegedUser({c.program, "--port", server_.PortText()}));
    auto sql = Sql();
    const bool held = support::WaitUntil([&] {
      return !cli.Running() ||
             sql.Scalar("SELECT COUNT(*) FROM information_schema.PROCESSLIST "
                        "WHERE STATE LIKE 'Waiting for%lock' AND INFO LIKE 'DROP TABLE IF EXISTS%'") == "1";
    });
    EXPECT_TRUE(held && cli.Running()) << "the script did not wait for the lock";

    switch (c.left) {
      case Left::ACopy:
        EXPECT_EQ(ReadFile(target_), ReadFile(source));
        break;
      case Left::Nothing:
        EXPECT_FALSE(fs::exists(fs::symlink_status(target_)));
        break;
      case Left::TheLink:
        EXPECT_TRUE(fs::is_symlink(target_));
        break;
    }
    EXPECT_FALSE(fs::exists(elsewhere.path() / "ValtuMySQL"));
    EXPECT_EQ(ReadFile(victim), "not to be touched");

    // The server needs its own access back, when it is the same user.
    fs::permissions(database, folder_mode);
    fs::permissions(source, source_mode);
    lock.Execute("UNLOCK TABLES");
    const auto result = cli.Wait(30s);
    EXPECT_EQ(result.exit_code, 0) << result.err;
    EXPECT_EQ(result.out, "修复完成！\n");
    EXPECT_EQ(result.err, "");
    EXPECT_EQ(sql.UniqueNoCounter(), "55723");
    EXPECT_EQ(ReadFile(victim), "not to be touched");

    ExpectTheNextRunRepairs(c.what);
  }
}

}  // namespace

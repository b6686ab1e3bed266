#pragma once

// What tests that run repairs in their own process share: a server of their own, the
// window's pair of connection objects (with short bounds) and the checks on the table.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "repair_settings.h"
#include "run_repair.h"
#include "support/files.h"
#include "support/sql_session.h"
#include "support/throwaway_server.h"

namespace support {

class RepairFixture : public ::testing::Test {
 protected:
  // A case that runs into one of these ends in seconds.
  static constexpr repair::Timeouts kTimeouts{std::chrono::seconds(2), std::chrono::seconds(1),
                                              std::chrono::seconds(4)};

  ThrowawayServer server_;
  repair::TMyConnection con_{kTimeouts};
  repair::TMyQuery qry1_{&con_, {}};
  std::filesystem::path target_ = server_.DatabaseFolder() / "unique_no.frm";

  void Run(const std::string& host, const std::string& port_text,
           const std::string& script = std::string(repair::kRepairScript)) {
    repair::RunRepair(host, port_text, script, server_.ProgramPath(), con_, qry1_);
  }
  void Run() { Run("127.0.0.1", server_.PortText()); }

  SqlSession Sql(const std::string& database = "velkarin") { return SqlSession(server_.port(), database); }

  // Runs `action`, which must throw DbError, and returns that error. No message may
  // show the password.
  template <typename Action>
  repair::DbError Failure(Action action) {
    try {
      action();
    } catch (const repair::DbError& error) {
      EXPECT_EQ(std::string(error.what()).find(repair::kPassword), std::string::npos)
          << "the password shows in the message";
      return error;
    }
    ADD_FAILURE() << "no DbError was raised";
    return repair::DbError(0, "", "");
  }

  // The run an operator makes next, with the usual host and port, repairs the table.
  void ExpectTheNextRunRepairs(const std::string& after) {
    try {
      Run();
    } catch (const repair::DbError& error) {
      ADD_FAILURE() << "the run after " << after << " failed: " << error.what();
      return;
    }
    auto sql = Sql();
    EXPECT_EQ(sql.UniqueNoCounter(), "55723") << "after " << after;
    EXPECT_EQ(sql.Scalar("SELECT COUNT(*) FROM unique_no"), "0") << "after " << after;
  }
};

}  // namespace support

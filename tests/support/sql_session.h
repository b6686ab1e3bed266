#pragma once

#include <string>
#include <vector>

#include "my_connection.h"

namespace support {

// Bounds short enough that a test waiting on a server that hangs fails in seconds.
inline constexpr repair::Timeouts kTestTimeouts{std::chrono::seconds(5), std::chrono::seconds(5),
                                                std::chrono::seconds(30)};

// The tests' own look at a server: a connection as root over TCP that runs one
// statement at a time and returns what it reads. Throws repair::DbError.
class SqlSession {
 public:
  explicit SqlSession(int port, const std::string& database = "velkarin",
                      repair::Timeouts timeouts = kTestTimeouts);

  using Rows = std::vector<std::vector<std::string>>;  // NULL reads as "NULL"
  Rows Query(const std::string& sql);
  // The first column of the first row; throws when there is none.
  std::string Scalar(const std::string& sql);
  void Execute(const std::string& sql) { Query(sql); }
  // This session's id on the server, as information_schema.PROCESSLIST shows it.
  unsigned long Id() const;
  // The number the next row of velkarin.unique_no gets.
  std::string UniqueNoCounter();

 private:
  repair::TMyConnection con_;
};

}  // namespace support

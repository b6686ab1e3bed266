#pragma once

#include <stdexcept>
#include <string>

typedef struct st_mysql MYSQL;

namespace repair {

// The one error the access layer raises. It keeps the number, the SQLSTATE and the
// message exactly as the client library or the server gave them; what() is that
// message, with a note appended after a lock wait timeout, whose own words do not
// say why. The server's text is untrusted: show it as plain text only.
class DbError : public std::runtime_error {
 public:
  // Number of the errors this layer raises itself, before any network traffic.
  static constexpr unsigned kLayerError = 0;

  DbError(unsigned number, std::string sql_state, const std::string& message);

  // Reads the error of the last failed call on `handle`. Every error the client
  // library or the server reports becomes a DbError here.
  static DbError FromHandle(MYSQL* handle);

  unsigned Number() const noexcept { return number_; }
  const std::string& SqlState() const noexcept { return sql_state_; }

 private:
  unsigned number_;
  std::string sql_state_;
};

}  // namespace repair

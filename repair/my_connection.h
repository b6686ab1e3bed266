#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "db_error.h"

namespace repair {

// Bounds on every wait of a connection, so that no run can hang. Connector/C 3.3
// applies each to a single wait for the network, once: unlike libmysqlclient it does
// not retry a timed-out read, so a stalled run ends after about that long. Not
// covered: the host name lookup, which the system's resolver bounds.
struct Timeouts {
  // Opening: the TCP connect, then each wait for an answer until the connection is
  // open (the server's greeting, the login, the session settings). Connector/C uses
  // this bound, not read_write, for all of them.
  std::chrono::seconds connect{15};
  // The server's wait for a table lock that another session holds; its own default
  // is a whole day, which would freeze the operator's window.
  std::chrono::seconds lock_wait{15};
  // Each wait for the server to take or send data once the connection is open: a
  // server that stops answering ends the run (error 2013). Two minutes leave room for
  // an honest DROP of a large table on a busy disk while an operator waiting at the
  // window still gets an answer.
  std::chrono::seconds read_write{120};
};

// A MySQL/MariaDB connection over TCP, opened and closed through Connected. The
// settings are plain values, read when the connection opens.
//
// Opening always uses TCP to Server:Port (never a local socket, even for
// "localhost"), reads no option file and no environment variable, and enables
// several statements and several results per request.
class TMyConnection {
 public:
  explicit TMyConnection(Timeouts timeouts = {});
  ~TMyConnection();
  TMyConnection(TMyConnection&&) noexcept;
  TMyConnection& operator=(TMyConnection&&) noexcept;
  TMyConnection(const TMyConnection&) = delete;
  TMyConnection& operator=(const TMyConnection&) = delete;

  std::string Database;
  std::string Server;
  int Port = 3306;
  std::string Username;
  std::string Password;

  bool Connected() const noexcept;

  // false: closes the connection if it is open; never throws.
  // true: opens it if it is closed. Throws DbError when the port lies outside 1 to
  // 65535 or the host text is not a plain host name (";", "=", ",", "://": the
  // library would read it as options, a host list or a plugin address), both before
  // any traffic, or when the connect, the login or the choice of the database fails;
  // the connection then stays closed.
  void SetConnected(bool connected);

  // The open handle, for the statement runner; null while closed.
  MYSQL* Handle() const noexcept;

 private:
  struct HandleCloser {
    void operator()(MYSQL* handle) const noexcept;
  };
  void Open();

  Timeouts timeouts_;
  std::unique_ptr<MYSQL, HandleCloser> handle_;
};

// Runs its SQL text on its connection.
class TMyQuery {
 public:
  TMyConnection* Connection = nullptr;
  std::string SQL;

  // Sends SQL as one request and reads every result, so the connection stays in
  // step. Throws DbError for the first statement the server rejects (the later ones
  // are not run), for a lost connection, or when Connection is not open.
  void Execute();
};

}  // namespace repair

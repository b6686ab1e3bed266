#include "my_connection.h"

#include <errmsg.h>
#include <mysql.h>

#include <utility>

namespace repair {
namespace {

void InitLibraryOnce() {
  // mysql_init would do this too, but not safely when two threads get there first.
  static const bool initialised = [] { return mysql_library_init(0, nullptr, nullptr) == 0; }();
  if (!initialised) {
    throw DbError(DbError::kLayerError, "HY000", "The MariaDB client library could not start");
  }
}

unsigned Seconds(std::chrono::seconds value) { return static_cast<unsigned>(value.count()); }

template <typename Value>
void SetOption(MYSQL* handle, mysql_option option, const Value* value) {
  if (mysql_optionsv(handle, option, value) != 0) {
    throw DbError(DbError::kLayerError, "HY000", "The MariaDB client library refused a connection option");
  }
}

}  // namespace

void TMyConnection::HandleCloser::operator()(MYSQL* handle) const noexcept { mysql_close(handle); }

TMyConnection::TMyConnection(Timeouts timeouts) : timeouts_(timeouts) {}
TMyConnection::~TMyConnection() = default;
TMyConnection::TMyConnection(TMyConnection&&) noexcept = default;
TMyConnection& TMyConnection::operator=(TMyConnection&&) noexcept = default;

bool TMyConnection::Connected() const noexcept { return handle_ != nullptr; }

MYSQL* TMyConnection::Handle() const noexcept { return handle_.get(); }

void TMyConnection::SetConnected(bool connected) {
  if (!connected) {
    handle_.reset();
  } else if (!handle_) {
    Open();
  }
}

void TMyConnection::Open() {
  // Port 0 would let the library take MYSQL_TCP_PORT from the environment.
  if (Port < 1 || Port > 65535) {
    throw DbError(DbError::kLayerError, "HY000",
                  "Port " + std::to_string(Port) + " is outside the range 1 to 65535");
  }
  if (Server.find('\0') != std::string::npos) {
    throw DbError(DbError::kLayerError, "HY000", "The host name contains a NUL character");
  }
  // Connector/C 3.3 reads more than a host name into its host argument: with "=" or
  // ";" it is a connection string that may set any option (an init command, that is
  // SQL, among them), with "," a list of hosts each with a port of its own, with
  // "://" the address of a connection plugin it loads. No host name has any of them.
  for (const char* reserved : {";", "=", ",", "://"}) {
    if (Server.find(reserved) != std::string::npos) {
      throw DbError(DbError::kLayerError, "HY000",
                    std::string("The host name contains \"") + reserved + "\", which no host name has");
    }
  }

  InitLibraryOnce();
  // Owned before anything can fail, so every exit frees it.
  std::unique_ptr<MYSQL, HandleCloser> handle(mysql_init(nullptr));
  if (!handle) throw DbError(CR_OUT_OF_MEMORY, "HY000", "Out of memory");
  MYSQL* h = handle.get();

  // Connector/C reads an option file only when asked to, so none is named here.
  const unsigned protocol = MYSQL_PROTOCOL_TCP;
  const unsigned connect_timeout = Seconds(timeouts_.connect);
  const unsigned read_write_timeout = Seconds(timeouts_.read_write);
  const unsigned no_local_files = 0;  // a hostile server could otherwise ask for any file
  const std::string lock_wait =
      "SET SESSION lock_wait_timeout=" + std::to_string(timeouts_.lock_wait.count());
  SetOption(h, MYSQL_OPT_PROTOCOL, &protocol);
  SetOption(h, MYSQL_OPT_CONNECT_TIMEOUT, &connect_timeout);
  SetOption(h, MYSQL_OPT_READ_TIMEOUT, &read_write_timeout);
  SetOption(h, MYSQL_OPT_WRITE_TIMEOUT, &read_write_timeout);
  SetOption(h, MYSQL_OPT_LOCAL_INFILE, &no_local_files);
  SetOption(h, MYSQL_SET_CHARSET_NAME, "utf8mb4");
  SetOption(h, MYSQL_INIT_COMMAND, lock_wait.c_str());

  // The password is always passed (never null), so MYSQL_PWD is never consulted.
  if (!mysql_real_connect(h, Server.c_str(), Username.c_str(), Password.c_str(), Database.c_str(),
                          static_cast<unsigned>(Port), nullptr,
                          CLIENT_MULTI_STATEMENTS | CLIENT_MULTI_RESULTS)) {
    throw DbError::FromHandle(h);
  }
  handle_ = std::move(handle);
}

void TMyQuery::Execute() {
  MYSQL* h = Connection ? Connection->Handle() : nullptr;
  if (!h) throw DbError(CR_SERVER_GONE_ERROR, "HY000", "The connection is not open");

  if (mysql_real_query(h, SQL.data(), static_cast<unsigned long>(SQL.size())) != 0) throw DbError::FromHandle(h);
  for (;;) {
    if (MYSQL_RES* result = mysql_store_result(h)) {
      mysql_free_result(result);
    } else if (mysql_field_count(h) != 0) {
      throw DbError::FromHandle(h);
    }
    const int next = mysql_next_result(h);
    if (next > 0) throw DbError::FromHandle(h);
    if (next < 0) return;
  }
}

}  // namespace repair

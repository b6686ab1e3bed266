#include "db_error.h"

#include <mysql.h>
#include <mysqld_error.h>

namespace repair {

DbError::DbError(unsigned number, std::string sql_state, const std::string& message)
    : std::runtime_error(message), number_(number), sql_state_(std::move(sql_state)) {}

DbError DbError::FromHandle(MYSQL* handle) {
  const unsigned number = mysql_errno(handle);
  std::string message = mysql_error(handle);
  // "Try restarting transaction" means nothing to an operator who started none; what
  // a repair waits for is another session's lock on the table (or the whole server).
  if (number == ER_LOCK_WAIT_TIMEOUT) message += " (the table is in use by another session)";
  return DbError(number, mysql_sqlstate(handle), message);
}

}  // namespace repair

#include "db_error.h"

#include <mysql.h>

namespace repair {

DbError::DbError(unsigned number, std::string sql_state, const std::string& message)
    : std::runtime_error(message), number_(number), sql_state_(std::move(sql_state)) {}

DbError DbError::FromHandle(MYSQL* handle) {
  return DbError(mysql_errno(handle), mysql_sqlstate(handle), mysql_error(handle));
}

}  // namespace repair

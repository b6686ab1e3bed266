#include "sql_session.h"

#include <mysql.h>

#include "repair_settings.h"

namespace support {

SqlSession::SqlSession(int port, const std::string& database, repair::Timeouts timeouts)
    : con_(timeouts) {
  con_.Server = "127.0.0.1";
  con_.Port = port;
  con_.Database = database;
  con_.Username = repair::kUsername;
  con_.Password = repair::kPassword;
  con_.SetConnected(true);
}

SqlSession::Rows SqlSession::Query(const std::string& sql) {
  MYSQL* h = con_.Handle();
  if (mysql_real_query(h, sql.data(), sql.size()) != 0) throw repair::DbError::FromHandle(h);
  Rows rows;
  MYSQL_RES* result = mysql_store_result(h);
  if (!result) {
    if (mysql_field_count(h) != 0) throw repair::DbError::FromHandle(h);
    return rows;
  }
  const unsigned columns = mysql_num_fields(result);
  while (MYSQL_ROW row = mysql_fetch_row(result)) {
    const unsigned long* lengths = mysql_fetch_lengths(result);
    auto& values = rows.emplace_back();
    for (unsigned i = 0; i < columns; ++i) {
      values.emplace_back(row[i] ? std::string(row[i], lengths[i]) : std::string("NULL"));
    }
  }
  mysql_free_result(result);
  return rows;
}

unsigned long SqlSession::Id() const { return mysql_thread_id(con_.Handle()); }

std::string SqlSession::Scalar(const std::string& sql) {
  const Rows rows = Query(sql);
  if (rows.empty() || rows.front().empty()) {
    throw std::runtime_error("no value from: " + sql);
  }
  return rows.front().front();
}

std::string SqlSession::UniqueNoCounter() {
  return Scalar("SELECT AUTO_INCREMENT FROM information_schema.TABLES "
                "WHERE TABLE_SCHEMA = 'velkarin' AND TABLE_NAME = 'unique_no'");
}

}  // namespace support

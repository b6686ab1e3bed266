#pragma once

#include <string>

#include "my_connection.h"

namespace repair {

// Re-creates the table unique_no of the application's database, in this order:
// closes `con`, gives it the fixed database and account with `host` (as typed) and
// the port read from `port_text`, opens it, copies brda.frm to unique_no.frm in the
// database folder below the program's folder unless that file exists (the outcome of
// the copy is not examined), then runs `script` through `qry1`.
//
// Throws DbError, unchanged, when the connection cannot be opened (nothing is copied
// and `con` stays closed) or when the server rejects the script (`con` stays open, a
// copied file stays). On success `con` is left open.
void RunRepair(const std::string& host, const std::string& port_text, const std::string& script,
               const std::string& executable_path, TMyConnection& con, TMyQuery& qry1);

}  // namespace repair

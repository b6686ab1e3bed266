#include "run_repair.h"

#include "paths.h"
#include "platform.h"
#include "port_text.h"
#include "repair_settings.h"

namespace repair {

void RunRepair(const std::string& host, const std::string& port_text, const std::string& script,
               const std::string& executable_path, TMyConnection& con, TMyQuery& qry1) {
  con.SetConnected(false);
  con.Database = kDatabase;
  con.Server = host;
  con.Port = ReadPort(port_text);
  con.Username = kUsername;
  con.Password = kPassword;
  con.SetConnected(true);

  // The server drops a table only when it finds its definition file; a copy of a
  // sibling's definition lets DROP reach a table whose own file was lost.
  const std::string folder = DatabaseFolder(executable_path);
  platform::CopyFileFailIfExists(folder + std::string(kSourceDefinitionFile),
                                 folder + std::string(kTargetDefinitionFile));

  qry1.SQL = script;
  qry1.Execute();
}

}  // namespace repair

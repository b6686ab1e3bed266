#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace support {

// A MariaDB server of the tests' own, started by scripts/throwaway-server.sh in a new
// temporary folder laid out as <folder>/ValtuMySQL/data, listening on a free
// loopback port, with root's password and the database velkarin (holding brda) as the
// application installs them. Stopped, and its folder removed, when this object ends.
// Throws with the script's own words (what to install, say) when it cannot start.
class ThrowawayServer {
 public:
  ThrowawayServer();
  ~ThrowawayServer();
  ThrowawayServer(const ThrowawayServer&) = delete;
  ThrowawayServer& operator=(const ThrowawayServer&) = delete;

  // The folder a program must lie in to find this server's ValtuMySQL folder.
  const std::filesystem::path& folder() const { return folder_.path(); }
  std::filesystem::path DatabaseFolder() const;
  int port() const { return port_; }
  std::string PortText() const { return std::to_string(port_); }

  // Brings velkarin.unique_no into the state this tool exists for: its definition
  // file is gone while InnoDB still holds the table.
  void Damage() const;

  // Faults of the server process. Kill ends it as a crash would (SIGKILL); Restart
  // stops it if it runs and starts it again on the same port and data; Pause stops
  // it answering (SIGSTOP) with its connections left open, until Resume. Each
  // returns once the server is in its new state.
  void Kill() const;
  void Restart() const;
  void Pause() const;
  void Resume() const;

  // Has the server log every statement it receives from now on, as they came, to
  // the file returned.
  std::filesystem::path LogStatements() const;

  // A program path inside folder(), as the repair expects its executable path.
  std::string ProgramPath(const std::string& name = "Project1") const;

 private:
  TempFolder folder_;
  int port_ = 0;
};

// Runs the server script with `arguments`; throws with its stderr when it fails.
std::string RunServerScript(const std::vector<std::string>& arguments);

}  // namespace support

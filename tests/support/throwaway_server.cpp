#include "throwaway_server.h"

#include <fstream>
#include <stdexcept>

#include "process.h"
#include "sql_session.h"

namespace support {

std::string RunServerScript(const std::vector<std::string>& arguments) {
  std::vector<std::string> argv{"bash", UNR_SERVER_SCRIPT};
  argv.insert(argv.end(), arguments.begin(), arguments.end());
  const auto result = RunProcess(argv);
  if (result.exit_code != 0) {
    throw std::runtime_error("the throwaway MariaDB server script failed: " + result.err);
  }
  return result.out;
}

ThrowawayServer::ThrowawayServer() {
  RunServerScript({"start", folder().string()});
  std::ifstream(folder() / ".server" / "port") >> port_;
  if (port_ <= 0) throw std::runtime_error("the throwaway MariaDB server left no port file");
}

ThrowawayServer::~ThrowawayServer() {
  try {
    RunServerScript({"stop", folder().string()});
  } catch (...) {  // the folder goes anyway
  }
}

void ThrowawayServer::Damage() const { RunServerScript({"damage", folder().string()}); }
void ThrowawayServer::Kill() const { RunServerScript({"kill", folder().string()}); }
void ThrowawayServer::Restart() const { RunServerScript({"restart", folder().string()}); }
void ThrowawayServer::Pause() const { RunServerScript({"pause", folder().string()}); }
void ThrowawayServer::Resume() const { RunServerScript({"resume", folder().string()}); }

std::filesystem::path ThrowawayServer::LogStatements() const {
  const auto log = folder() / ".server" / "general.log";
  SqlSession(port_, "mysql")
      .Execute("SET GLOBAL general_log_file = '" + log.string() +
               "', GLOBAL log_output = 'FILE', GLOBAL general_log = 1");
  return log;
}

std::filesystem::path ThrowawayServer::DatabaseFolder() const {
  return folder() / "ValtuMySQL" / "data" / "velkarin";
}

std::string ThrowawayServer::ProgramPath(const std::string& name) const {
  return (folder() / name).string();
}

}  // namespace support

#pragma once

#include <sys/types.h>

#include <chrono>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace support {

struct ProcessResult {
  int exit_code = -1;  // -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// A process running beside the test, for cases that act while it runs. Started with
// `input` on stdin, argv[0] found on PATH; killed when this object ends before it
// did. POSIX-only, like the server script the tests drive.
class ChildProcess {
 public:
  explicit ChildProcess(const std::vector<std::string>& argv, const std::string& input = {});
  ~ChildProcess();
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  // Whether it is still running; does not wait.
  bool Running();
  // Waits for it at most `limit`; past that it is killed and this throws.
  ProcessResult Wait(std::chrono::seconds limit = std::chrono::seconds(120));

 private:
  TempFolder io_;  // stdin and the output as files: no deadlock however much is written
  std::string name_;
  pid_t pid_ = -1;
  bool ended_ = false;
  int status_ = 0;
};

// Runs `argv` to its end, as ChildProcess does, waiting at most `limit`.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input = {},
                         std::chrono::seconds limit = std::chrono::seconds(120));

// Whether the tests run as root, to whom file permissions do not apply.
bool RunningAsRoot();

// `argv` run as the unprivileged user nobody (65534) when the tests run as root, so
// that file permissions apply to it; `argv` itself otherwise.
std::vector<std::string> AsUnprivilegedUser(std::vector<std::string> argv);

}  // namespace support

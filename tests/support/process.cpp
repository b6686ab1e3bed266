#include "process.h"

#include "files.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <stdexcept>
#include <thread>

namespace support {
ChildProcess::ChildProcess(const std::vector<std::string>& argv, const std::string& input)
    : name_(argv.at(0)) {
  const auto in_path = io_.path() / "in", out_path = io_.path() / "out", err_path = io_.path() / "err";
  std::ofstream(in_path, std::ios::binary) << input;

  std::vector<char*> args;
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  pid_ = fork();
  if (pid_ < 0) throw std::runtime_error("fork failed");
  if (pid_ == 0) {
    const int in = open(in_path.c_str(), O_RDONLY);
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) _exit(126);
    dup2(in, 0);
    dup2(out, 1);
    dup2(err, 2);
    execvp(args[0], args.data());
    _exit(127);
  }
}

ChildProcess::~ChildProcess() {
  if (!ended_) {
    kill(pid_, SIGKILL);
    waitpid(pid_, &status_, 0);
  }
}

bool ChildProcess::Running() {
  if (!ended_ && waitpid(pid_, &status_, WNOHANG) == pid_) ended_ = true;
  return !ended_;
}

ProcessResult ChildProcess::Wait(std::chrono::seconds limit) {
  const auto deadline = std::chrono::steady_clock::now() + limit;
  while (Running()) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid_, SIGKILL);
      waitpid(pid_, &status_, 0);
      ended_ = true;
      throw std::runtime_error(name_ + " did not end within its time limit");
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  ProcessResult result;
  result.exit_code = WIFEXITED(status_) ? WEXITSTATUS(status_) : -1;
  result.out = ReadFile(io_.path() / "out");
  result.err = ReadFile(io_.path() / "err");
  return result;
}

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input,
                         std::chrono::seconds limit) {
  return ChildProcess(argv, input).Wait(limit);
}

bool RunningAsRoot() { return geteuid() == 0; }

std::vector<std::string> AsUnprivilegedUser(std::vector<std::string> argv) {
  if (!RunningAsRoot()) return argv;
  const std::vector<std::string> prefix{"setpriv", "--reuid=65534", "--regid=65534", "--clear-groups"};
  argv.insert(argv.begin(), prefix.begin(), prefix.end());
  return argv;
}

}  // namespace support

#include "process.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <thread>

#include "temp_folder.h"

namespace support {
namespace {

std::string ReadAll(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input,
                         std::chrono::seconds limit) {
  // Files instead of pipes: no deadlock however much either side writes.
  TempFolder io;
  const auto in_path = io.path() / "in", out_path = io.path() / "out", err_path = io.path() / "err";
  std::ofstream(in_path, std::ios::binary) << input;

  std::vector<char*> args;
  for (const auto& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
  args.push_back(nullptr);

  const pid_t pid = fork();
  if (pid < 0) throw std::runtime_error("fork failed");
  if (pid == 0) {
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

  const auto deadline = std::chrono::steady_clock::now() + limit;
  int status = 0;
  while (waitpid(pid, &status, WNOHANG) == 0) {
    if (std::chrono::steady_clock::now() > deadline) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
      throw std::runtime_error(argv[0] + " did not end within its time limit");
    }
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }

  ProcessResult result;
  result.exit_code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  result.out = ReadAll(out_path);
  result.err = ReadAll(err_path);
  return result;
}

}  // namespace support

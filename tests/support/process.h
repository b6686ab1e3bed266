#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace support {

struct ProcessResult {
  int exit_code = -1;  // -1 when the process did not exit normally
  std::string out;
  std::string err;
};

// Runs `argv` (argv[0] found on PATH), feeding it `input` on stdin, and waits for it
// at most `limit`; past that it is killed and this throws. POSIX-only, like the
// server script the tests drive.
ProcessResult RunProcess(const std::vector<std::string>& argv, const std::string& input = {},
                         std::chrono::seconds limit = std::chrono::seconds(120));

}  // namespace support

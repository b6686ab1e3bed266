#pragma once

#include <string>
#include <string_view>
#include <vector>

// The few calls that differ between Linux and Windows. Their implementations live in
// platform_posix.cpp and platform_win32.cpp, the only files that use the system's own
// interfaces; paths are UTF-8 throughout.
namespace repair::platform {

// Copies `source` to `target` unless `target` already exists. The existence check is
// the exclusive creation of `target` itself, so an existing file, or a link planted at
// that name, is never replaced or followed. A copy that fails part-way removes what it
// created. Returns whether the copy was made; never throws.
bool CopyFileFailIfExists(const std::string& source, const std::string& target) noexcept;

// The full path of the running program file; empty if the system cannot tell.
std::string ExecutablePath();

// The program's arguments, argv[0] included, as UTF-8. On Windows they are read again
// from the wide command line, since argv holds them in the ANSI code page.
std::vector<std::string> Arguments(int argc, char** argv);

enum class Stream { Output, Error };

// Writes `utf8_text` and the platform's line end to standard output or standard error.
// A Windows console is given the text as UTF-16, which it shows whatever its code page;
// redirected output receives the UTF-8 bytes.
void WriteLine(Stream stream, std::string_view utf8_text);

}  // namespace repair::platform

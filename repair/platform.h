#pragma once

#include <string>

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

// Makes the console show the UTF-8 this program writes (Windows consoles default to
// the ANSI code page); nothing to do elsewhere.
void UseUtf8Console() noexcept;

}  // namespace repair::platform

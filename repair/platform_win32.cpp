#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>
#include <string_view>

#include "platform.h"

namespace repair::platform {
namespace {

std::wstring Widen(const std::string& text) {
  if (text.empty()) return {};
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                         nullptr, 0);
  std::wstring wide(static_cast<size_t>(length), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), length);
  return wide;
}

std::string Narrow(const std::wstring& wide) {
  if (wide.empty()) return {};
  const int length = WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()),
                                         nullptr, 0, nullptr, nullptr);
  std::string text(static_cast<size_t>(length), '\0');
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), static_cast<int>(wide.size()), text.data(), length,
                      nullptr, nullptr);
  return text;
}

// Hands all of `text` to `write`, which, like the Windows calls, may take less than it is given.
template <typename Char, typename Write>
void WriteAll(std::basic_string_view<Char> text, Write write) {
  while (!text.empty()) {
    DWORD written = 0;
    if (!write(text.data(), static_cast<DWORD>(text.size()), &written) || written == 0) return;
    text.remove_prefix(written);
  }
}

}  // namespace

bool CopyFileFailIfExists(const std::string& source, const std::string& target) noexcept {
  try {
    // With fail-if-exists the system creates the target exclusively and removes it
    // again when the copy fails.
    return CopyFileW(Widen(source).c_str(), Widen(target).c_str(), TRUE) != FALSE;
  } catch (...) {
    return false;
  }
}

std::string ExecutablePath() {
  std::wstring buffer(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length == 0) return {};
    if (length < buffer.size()) {
      buffer.resize(length);
      return Narrow(buffer);
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::vector<std::string> Arguments(int argc, char** argv) {
  int count = 0;
  const std::unique_ptr<LPWSTR, decltype(&LocalFree)> wide(
      CommandLineToArgvW(GetCommandLineW(), &count), &LocalFree);
  if (!wide) return {argv, argv + argc};
  std::vector<std::string> arguments;
  for (int i = 0; i < count; ++i) arguments.push_back(Narrow(wide.get()[i]));
  return arguments;
}

void WriteLine(Stream stream, std::string_view utf8_text) {
  std::fflush(nullptr);  // whatever the C library still holds goes first
  const HANDLE handle = GetStdHandle(stream == Stream::Output ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
  if (handle == nullptr || handle == INVALID_HANDLE_VALUE) return;
  const std::string line = std::string(utf8_text) + "\r\n";

  // A console shows UTF-16 whatever its code page; a file or pipe gets the UTF-8 bytes.
  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    WriteAll<wchar_t>(Widen(line), [handle](const wchar_t* text, DWORD size, DWORD* written) {
      return WriteConsoleW(handle, text, size, written, nullptr);
    });
  } else {
    WriteAll<char>(line, [handle](const char* text, DWORD size, DWORD* written) {
      return WriteFile(handle, text, size, written, nullptr);
    });
  }
}

}  // namespace repair::platform

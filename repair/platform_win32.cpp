#define WIN32_LEAN_AND_MEAN
#define NOMINMAX
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include <cstdio>
#include <memory>
#include <string>

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

  DWORD mode = 0;
  if (GetConsoleMode(handle, &mode)) {
    const std::wstring wide = Widen(line);
    for (size_t done = 0; done < wide.size();) {
      DWORD written = 0;
      if (!WriteConsoleW(handle, wide.data() + done, static_cast<DWORD>(wide.size() - done), &written,
                         nullptr) || written == 0) {
        return;
      }
      done += written;
    }
    return;
  }
  for (size_t done = 0; done < line.size();) {
    DWORD written = 0;
    if (!WriteFile(handle, line.data() + done, static_cast<DWORD>(line.size() - done), &written,
                   nullptr) || written == 0) {
      return;
    }
    done += written;
  }
}

}  // namespace repair::platform

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <vector>

#include "platform.h"

namespace repair::platform {
namespace {

class FileDescriptor {
 public:
  explicit FileDescriptor(int fd) : fd_(fd) {}
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;
  ~FileDescriptor() {
    if (fd_ >= 0) ::close(fd_);
  }
  int get() const { return fd_; }
  bool valid() const { return fd_ >= 0; }
  // Closes now and reports whether the last writes reached the file.
  bool close() {
    const int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

bool WriteAll(int fd, const char* data, size_t size) {
  while (size > 0) {
    const ssize_t written = ::write(fd, data, size);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    data += written;
    size -= static_cast<size_t>(written);
  }
  return true;
}

bool CopyContent(int from, int to) {
  std::vector<char> buffer(64 * 1024);
  for (;;) {
    const ssize_t got = ::read(from, buffer.data(), buffer.size());
    if (got < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (got == 0) return true;
    if (!WriteAll(to, buffer.data(), static_cast<size_t>(got))) return false;
  }
}

}  // namespace

bool CopyFileFailIfExists(const std::string& source, const std::string& target) noexcept {
  try {
    FileDescriptor from(::open(source.c_str(), O_RDONLY | O_CLOEXEC));
    if (!from.valid()) return false;
    struct stat info {};
    if (::fstat(from.get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;

    // O_EXCL makes the create the existence check; with it a link at `target` fails
    // the create instead of being followed (O_NOFOLLOW says so explicitly).
    FileDescriptor to(::open(target.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                             info.st_mode & 0666));
    if (!to.valid()) return false;

    const bool copied = CopyContent(from.get(), to.get());
    if (to.close() && copied) return true;
    // A truncated definition would mislead the server more than a missing one.
    ::unlink(target.c_str());
    return false;
  } catch (...) {  // the buffer's allocation
    return false;
  }
}

std::string ExecutablePath() {
  std::vector<char> buffer(PATH_MAX);
  for (;;) {
    const ssize_t length = ::readlink("/proc/self/exe", buffer.data(), buffer.size());
    if (length < 0) return {};
    if (static_cast<size_t>(length) < buffer.size()) {
      return std::string(buffer.data(), static_cast<size_t>(length));
    }
    buffer.resize(buffer.size() * 2);
  }
}

std::vector<std::string> Arguments(int argc, char** argv) { return {argv, argv + argc}; }

void WriteLine(Stream stream, std::string_view utf8_text) {
  std::FILE* file = stream == Stream::Output ? stdout : stderr;
  std::fwrite(utf8_text.data(), 1, utf8_text.size(), file);
  std::fputc('\n', file);
  std::fflush(file);
}

}  // namespace repair::platform

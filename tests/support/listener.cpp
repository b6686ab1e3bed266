#include "listener.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>

namespace support {
namespace {

// A TCP socket bound to a port of the system's choice on 127.0.0.1; sets `port`.
int BoundSocket(int& port) {
  const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof address;
  if (bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    close(fd);
    throw std::runtime_error("cannot bind a loopback port");
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

SilentListener::SilentListener() {
  fd_ = BoundSocket(port_);
  // Never accepted: the system completes the connections into the backlog.
  if (listen(fd_, 16) != 0) {
    close(fd_);
    throw std::runtime_error("listen failed");
  }
}

SilentListener::~SilentListener() { close(fd_); }

int UnusedPort() {
  int port = 0;
  close(BoundSocket(port));
  return port;
}

}  // namespace support

#pragma once

namespace support {

// A loopback TCP port whose connections the system accepts but where nothing ever
// answers: a server that hangs before its greeting.
class SilentListener {
 public:
  SilentListener();
  ~SilentListener();
  SilentListener(const SilentListener&) = delete;
  SilentListener& operator=(const SilentListener&) = delete;

  int port() const { return port_; }

 private:
  int fd_ = -1;
  int port_ = 0;
};

// A loopback port nothing listens on: one the system has just handed out and freed.
int UnusedPort();

}  // namespace support

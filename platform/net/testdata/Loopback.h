// A dispatch server on 127.0.0.1 with a free port for each test, and a raw peer for talking to
// it (or pretending to be it) byte by byte.
#pragma once

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "NetTestObjects.h"
#include "net/DispatchServer.h"
#include "net/SocketConnection.h"

namespace net::testing {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

inline constexpr const char* kLoopback = "127.0.0.1";

// A plain blocking socket on the loopback address, every read bounded by five seconds.
class RawSocket {
 public:
  RawSocket() : fd_(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
    timeval tv{5, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  }
  explicit RawSocket(int fd) : fd_(fd) {
    timeval tv{5, 0};
    setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &tv, sizeof tv);
  }
  RawSocket(const RawSocket&) = delete;
  RawSocket& operator=(const RawSocket&) = delete;
  ~RawSocket() {
    if (fd_ >= 0) close(fd_);
  }

  int Fd() const { return fd_; }

  bool Connect(uint16_t port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_port = htons(port);
    inet_pton(AF_INET, kLoopback, &a.sin_addr);
    return connect(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0;
  }

  // Binds 127.0.0.1 on a free port and listens (or not); returns the port.
  uint16_t Bind(bool listening) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    inet_pton(AF_INET, kLoopback, &a.sin_addr);
    bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    if (listening) listen(fd_, 8);
    socklen_t len = sizeof a;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    return ntohs(a.sin_port);
  }

  void Send(const std::string& bytes) {
    ASSERT_EQ(send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL),
              static_cast<ssize_t>(bytes.size()));
  }

  // Reads one whole frame; false when the peer closed or five seconds passed first.
  bool ReadFrame(FrameHeader& header, std::string& payload) {
    std::string bytes;
    char buf[4096];
    for (;;) {
      size_t used = 0;
      if (auto view = SplitFrame(bytes, WireLimits{}, used)) {
        header = view->header;
        payload = std::string(view->payload);
        return true;
      }
      const ssize_t n = recv(fd_, buf, sizeof buf, 0);
      if (n <= 0) return false;
      bytes.append(buf, static_cast<size_t>(n));
    }
  }

  // Everything the peer sends until it closes; `closed` tells whether it did within 5 s.
  std::string ReadUntilClosed(bool& closed) {
    std::string bytes;
    char buf[4096];
    for (;;) {
      const ssize_t n = recv(fd_, buf, sizeof buf, 0);
      if (n > 0) {
        bytes.append(buf, static_cast<size_t>(n));
        continue;
      }
      closed = n == 0 || errno == ECONNRESET;
      return bytes;
    }
  }

 private:
  int fd_;
};

class LoopbackTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterTestClasses();
    Gate::Instance().Open();
    StartServer(Options());
  }
  void TearDown() override {
    Gate::Instance().Open();  // nothing stays blocked in a server object
    if (server_) server_->Stop();
  }

  // The server's options for this test; the log goes into Logged().
  virtual ServerOptions Options() {
    ServerOptions o;
    o.log = [this](std::string_view line) {
      std::lock_guard<std::mutex> lock(logMutex_);
      log_.emplace_back(line);
    };
    return o;
  }

  void StartServer(ServerOptions options) {
    if (server_) server_->Stop();
    server_ = std::make_unique<DispatchServer>(std::move(options));
    server_->Listen(kLoopback, 0);
    ASSERT_NE(server_->Port(), 0);
  }

  // A connection set up for the test server, opened.
  void Connect(SocketConnection& c, const char* serverName = "NetTest.Echo") {
    c.SetAddress(kLoopback);
    c.SetPort(server_->Port());
    c.SetServerName(serverName);
    c.SetConnectTimeout(2000ms);
    c.SetCallTimeout(5000ms);
    c.Open();
  }

  std::vector<std::string> Logged() {
    std::lock_guard<std::mutex> lock(logMutex_);
    return log_;
  }

  // Waits (up to five seconds) until the server counts `n` open connections.
  bool WaitForConnections(size_t n) {
    const auto until = Clock::now() + 5s;
    while (server_->ConnectionCount() != n) {
      if (Clock::now() > until) return false;
      std::this_thread::sleep_for(5ms);
    }
    return true;
  }

  std::unique_ptr<DispatchServer> server_;
  std::mutex logMutex_;
  std::vector<std::string> log_;
};

}  // namespace net::testing

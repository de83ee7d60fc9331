#include "net/SocketIo.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace net::detail {
namespace {

// The payload buffer grows by at least this much at a time, and at most doubles, so that a
// peer announcing a long frame gets memory only as fast as it sends bytes.
constexpr size_t kReadChunk = 64 * 1024;

// Waits until the socket is ready for `events`, the stop descriptor is readable, or the
// deadline passes. Errors and hang-ups count as ready: the next read or write reports them.
IoResult Wait(int fd, short events, Deadline deadline, int stopFd) {
  for (;;) {
    int timeoutMs = -1;
    if (deadline) {
      const auto left = *deadline - Clock::now();
      if (left <= Clock::duration::zero()) return {IoStatus::TimedOut};
      timeoutMs = static_cast<int>(
          std::min<int64_t>(std::chrono::ceil<std::chrono::milliseconds>(left).count(), 1 << 30));
    }
    pollfd fds[2] = {{fd, events, 0}, {stopFd, POLLIN, 0}};
    const int n = poll(fds, stopFd >= 0 ? 2 : 1, timeoutMs);
    if (n < 0) {
      if (errno == EINTR) continue;
      return {IoStatus::Failed, errno};
    }
    if (n == 0) continue;  // the deadline check above decides
    if (stopFd >= 0 && fds[1].revents) return {IoStatus::Stopped};
    if (fds[0].revents) return {IoStatus::Ok};
  }
}

bool IsClosedError(int error) {
  return error == ECONNRESET || error == EPIPE || error == ENOTCONN || error == ESHUTDOWN;
}

// Reads at least one byte into buf[0..n), adding the count to `got`.
IoResult RecvSome(int fd, char* buf, size_t n, size_t& got, Deadline deadline, int stopFd) {
  for (;;) {
    const ssize_t r = recv(fd, buf, n, 0);
    if (r > 0) {
      got += static_cast<size_t>(r);
      return {IoStatus::Ok};
    }
    if (r == 0) return {IoStatus::Closed};
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK)
      return IsClosedError(errno) ? IoResult{IoStatus::Closed} : IoResult{IoStatus::Failed, errno};
    const IoResult w = Wait(fd, POLLIN, deadline, stopFd);
    if (w.status != IoStatus::Ok) return w;
  }
}

Deadline Earlier(Deadline a, Deadline b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

std::string HostPort(const std::string& address, uint16_t port) {
  const bool v6 = address.find(':') != std::string::npos;
  return (v6 ? "[" + address + "]" : address) + ":" + std::to_string(port);
}

void SetNoDelay(int fd) {
  int one = 1;
  setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
}

}  // namespace

Fd& Fd::operator=(Fd&& other) noexcept {
  if (this != &other) {
    Reset();
    fd_ = other.Release();
  }
  return *this;
}

int Fd::Release() {
  const int fd = fd_;
  fd_ = -1;
  return fd;
}

void Fd::Reset() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

Deadline DeadlineAfter(std::chrono::milliseconds timeout) {
  if (timeout <= std::chrono::milliseconds::zero()) return std::nullopt;
  return Clock::now() + timeout;
}

IoResult SendAll(int fd, std::string_view data, Deadline deadline, int stopFd) {
  size_t sent = 0;
  while (sent < data.size()) {
    const ssize_t r = send(fd, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
    if (r >= 0) {
      sent += static_cast<size_t>(r);
      continue;
    }
    if (errno == EINTR) continue;
    if (errno != EAGAIN && errno != EWOULDBLOCK)
      return IsClosedError(errno) ? IoResult{IoStatus::Closed} : IoResult{IoStatus::Failed, errno};
    const IoResult w = Wait(fd, POLLOUT, deadline, stopFd);
    if (w.status != IoStatus::Ok) return w;
  }
  return {IoStatus::Ok};
}

void Drain(int fd, Deadline deadline, size_t maxBytes, int stopFd) {
  shutdown(fd, SHUT_WR);
  char sink[4096];
  size_t got = 0;
  while (got < maxBytes) {
    if (RecvSome(fd, sink, sizeof sink, got, deadline, stopFd).status != IoStatus::Ok) return;
  }
}

IoResult ReadFrame(int fd, const WireLimits& limits, Deadline firstByteDeadline,
                   std::optional<std::chrono::milliseconds> frameTimeout, int stopFd,
                   FrameHeader& header, std::string& payload) {
  char head[kFrameHeaderSize];
  size_t got = 0;
  IoResult r = RecvSome(fd, head, sizeof head, got, firstByteDeadline, stopFd);
  if (r.status != IoStatus::Ok) return r;
  Deadline deadline = firstByteDeadline;
  if (frameTimeout) deadline = Earlier(deadline, Clock::now() + *frameTimeout);
  size_t consumed = 0;
  // SplitFrame refuses a wrong start from its first byte, so garbage is caught at once.
  while (got < kFrameHeaderSize) {
    SplitFrame(std::string_view(head, got), limits, consumed);
    r = RecvSome(fd, head + got, sizeof head - got, got, deadline, stopFd);
    if (r.status != IoStatus::Ok) return {r.status, r.error, true};
  }
  header = DecodeHeader(std::string_view(head, sizeof head), limits);

  payload.clear();
  size_t have = 0;
  while (have < header.length) {
    const size_t want = std::min<size_t>(header.length, std::max(have * 2, have + kReadChunk));
    payload.resize(want);
    while (have < want) {
      r = RecvSome(fd, payload.data() + have, want - have, have, deadline, stopFd);
      if (r.status != IoStatus::Ok) return {r.status, r.error, true};
    }
  }
  return {IoStatus::Ok};
}

bool ParseAddress(std::string_view address, uint16_t port, SocketAddress& out) {
  const std::string text(address);
  out = SocketAddress{};
  static_assert(sizeof out.storage >= sizeof(sockaddr_storage));
  auto* v4 = reinterpret_cast<sockaddr_in*>(out.storage);
  if (inet_pton(AF_INET, text.c_str(), &v4->sin_addr) == 1) {
    v4->sin_family = AF_INET;
    v4->sin_port = htons(port);
    out.length = sizeof(sockaddr_in);
    out.family = AF_INET;
    return true;
  }
  out = SocketAddress{};
  auto* v6 = reinterpret_cast<sockaddr_in6*>(out.storage);
  if (inet_pton(AF_INET6, text.c_str(), &v6->sin6_addr) == 1) {
    v6->sin6_family = AF_INET6;
    v6->sin6_port = htons(port);
    out.length = sizeof(sockaddr_in6);
    out.family = AF_INET6;
    return true;
  }
  return false;
}

Fd ConnectTo(const std::string& address, uint16_t port, std::chrono::milliseconds timeout) {
  SocketAddress sa;
  if (!ParseAddress(address, port, sa))
    throw ConnectionError("Invalid address '" + address + "' of the socket connection");
  const std::string where = HostPort(address, port);
  Fd fd(socket(sa.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd.Valid()) throw ConnectionError("Cannot connect to " + where + ": " + ErrorText(errno));
  if (connect(fd.Get(), reinterpret_cast<const sockaddr*>(sa.storage), sa.length) != 0) {
    if (errno != EINPROGRESS && errno != EINTR)
      throw ConnectionError("Cannot connect to " + where + ": " + ErrorText(errno));
    const IoResult w = Wait(fd.Get(), POLLOUT, DeadlineAfter(timeout), -1);
    if (w.status == IoStatus::TimedOut)
      throw ConnectionError("Cannot connect to " + where + " within " +
                            std::to_string(timeout.count()) + " ms");
    if (w.status != IoStatus::Ok)
      throw ConnectionError("Cannot connect to " + where + ": " + ErrorText(w.error));
    int error = 0;
    socklen_t len = sizeof error;
    if (getsockopt(fd.Get(), SOL_SOCKET, SO_ERROR, &error, &len) != 0) error = errno;
    if (error != 0) throw ConnectionError("Cannot connect to " + where + ": " + ErrorText(error));
  }
  SetNoDelay(fd.Get());
  return fd;
}

Fd ListenOn(const std::string& address, uint16_t port) {
  SocketAddress sa;
  if (!ParseAddress(address, port, sa))
    throw ConnectionError("Invalid address '" + address + "' to listen on");
  const std::string where = HostPort(address, port);
  Fd fd(socket(sa.family, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (!fd.Valid()) throw ConnectionError("Cannot listen on " + where + ": " + ErrorText(errno));
  int one = 1;
  setsockopt(fd.Get(), SOL_SOCKET, SO_REUSEADDR, &one, sizeof one);
  if (bind(fd.Get(), reinterpret_cast<const sockaddr*>(sa.storage), sa.length) != 0 ||
      listen(fd.Get(), SOMAXCONN) != 0)
    throw ConnectionError("Cannot listen on " + where + ": " + ErrorText(errno));
  return fd;
}

uint16_t LocalPort(int fd) {
  sockaddr_storage ss{};
  socklen_t len = sizeof ss;
  if (getsockname(fd, reinterpret_cast<sockaddr*>(&ss), &len) != 0) return 0;
  if (ss.ss_family == AF_INET) return ntohs(reinterpret_cast<sockaddr_in*>(&ss)->sin_port);
  if (ss.ss_family == AF_INET6) return ntohs(reinterpret_cast<sockaddr_in6*>(&ss)->sin6_port);
  return 0;
}

std::string PeerName(int fd) {
  sockaddr_storage ss{};
  socklen_t len = sizeof ss;
  if (getpeername(fd, reinterpret_cast<sockaddr*>(&ss), &len) != 0) return "?";
  char text[INET6_ADDRSTRLEN] = {};
  if (ss.ss_family == AF_INET) {
    auto* a = reinterpret_cast<sockaddr_in*>(&ss);
    inet_ntop(AF_INET, &a->sin_addr, text, sizeof text);
    return HostPort(text, ntohs(a->sin_port));
  }
  if (ss.ss_family == AF_INET6) {
    auto* a = reinterpret_cast<sockaddr_in6*>(&ss);
    inet_ntop(AF_INET6, &a->sin6_addr, text, sizeof text);
    return HostPort(text, ntohs(a->sin6_port));
  }
  return "?";
}

std::string ErrorText(int error) {
  return std::error_code(error, std::generic_category()).message();
}

}  // namespace net::detail

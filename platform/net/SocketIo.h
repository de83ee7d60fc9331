// SocketIo: the POSIX socket work shared by SocketConnection and DispatchServer. Internal to
// this layer; the rest of the system sees only those two classes.
//
// Sockets are non-blocking; every wait is a poll() bounded by a deadline and, on the server,
// also woken by a stop descriptor, so nothing here can hang a caller beyond the time it gave.
#pragma once

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "net/Wire.h"

namespace net::detail {

using Clock = std::chrono::steady_clock;
using Deadline = std::optional<Clock::time_point>;  // nullopt: wait without limit

// A file descriptor owned by one object.
class Fd {
 public:
  Fd() = default;
  explicit Fd(int fd) : fd_(fd) {}
  Fd(Fd&& other) noexcept : fd_(other.Release()) {}
  Fd& operator=(Fd&& other) noexcept;
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  ~Fd() { Reset(); }

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  int Release();
  void Reset();

 private:
  int fd_ = -1;
};

enum class IoStatus {
  Ok,
  Closed,    // the peer closed the connection (or reset it)
  TimedOut,  // the deadline passed
  Stopped,   // the stop descriptor became readable
  Failed,    // another socket error; errno is kept in the result
};

struct IoResult {
  IoStatus status = IoStatus::Ok;
  int error = 0;         // errno for Failed
  bool partial = false;  // ReadFrame: part of a frame had arrived when it ended
};

// A deadline `timeout` from now; a zero timeout means no deadline.
Deadline DeadlineAfter(std::chrono::milliseconds timeout);

// Sends all of `data`.
IoResult SendAll(int fd, std::string_view data, Deadline deadline, int stopFd = -1);

// Ends a connection gracefully after a last word: no more sending, and what the peer still
// sends is read and dropped (up to `maxBytes`, until it closes or the deadline passes), so
// that closing does not reset the connection before the peer has read that last frame.
void Drain(int fd, Deadline deadline, size_t maxBytes, int stopFd = -1);

// Reads one frame: the header, then its payload. The first byte may take until
// `firstByteDeadline`; once it has arrived, the rest must come within `frameTimeout` (when
// given) and before `firstByteDeadline`. Header faults throw WireError before the payload is
// read; the payload buffer grows with the bytes that actually arrive, never by the announced
// length alone.
IoResult ReadFrame(int fd, const WireLimits& limits, Deadline firstByteDeadline,
                   std::optional<std::chrono::milliseconds> frameTimeout, int stopFd,
                   FrameHeader& header, std::string& payload);

// A numeric IPv4 or IPv6 address and a port as a socket address; false when the text is not
// a numeric address.
struct SocketAddress {
  unsigned char storage[128] = {};  // a sockaddr_storage
  unsigned length = 0;
  int family = 0;
};
bool ParseAddress(std::string_view address, uint16_t port, SocketAddress& out);

// Connects to a numeric address within the timeout (zero: the system's own limit). Throws
// ConnectionError with the reason.
Fd ConnectTo(const std::string& address, uint16_t port, std::chrono::milliseconds timeout);

// A listening socket bound to the address and port. Throws ConnectionError with the reason.
Fd ListenOn(const std::string& address, uint16_t port);

// The port a bound socket holds (the one picked when 0 was asked for).
uint16_t LocalPort(int fd);

// "address:port" of the peer of a connected socket, for log lines.
std::string PeerName(int fd);

// The system's text for an errno value.
std::string ErrorText(int error);

}  // namespace net::detail

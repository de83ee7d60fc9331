// DispatchServer: the server end of the socket connection, as the job-server daemon and the
// tests run it.
//
// Listen binds an address and a port (port 0 picks a free one; Port tells which) and accepts
// connections on a thread of its own. Each connection has a thread: its first frame names the
// server object, which is created through automation::CreateObject (the class-name registry);
// its calls are then answered in order, and the object is freed when the connection ends. An
// error raised by the object goes back to the caller with its message and the connection stays.
//
// A peer that breaks the protocol — bytes that are not a frame, a wrong version, a length over
// the limit, a payload that does not decode, a frame that stops arriving, no request for a
// server object right after connecting — gets a fault frame when one can still be sent and is
// disconnected; no other connection notices. Stop closes every connection and joins every
// thread; a call still running in a server object is waited for (its caller already sees the
// connection closed).
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "net/Wire.h"

namespace net {

struct ServerOptions {
  WireLimits limits;
  // Once the first byte of a frame has arrived, the rest must follow within this time; and a
  // new connection must ask for its server object within it.
  std::chrono::milliseconds frameTimeout{10000};
  // An answer must be taken by the client within this time, else the connection is dropped.
  std::chrono::milliseconds sendTimeout{10000};
  // Connections served at once; further ones get a fault and are closed.
  size_t maxConnections = 64;
  // The class names a client may ask for (without regard to case); empty serves every class the
  // registry knows.
  std::vector<std::string> classNames;
  // Told why connections were refused or dropped, one line each. Called from server threads,
  // one line at a time.
  std::function<void(std::string_view line)> log;
};

class DispatchServer {
 public:
  explicit DispatchServer(ServerOptions options = {});
  ~DispatchServer();  // Stop
  DispatchServer(const DispatchServer&) = delete;
  DispatchServer& operator=(const DispatchServer&) = delete;

  // Starts serving on a numeric address and a port (0: a free one). Throws ConnectionError
  // when the address cannot be bound, automation::Error when already listening.
  void Listen(std::string_view address, uint16_t port);
  bool Listening() const { return listening_; }
  // The bound address and port while listening.
  const std::string& Address() const { return address_; }
  uint16_t Port() const { return port_; }

  // Connections open at this moment.
  size_t ConnectionCount() const;

  // Stops accepting, closes every connection and joins every thread. Harmless when not
  // listening; Listen may be called again afterwards.
  void Stop();

 private:
  struct Connection;

  void AcceptLoop();
  void Serve(Connection& connection);
  void ReapFinished();
  void Log(const std::string& line) const;
  void CloseDescriptors();

  ServerOptions options_;
  std::string address_;
  uint16_t port_ = 0;
  bool listening_ = false;
  int listenFd_ = -1;
  int stopRead_ = -1;
  int stopWrite_ = -1;
  std::thread acceptThread_;
  mutable std::mutex mutex_;  // guards connections_ and their descriptors
  mutable std::mutex logMutex_;
  std::list<std::unique_ptr<Connection>> connections_;
};

}  // namespace net

// SocketConnection: the client end of the multi-tier connection to an application server, as
// the option window uses it to reach the job server.
//
// Set Address (a numeric IPv4 or IPv6 address), Port and ServerName (the class name of the
// server object), then Open. AppServer is then a dispatch object whose calls travel to the
// server object created for this connection; by-reference arguments come back written, and an
// error raised by the server object arrives as automation::Error with its message.
//
// The connection is synchronous and creates no threads: Open and every call block the calling
// thread, each bounded by its timeout. A connection that fails (connect refused or timed out, a
// call timed out, the server went away, an answer that does not decode) throws ConnectionError
// or WireError — both automation::Error — and is left closed; Open may be called again. An
// error the server object raised leaves the connection open.
//
// Use one connection from one thread at a time. AppServer values handed out stay safe to hold
// after Close or destruction of the connection: their calls then throw "Not connected".
#pragma once

#include <chrono>
#include <memory>
#include <string>

#include "automation/Variant.h"
#include "net/Wire.h"

namespace net {

namespace detail {
class ClientSession;
}

class SocketConnection {
 public:
  SocketConnection();
  ~SocketConnection();
  SocketConnection(const SocketConnection&) = delete;
  SocketConnection& operator=(const SocketConnection&) = delete;

  // Where to connect. Changes take effect at the next Open.
  const std::string& Address() const { return address_; }
  void SetAddress(std::string address) { address_ = std::move(address); }
  int Port() const { return port_; }
  void SetPort(int port) { port_ = port; }
  const std::string& ServerName() const { return serverName_; }
  void SetServerName(std::string name) { serverName_ = std::move(name); }

  // How long Open may take, the server's answer included (default 10 s), and how long one call
  // may take (default 120 s). Zero waits without limit. A new call timeout applies to the open
  // connection at once.
  std::chrono::milliseconds ConnectTimeout() const { return connectTimeout_; }
  void SetConnectTimeout(std::chrono::milliseconds timeout) { connectTimeout_ = timeout; }
  std::chrono::milliseconds CallTimeout() const { return callTimeout_; }
  void SetCallTimeout(std::chrono::milliseconds timeout);

  // The frame limits the server's answers are held to (and calls are checked against before
  // they are sent). Take effect at the next Open.
  const WireLimits& Limits() const { return limits_; }
  void SetLimits(const WireLimits& limits) { limits_ = limits; }

  // Whether a socket session with the server object is open.
  bool Connected() const;
  // Opens (true) or closes (false) the connection, as Open and Close do.
  void SetConnected(bool connected);

  // Connects to Address:Port and asks the server for a ServerName object. Nothing happens when
  // already connected. Throws ConnectionError for a missing or invalid address, port or server
  // name, a refused or timed-out connection, or a server that cannot create the object (with
  // the server's message); the connection is then closed.
  void Open();
  // Closes the session (the server frees its object) and forgets an in-process server.
  // Harmless when nothing is open.
  void Close();

  // The application server: the remote object while connected, else the in-process server
  // given to SetAppServer, else empty.
  automation::Variant AppServer() const;
  // Makes an in-process object the application server, the way a server on this computer is
  // used: no socket is opened and Connected stays false. Close forgets it.
  void SetAppServer(automation::Variant server);

 private:
  std::string address_;
  int port_ = 0;
  std::string serverName_;
  std::chrono::milliseconds connectTimeout_{10000};
  std::chrono::milliseconds callTimeout_{120000};
  WireLimits limits_;
  std::shared_ptr<detail::ClientSession> session_;
  automation::Variant remote_;
  automation::Variant local_;
};

}  // namespace net

#include "net/SocketConnection.h"

#include <cctype>
#include <utility>

#include "automation/Dispatch.h"
#include "net/SocketIo.h"

namespace net {
namespace detail {

// One open session with a server object: the socket and the state of its exchanges. Shared by
// the connection and the AppServer objects it handed out, so that those never dangle.
class ClientSession {
 public:
  ClientSession(Fd fd, std::string where, WireLimits limits, std::chrono::milliseconds timeout)
      : fd_(std::move(fd)), where_(std::move(where)), limits_(limits), callTimeout_(timeout) {}

  bool IsOpen() const { return fd_.Valid(); }
  void Close() { fd_.Reset(); }
  void SetCallTimeout(std::chrono::milliseconds timeout) { callTimeout_ = timeout; }
  const std::string& Where() const { return where_; }
  // Requests are numbered from 1; 0 is left for faults about the whole connection.
  uint32_t NextSequence() {
    if (++sequence_ == 0) ++sequence_;
    return sequence_;
  }

  // Sends a frame and reads the answer carrying the same sequence number. Any failure of the
  // transport or of the answer's framing closes the session and throws; `what` names the
  // exchange in the message ("call 'GetPower'").
  FrameHeader Exchange(const std::string& frame, uint32_t sequence, Deadline deadline,
                       std::chrono::milliseconds timeout, const std::string& what,
                       std::string& payload) {
    IoResult r = SendAll(fd_.Get(), frame, deadline);
    if (r.status != IoStatus::Ok) Fail(r, timeout, what);
    FrameHeader h;
    try {
      r = ReadFrame(fd_.Get(), limits_, deadline, std::nullopt, -1, h, payload);
    } catch (const WireError& e) {
      BadAnswer(e.Fault(), what, e.what());
    }
    if (r.status != IoStatus::Ok) Fail(r, timeout, what);
    // A fault numbered 0 is about the connection as a whole (the server refused it before it
    // read any request), and answers whatever was asked.
    if (h.sequence != sequence && !(h.kind == FrameKind::Fault && h.sequence == 0))
      BadAnswer(WireFault::Malformed, what,
                "answer " + std::to_string(h.sequence) + " to request " + std::to_string(sequence));
    return h;
  }

  // A fault frame: the server object's error, or the reason the server drops the connection.
  [[noreturn]] void Fault(const std::string& payload, const std::string& what) {
    FaultMessage f;
    try {
      f = DecodeFault(payload, limits_);
    } catch (const WireError& e) {
      BadAnswer(e.Fault(), what, e.what());
    }
    if (!f.closing) throw automation::Error(f.message);
    Close();
    throw ConnectionError("The application server at " + where_ + " closed the connection during " +
                          what + ": " + f.message);
  }

  [[noreturn]] void BadAnswer(WireFault fault, const std::string& what, const std::string& why) {
    Close();
    throw WireError(fault, "Invalid answer from the application server at " + where_ + " to " +
                               what + ": " + why + "; the connection was closed");
  }

  automation::Variant Call(std::string_view name, automation::InvokeKind kind,
                           automation::CallArgs args) {
    if (!IsOpen()) throw ConnectionError("Not connected to the application server");
    const uint32_t sequence = NextSequence();
    // Encoding comes first: a call that cannot travel is refused before anything is sent and
    // the connection stays usable.
    const std::string frame = CallFrame(sequence, name, kind, args, limits_);
    const std::string what = "call '" + std::string(name) + "'";
    const std::chrono::milliseconds timeout = callTimeout_;
    std::string payload;
    const FrameHeader h = Exchange(frame, sequence, DeadlineAfter(timeout), timeout, what, payload);
    if (h.kind == FrameKind::Fault) Fault(payload, what);
    if (h.kind != FrameKind::Return)
      BadAnswer(WireFault::Malformed, what,
                "unexpected frame kind " + std::to_string(static_cast<int>(h.kind)));
    ReturnMessage m;
    try {
      m = DecodeReturn(payload, limits_);
    } catch (const WireError& e) {
      BadAnswer(e.Fault(), what, e.what());
    }
    for (const auto& [index, value] : m.written)
      if (index >= args.Count() || !args.IsByRef(index))
        BadAnswer(WireFault::Malformed, what,
                  "argument " + std::to_string(index + 1) + " was not passed by reference");
    for (auto& [index, value] : m.written) args.values[index] = std::move(value);
    return std::move(m.result);
  }

 private:
  [[noreturn]] void Fail(IoResult r, std::chrono::milliseconds timeout, const std::string& what) {
    Close();
    std::string text = what;
    text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
    switch (r.status) {
      case IoStatus::TimedOut:
        throw ConnectionError(text + " to the application server at " + where_ +
                              " timed out after " + std::to_string(timeout.count()) +
                              " ms; the connection was closed");
      case IoStatus::Closed:
        throw ConnectionError("The application server at " + where_ +
                              " closed the connection during " + what);
      default:
        throw ConnectionError("The connection to the application server at " + where_ +
                              " failed during " + what + ": " + ErrorText(r.error));
    }
  }

  Fd fd_;
  std::string where_;
  WireLimits limits_;
  std::chrono::milliseconds callTimeout_;
  uint32_t sequence_ = 0;
};

}  // namespace detail

namespace {

// The application server as the caller sees it: every member is answered by the server object.
class RemoteObject : public automation::DispatchObject {
 public:
  explicit RemoteObject(std::shared_ptr<detail::ClientSession> session)
      : session_(std::move(session)) {}

  automation::Variant Invoke(std::string_view name, automation::InvokeKind kind,
                             automation::CallArgs args) override {
    return session_->Call(name, kind, args);
  }
  bool HasMember(std::string_view) const override { return true; }

 private:
  std::shared_ptr<detail::ClientSession> session_;
};

}  // namespace

SocketConnection::SocketConnection() = default;

SocketConnection::~SocketConnection() {
  Close();
}

void SocketConnection::SetCallTimeout(std::chrono::milliseconds timeout) {
  callTimeout_ = timeout;
  if (session_) session_->SetCallTimeout(timeout);
}

bool SocketConnection::Connected() const {
  return session_ && session_->IsOpen();
}

void SocketConnection::SetConnected(bool connected) {
  if (connected)
    Open();
  else
    Close();
}

void SocketConnection::Open() {
  if (Connected()) return;
  Close();
  if (address_.empty()) throw ConnectionError("The socket connection has no address");
  if (port_ < 1 || port_ > 65535)
    throw ConnectionError("Invalid port " + std::to_string(port_) + " of the socket connection");
  if (serverName_.empty()) throw ConnectionError("The socket connection has no server name");

  // One deadline covers reaching the server and its answer to the request for the object.
  const detail::Deadline deadline = detail::DeadlineAfter(connectTimeout_);
  detail::Fd fd = detail::ConnectTo(address_, static_cast<uint16_t>(port_), connectTimeout_);
  const std::string where = address_ + ":" + std::to_string(port_);
  auto session =
      std::make_shared<detail::ClientSession>(std::move(fd), where, limits_, callTimeout_);
  const uint32_t sequence = session->NextSequence();
  const std::string what = "opening '" + serverName_ + "'";
  std::string payload;
  const FrameHeader h = session->Exchange(OpenFrame(sequence, serverName_, limits_), sequence,
                                          deadline, connectTimeout_, what, payload);
  if (h.kind == FrameKind::Fault) {
    FaultMessage f;
    try {
      f = DecodeFault(payload, limits_);
    } catch (const WireError& e) {
      session->BadAnswer(e.Fault(), what, e.what());
    }
    session->Close();
    throw ConnectionError("The application server at " + where + " cannot serve '" + serverName_ +
                          "': " + f.message);
  }
  if (h.kind != FrameKind::Opened || !payload.empty())
    session->BadAnswer(WireFault::Malformed, what, "not an answer to the request for the object");
  session_ = std::move(session);
  remote_ = automation::Variant(std::make_shared<RemoteObject>(session_));
}

void SocketConnection::Close() {
  if (session_) session_->Close();
  session_.reset();
  remote_ = automation::Variant();
  local_ = automation::Variant();
}

automation::Variant SocketConnection::AppServer() const {
  if (Connected()) return remote_;
  return local_;
}

void SocketConnection::SetAppServer(automation::Variant server) {
  if (session_) session_->Close();
  session_.reset();
  remote_ = automation::Variant();
  local_ = std::move(server);
}

}  // namespace net

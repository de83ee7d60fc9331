#include "net/DispatchServer.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>

#include "automation/ClassRegistry.h"
#include "net/SocketIo.h"

namespace net {

struct DispatchServer::Connection {
  int fd = -1;  // closed by its own thread, under the server's mutex
  std::string peer;
  std::thread thread;
  std::atomic<bool> done{false};
};

namespace {

using detail::Clock;
using detail::IoResult;
using detail::IoStatus;

// How long and how much a refused peer is still listened to before its connection is closed.
constexpr std::chrono::milliseconds kDrainTime{250};
constexpr size_t kDrainBytes = 64 * 1024;

detail::Deadline Earlier(detail::Deadline a, detail::Deadline b) {
  if (!a) return b;
  if (!b) return a;
  return std::min(*a, *b);
}

// One connection's conversation: the server object it asked for and the answers to its calls.
class Conversation {
 public:
  Conversation(int fd, int stopFd, const ServerOptions& options, std::string peer,
               std::function<void(const std::string&)> log)
      : fd_(fd), stopFd_(stopFd), options_(options), peer_(std::move(peer)), log_(std::move(log)) {}

  // Answers frames until the peer leaves, breaks the protocol or the server stops.
  void Run() {
    for (;;) {
      FrameHeader h;
      std::string payload;
      IoResult r;
      try {
        // A client asks for its object as soon as it connects; a peer that connects and says
        // nothing does not get to hold a connection. Later, a client may stay idle for as
        // long as it likes between calls.
        const detail::Deadline first =
            object_ ? std::nullopt : detail::DeadlineAfter(options_.frameTimeout);
        r = detail::ReadFrame(fd_, options_.limits, first, options_.frameTimeout, stopFd_, h,
                              payload);
      } catch (const WireError& e) {
        // The header told its own sequence number only if it decoded; 0 answers anything else.
        return Refuse(0, e.what());
      }
      switch (r.status) {
        case IoStatus::Ok:
          break;
        case IoStatus::Stopped:
          return;
        case IoStatus::Closed:
          if (r.partial) Log("the connection ended inside a frame");
          return;
        case IoStatus::TimedOut:
          if (!r.partial)
            return Refuse(0, "No server object was requested within " +
                                 std::to_string(options_.frameTimeout.count()) + " ms");
          return Refuse(0, "A frame did not arrive whole within " +
                               std::to_string(options_.frameTimeout.count()) + " ms");
        case IoStatus::Failed:
          Log("receive failed: " + detail::ErrorText(r.error));
          return;
      }
      if (!Handle(h, payload)) return;
    }
  }

 private:
  // Answers one frame; false ends the connection.
  bool Handle(const FrameHeader& h, const std::string& payload) {
    switch (h.kind) {
      case FrameKind::Open:
        return OpenObject(h.sequence, payload);
      case FrameKind::Call:
        return AnswerCall(h.sequence, payload);
      default:
        Refuse(h.sequence,
               "A client may not send frames of kind " + std::to_string(static_cast<int>(h.kind)));
        return false;
    }
  }

  bool OpenObject(uint32_t sequence, const std::string& payload) {
    if (object_) {
      Refuse(sequence, "The connection already serves '" + className_ + "'");
      return false;
    }
    std::string name;
    try {
      name = DecodeOpen(payload, options_.limits);
    } catch (const WireError& e) {
      Refuse(sequence, e.what());
      return false;
    }
    if (!Served(name)) {
      Refuse(sequence, "Server object '" + name + "' is not served here");
      return false;
    }
    try {
      object_ = automation::CreateObject(name);
    } catch (const std::exception& e) {
      Refuse(sequence, e.what());
      return false;
    }
    className_ = name;
    return Send(OpenedFrame(sequence));
  }

  bool AnswerCall(uint32_t sequence, const std::string& payload) {
    if (!object_) {
      Refuse(sequence, "A call came before the server object was requested");
      return false;
    }
    CallMessage call;
    try {
      call = DecodeCall(payload, options_.limits);
    } catch (const WireError& e) {
      Refuse(sequence, e.what());
      return false;
    }
    // Everything the object throws goes back to its caller; the connection stays.
    automation::Variant result;
    try {
      result = object_->Invoke(call.name, call.kind, call.Args());
    } catch (const std::exception& e) {
      return Send(FaultFrame(sequence, e.what(), false, options_.limits));
    } catch (...) {
      return Send(FaultFrame(sequence, "Unknown error in server object '" + className_ + "'", false,
                             options_.limits));
    }
    std::string answer;
    try {
      answer = ReturnFrame(sequence, result, call.Args(), options_.limits);
    } catch (const std::exception& e) {
      answer = FaultFrame(sequence, "The answer of '" + call.name + "' cannot be sent: " + e.what(),
                          false, options_.limits);
    }
    return Send(answer);
  }

  bool Served(const std::string& name) const {
    if (options_.classNames.empty()) return true;
    for (const std::string& n : options_.classNames)
      if (automation::SameName(n, name)) return true;
    return false;
  }

  bool Send(const std::string& frame) {
    const IoResult r =
        detail::SendAll(fd_, frame, detail::DeadlineAfter(options_.sendTimeout), stopFd_);
    switch (r.status) {
      case IoStatus::Ok:
        return true;
      case IoStatus::TimedOut:
        Log("the client took no answer within " + std::to_string(options_.sendTimeout.count()) +
            " ms");
        return false;
      case IoStatus::Failed:
        Log("send failed: " + detail::ErrorText(r.error));
        return false;
      default:
        return false;
    }
  }

  // Tells the peer why it is dropped, when it still listens, and notes it in the log.
  void Refuse(uint32_t sequence, const std::string& reason) {
    Log(reason + "; connection closed");
    const auto patience = std::min(options_.sendTimeout, std::chrono::milliseconds(1000));
    const detail::Deadline deadline = detail::DeadlineAfter(patience);
    if (detail::SendAll(fd_, FaultFrame(sequence, reason, true, options_.limits), deadline, stopFd_)
            .status == IoStatus::Ok)
      detail::Drain(fd_, Earlier(deadline, detail::DeadlineAfter(kDrainTime)), kDrainBytes,
                    stopFd_);
  }

  void Log(const std::string& text) const {
    if (log_) log_(peer_ + ": " + text);
  }

  int fd_;
  int stopFd_;
  const ServerOptions& options_;
  std::string peer_;
  std::function<void(const std::string&)> log_;
  automation::DispatchPtr object_;
  std::string className_;
};

}  // namespace

DispatchServer::DispatchServer(ServerOptions options) : options_(std::move(options)) {}

DispatchServer::~DispatchServer() {
  Stop();
}

void DispatchServer::Listen(std::string_view address, uint16_t port) {
  if (listening_) throw automation::Error("The dispatch server is already listening");
  detail::Fd fd = detail::ListenOn(std::string(address), port);
  int pipeFds[2];
  if (pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0)
    throw ConnectionError("Cannot listen: " + detail::ErrorText(errno));
  stopRead_ = pipeFds[0];
  stopWrite_ = pipeFds[1];
  listenFd_ = fd.Release();
  address_ = std::string(address);
  port_ = detail::LocalPort(listenFd_);
  try {
    acceptThread_ = std::thread(&DispatchServer::AcceptLoop, this);
  } catch (const std::exception& e) {
    CloseDescriptors();
    throw ConnectionError(std::string("Cannot listen: ") + e.what());
  }
  listening_ = true;
}

void DispatchServer::AcceptLoop() {
  for (;;) {
    pollfd fds[2] = {{listenFd_, POLLIN, 0}, {stopRead_, POLLIN, 0}};
    const int n = poll(fds, 2, 1000);
    if (n < 0 && errno != EINTR) {
      Log("waiting for connections failed: " + detail::ErrorText(errno));
      std::this_thread::sleep_for(std::chrono::milliseconds(100));
      continue;
    }
    if (n > 0 && fds[1].revents) return;
    ReapFinished();
    if (n <= 0 || !fds[0].revents) continue;

    detail::Fd accepted(accept4(listenFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC));
    if (!accepted.Valid()) {
      // Out of descriptors or memory: give the system a moment rather than spin.
      if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
        Log("cannot accept a connection: " + detail::ErrorText(errno));
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
      }
      continue;
    }
    int one = 1;
    setsockopt(accepted.Get(), IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
    const std::string peer = detail::PeerName(accepted.Get());

    bool full = false;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      full = connections_.size() >= options_.maxConnections;
    }
    if (full) {
      const std::string reason =
          "Too many connections (" + std::to_string(options_.maxConnections) + ") are open";
      Log(peer + ": " + reason + "; connection closed");
      // A short last word only: the accept thread must not wait on a crowd of such peers.
      if (detail::SendAll(accepted.Get(), FaultFrame(0, reason, true, options_.limits),
                          Clock::now())
              .status == IoStatus::Ok)
        detail::Drain(accepted.Get(), detail::DeadlineAfter(std::chrono::milliseconds(50)),
                      kDrainBytes, stopRead_);
      continue;
    }
    // Only this thread adds connections, so the count cannot have grown since.
    std::lock_guard<std::mutex> lock(mutex_);
    auto connection = std::make_unique<Connection>();
    connection->fd = accepted.Release();
    connection->peer = peer;
    Connection& c = *connection;
    connections_.push_back(std::move(connection));
    try {
      c.thread = std::thread([this, &c] { Serve(c); });
    } catch (const std::exception& e) {
      Log(peer + ": cannot start a thread for the connection: " + e.what());
      ::close(c.fd);
      connections_.pop_back();
    }
  }
}

void DispatchServer::Serve(Connection& c) {
  try {
    Conversation conversation(c.fd, stopRead_, options_, c.peer,
                              [this](const std::string& line) { Log(line); });
    conversation.Run();
  } catch (const std::exception& e) {
    Log(c.peer + ": " + e.what() + "; connection closed");
  } catch (...) {
    Log(c.peer + ": unknown error; connection closed");
  }
  {
    std::lock_guard<std::mutex> lock(mutex_);
    ::close(c.fd);
    c.fd = -1;
  }
  c.done = true;
}

void DispatchServer::ReapFinished() {
  std::list<std::unique_ptr<Connection>> finished;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    for (auto it = connections_.begin(); it != connections_.end();) {
      auto next = std::next(it);
      if ((*it)->done) finished.splice(finished.end(), connections_, it);
      it = next;
    }
  }
  for (auto& c : finished) c->thread.join();
}

size_t DispatchServer::ConnectionCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  size_t open = 0;
  for (const auto& c : connections_) open += c->done ? 0 : 1;
  return open;
}

void DispatchServer::Stop() {
  if (!listening_) return;
  const char wake = 1;
  while (write(stopWrite_, &wake, 1) < 0 && errno == EINTR) {
  }
  acceptThread_.join();
  std::list<std::unique_ptr<Connection>> all;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    // The stop descriptor wakes every wait; shutting the sockets down also ends a client that
    // keeps a thread busy reading, and tells every client at once.
    for (auto& c : connections_)
      if (c->fd >= 0) shutdown(c->fd, SHUT_RDWR);
    all.swap(connections_);
  }
  for (auto& c : all) c->thread.join();
  CloseDescriptors();
  listening_ = false;
}

void DispatchServer::CloseDescriptors() {
  for (int* fd : {&listenFd_, &stopRead_, &stopWrite_}) {
    if (*fd >= 0) ::close(*fd);
    *fd = -1;
  }
  port_ = 0;
}

void DispatchServer::Log(const std::string& line) const {
  if (!options_.log) return;
  // Peers choose some of the text (class names, for one): a control character must not start
  // a line of its own in the log.
  std::string clean = line;
  for (char& c : clean)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) c = '?';
  std::lock_guard<std::mutex> lock(logMutex_);
  try {
    options_.log(clean);
  } catch (...) {
    // A failing log never takes a connection down with it.
  }
}

}  // namespace net

#include "net/DispatchServer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <future>

#include "testdata/Loopback.h"

namespace net {
namespace {

using automation::Variant;
using namespace std::chrono_literals;
using testing::Clock;
using testing::Gate;
using testing::kLoopback;
using testing::RawSocket;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

// A frame header with any kind, length and version, the way a hostile peer writes one.
std::string Header(int kind, uint32_t length, int version = kWireVersion) {
  return Bytes({'Q', 'Z', version, kind, static_cast<int>(length & 0xff),
                static_cast<int>((length >> 8) & 0xff), static_cast<int>((length >> 16) & 0xff),
                static_cast<int>(length >> 24), 1, 0, 0, 0});
}

class DispatchServerTest : public testing::LoopbackTest {
 protected:
  ServerOptions Options() override {
    ServerOptions o = LoopbackTest::Options();
    o.frameTimeout = 300ms;
    return o;
  }
};

// Hostile peers: each is dropped — with a fault saying why, when one can be sent — while a
// client connected beforehand, and one connecting afterwards, are served as if nothing happened.
TEST_F(DispatchServerTest, APeerThatBreaksTheProtocolIsDroppedAndOthersCarryOn) {
  const std::string open = OpenFrame(1, "NetTest.Echo", {});
  const struct {
    const char* name;
    std::string bytes;
    bool halfClose;      // the peer stops sending after its bytes
    const char* fault;   // the fault it gets, or nullptr for none
    const char* logged;  // what the server's log says about it
  } cases[] = {
      {"garbage", "GET / HTTP/1.1\r\nHost: jobserver\r\n\r\n", false,
       "Not a frame of the socket connection", "Not a frame of the socket connection"},
      {"oversized length", Header(3, 0xffffffffu) + "xxxx", false,
       "A frame of 4294967295 bytes exceeds the limit of 16777216 bytes", "exceeds the limit"},
      {"wrong version", Header(3, 0, 9), false, "Unsupported frame version 9 (this side speaks 1)",
       "Unsupported frame version 9"},
      {"truncated frame, then gone", Header(1, 100) + "0123456789", true, nullptr,
       "the connection ended inside a frame"},
      {"truncated frame, then silence", Header(1, 100) + "0123456789", false,
       "A frame did not arrive whole within 300 ms", "did not arrive whole"},
      {"header cut short, then silence", Header(1, 100).substr(0, 5), false,
       "A frame did not arrive whole within 300 ms", "did not arrive whole"},
      {"payload that does not decode", Header(1, 4) + "\xff\xff\xff\xff", false,
       "Malformed frame: server name is truncated", "server name is truncated"},
      {"call before the object request", Header(3, 0), false,
       "A call came before the server object was requested", "came before"},
      {"second object request", open + open, false, "The connection already serves 'NetTest.Echo'",
       "already serves"},
      {"answer frame from a client", open + Header(4, 0), false,
       "A client may not send frames of kind 4", "may not send"},
      {"connects and says nothing", "", false, "No server object was requested within 300 ms",
       "No server object was requested"},
      // The log line cannot be split by a name the peer chose.
      {"unknown class", OpenFrame(1, "No.Such\nFORGED", {}), false,
       "Invalid class string: No.Such\nFORGED", "Invalid class string: No.Such?FORGED"},
  };
  SocketConnection before;
  Connect(before);
  for (const auto& k : cases) {
    RawSocket hostile;
    ASSERT_TRUE(hostile.Connect(server_->Port())) << k.name;
    hostile.Send(k.bytes);
    if (k.halfClose) shutdown(hostile.Fd(), SHUT_WR);
    // The stalled peer is still connected while the others are answered.
    EXPECT_EQ(before.AppServer().Call("Echo", {Variant(k.name)}).AsAnsi(), k.name);

    bool closed = false;
    std::string received = hostile.ReadUntilClosed(closed);
    EXPECT_TRUE(closed) << k.name;
    if (k.bytes.find(open) == 0) received.erase(0, OpenedFrame(1).size());  // its Opened answer
    size_t used = 0;
    auto fault = SplitFrame(received, {}, used);
    if (k.fault) {
      ASSERT_TRUE(fault) << k.name;
      EXPECT_EQ(fault->header.kind, FrameKind::Fault) << k.name;
      const FaultMessage m = DecodeFault(fault->payload, {});
      EXPECT_EQ(m.message, k.fault) << k.name;
      EXPECT_TRUE(m.closing) << k.name;
    } else {
      EXPECT_TRUE(received.empty()) << k.name;
    }
    ASSERT_TRUE(WaitForConnections(1)) << k.name;
    const auto log = Logged();
    ASSERT_FALSE(log.empty()) << k.name;
    EXPECT_NE(log.back().find(k.logged), std::string::npos) << k.name << ": " << log.back();

    EXPECT_TRUE(before.Connected()) << k.name;
    SocketConnection after;
    Connect(after);
    EXPECT_EQ(after.AppServer().Call("Echo", {Variant(2)}).AsInteger(), 2) << k.name;
  }
}

TEST_F(DispatchServerTest, OneClientLeavingInTheMiddleOfACallDisturbsNoOther) {
  SocketConnection leaving, staying;
  Connect(leaving);
  Connect(staying);
  leaving.SetCallTimeout(200ms);
  Gate::Instance().Shut();
  EXPECT_THROW(leaving.AppServer().Call("Block"), ConnectionError);
  // The server still runs the abandoned call; the other client is answered meanwhile.
  EXPECT_EQ(staying.AppServer().Call("Echo", {Variant("fine")}).AsAnsi(), "fine");
  Gate::Instance().Open();
  ASSERT_TRUE(WaitForConnections(1));
  EXPECT_EQ(staying.AppServer().Call("Echo", {Variant("still")}).AsAnsi(), "still");
}

TEST_F(DispatchServerTest, ManyClientsAtOnceEachGetTheirOwnAnswersInOrder) {
  constexpr int kClients = 8;
  constexpr int kCalls = 200;
  std::atomic<int> wrong{0};
  std::vector<std::thread> clients;
  for (int i = 0; i < kClients; ++i)
    clients.emplace_back([&, i] {
      SocketConnection c;
      c.SetAddress(kLoopback);
      c.SetPort(server_->Port());
      c.SetServerName("NetTest.Echo");
      c.Open();
      const Variant server = c.AppServer();
      for (int n = 0; n < kCalls; ++n) {
        Variant args[] = {Variant(std::to_string(i) + "/"), Variant(std::to_string(n))};
        const bool byRef[] = {true, false};
        server.Call("Append", args, byRef);
        server.Set("Value", Variant(i * 1000 + n));
        if (args[0].AsAnsi() != std::to_string(i) + "/" + std::to_string(n) ||
            server.Get("Value").AsInteger() != i * 1000 + n)
          ++wrong;
      }
    });
  for (auto& t : clients) t.join();
  EXPECT_EQ(wrong, 0);
}

TEST_F(DispatchServerTest, ServesOnlyTheClassesItWasGiven) {
  automation::RegisterClass("NetTest.Other",
                            [] { return std::make_shared<testing::EchoServer>(); });
  ServerOptions o = Options();
  o.classNames = {"NetTest.Echo"};
  StartServer(o);
  SocketConnection c;
  EXPECT_NO_THROW(Connect(c, "NETTEST.ECHO"));
  SocketConnection other;
  try {
    Connect(other, "NetTest.Other");
    FAIL();
  } catch (const ConnectionError& e) {
    EXPECT_NE(std::string(e.what()).find("Server object 'NetTest.Other' is not served here"),
              std::string::npos)
        << e.what();
  }
  automation::UnregisterClass("NetTest.Other");
}

TEST_F(DispatchServerTest, ConnectionsBeyondTheLimitAreRefused) {
  ServerOptions o = Options();
  o.maxConnections = 2;
  StartServer(o);
  SocketConnection a, b, c;
  Connect(a);
  Connect(b);
  try {
    Connect(c);
    FAIL();
  } catch (const ConnectionError& e) {
    EXPECT_NE(std::string(e.what()).find("Too many connections (2) are open"), std::string::npos)
        << e.what();
  }
  b.Close();
  ASSERT_TRUE(WaitForConnections(1));
  Connect(c);
  EXPECT_EQ(c.AppServer().Call("Echo", {Variant(1)}).AsInteger(), 1);
}

TEST_F(DispatchServerTest, StopClosesEveryConnectionAndListenWorksAgain) {
  SocketConnection a, b;
  Connect(a);
  Connect(b);
  RawSocket idle;  // a peer halfway through a frame
  ASSERT_TRUE(idle.Connect(server_->Port()));
  idle.Send(Header(1, 50));
  ASSERT_TRUE(WaitForConnections(3));

  const auto start = Clock::now();
  server_->Stop();
  EXPECT_LT(Clock::now() - start, 1000ms);
  EXPECT_FALSE(server_->Listening());
  EXPECT_EQ(server_->ConnectionCount(), 0u);
  for (SocketConnection* c : {&a, &b}) {
    EXPECT_THROW(c->AppServer().Call("Echo", {Variant(1)}), ConnectionError);
    EXPECT_FALSE(c->Connected());
  }
  server_->Stop();  // harmless twice

  server_->Listen(kLoopback, 0);
  a.SetPort(server_->Port());
  a.Open();
  EXPECT_EQ(a.AppServer().Call("Echo", {Variant(5)}).AsInteger(), 5);
}

TEST_F(DispatchServerTest, ListenRefusesWhatItCannotBind) {
  EXPECT_THROW(server_->Listen(kLoopback, 0), automation::Error);  // already listening
  DispatchServer second;
  try {
    second.Listen(kLoopback, server_->Port());
    FAIL();
  } catch (const ConnectionError& e) {
    EXPECT_EQ(std::string(e.what()),
              "Cannot listen on 127.0.0.1:" + std::to_string(server_->Port()) +
                  ": Address already in use");
  }
  EXPECT_THROW(second.Listen("job server", 0), ConnectionError);
  EXPECT_FALSE(second.Listening());
}

}  // namespace
}  // namespace net

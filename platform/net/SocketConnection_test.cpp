#include "net/SocketConnection.h"

#include <gtest/gtest.h>

#include <future>

#include "net/SocketIo.h"
#include "testdata/Loopback.h"

namespace net {
namespace {

using automation::Variant;
using namespace std::chrono_literals;
using testing::Clock;
using testing::Gate;
using testing::kLoopback;
using testing::RawSocket;

class SocketConnectionTest : public testing::LoopbackTest {};

// The message of the automation::Error a call throws ("" when it throws none).
template <typename F>
std::string ErrorOf(F&& call) {
  try {
    call();
  } catch (const automation::Error& e) {
    return e.what();
  }
  return "";
}

TEST_F(SocketConnectionTest, EveryKindOfValueMakesTheRoundTrip) {
  SocketConnection c;
  Connect(c);
  ASSERT_TRUE(c.Connected());
  const Variant server = c.AppServer();
  ASSERT_TRUE(server.IsDispatch());
  for (const auto& sample : testing::SampleValues()) {
    const Variant back = server.Call("Echo", {sample.value});
    EXPECT_EQ(back.Type(), sample.value.Type()) << sample.name;
    EXPECT_TRUE(back == sample.value) << sample.name;
  }
}

TEST_F(SocketConnectionTest, ByReferenceArgumentsComeBackWritten) {
  SocketConnection c;
  Connect(c);
  const Variant server = c.AppServer();
  // Every kind once in each position of a swap.
  for (const auto& sample : testing::SampleValues()) {
    Variant args[] = {sample.value, Variant(7)};
    const bool byRef[] = {true, true};
    EXPECT_EQ(server.Call("Swap", args, byRef).AsAnsi(), "swapped");
    EXPECT_TRUE(args[0] == Variant(7)) << sample.name;
    EXPECT_TRUE(args[1] == sample.value) << sample.name;
  }
  // A by-value argument stays as the caller had it, whatever the server did with it.
  Variant args[] = {Variant("Job"), Variant("Server")};
  const bool byRef[] = {true, false};
  EXPECT_EQ(server.Call("Append", args, byRef).AsInteger(), 9);
  EXPECT_EQ(args[0].AsAnsi(), "JobServer");
  EXPECT_EQ(args[1].AsAnsi(), "Server");
}

TEST_F(SocketConnectionTest, PropertiesAndNamesWithoutRegardToCase) {
  SocketConnection c;
  Connect(c, "nettest.ECHO");
  const Variant server = c.AppServer();
  const Variant grid = testing::Sample("array 2-D [1..2, -1..1]");
  server.Set("value", grid);
  EXPECT_TRUE(server.Get("VALUE") == grid);
  EXPECT_EQ(server.Call("eChO", {Variant(5)}).AsInteger(), 5);
}

TEST_F(SocketConnectionTest, ServerErrorsArriveWithTheirMessageAndTheConnectionStays) {
  SocketConnection c;
  Connect(c);
  const Variant server = c.AppServer();
  const struct {
    const char* member;
    const char* message;
  } cases[] = {
      {"Fail", "Scheme not found"},
      {"FailStd", "out of range"},
      {"Missing", "Method 'Missing' not supported by automation object"},
      {"ReturnObject",
       "The answer of 'ReturnObject' cannot be sent: an automation object cannot travel over a "
       "socket connection"},
  };
  for (const auto& k : cases) {
    try {
      server.Call(k.member, {Variant("Scheme not found")});
      ADD_FAILURE() << k.member;
    } catch (const ConnectionError& e) {
      ADD_FAILURE() << k.member << ": the connection failed: " << e.what();
    } catch (const automation::Error& e) {
      EXPECT_STREQ(e.what(), k.message);
    }
    EXPECT_TRUE(c.Connected()) << k.member;
    EXPECT_EQ(server.Call("Echo", {Variant(1)}).AsInteger(), 1) << k.member;
  }
}

TEST_F(SocketConnectionTest, CallsThatCannotTravelAreRefusedBeforeSending) {
  SocketConnection c;
  WireLimits limits;
  limits.maxFrameBytes = 1000;
  c.SetLimits(limits);
  Connect(c);
  const Variant server = c.AppServer();
  EXPECT_EQ(ErrorOf([&] { server.Call("Echo", {server}); }),
            "Argument 1 of 'Echo' cannot be sent: an automation object cannot travel over a socket "
            "connection");
  EXPECT_THROW(server.Call("Echo", {Variant(std::string(2000, 'x'))}), WireError);
  EXPECT_TRUE(c.Connected());
  EXPECT_EQ(server.Call("Echo", {Variant("still here")}).AsAnsi(), "still here");
}

TEST_F(SocketConnectionTest, AnAnswerOverTheLimitClosesTheConnection) {
  SocketConnection c;
  WireLimits limits;
  limits.maxFrameBytes = 1000;
  c.SetLimits(limits);
  Connect(c);
  const Variant server = c.AppServer();
  try {
    server.Call("Big", {Variant(5000)});
    FAIL();
  } catch (const WireError& e) {
    EXPECT_EQ(e.Fault(), WireFault::TooLong);
    EXPECT_NE(std::string(e.what()).find("exceeds the limit of 1000 bytes"), std::string::npos)
        << e.what();
  }
  EXPECT_FALSE(c.Connected());
  c.Open();
  EXPECT_EQ(c.AppServer().Call("Big", {Variant(10)}).AsAnsi(), "xxxxxxxxxx");
}

TEST_F(SocketConnectionTest, EachConnectionHasItsOwnServerObject) {
  SocketConnection a, b;
  Connect(a);
  Connect(b);
  a.AppServer().Set("Value", Variant("mine"));
  EXPECT_TRUE(b.AppServer().Get("Value").IsEmpty());
  EXPECT_EQ(a.AppServer().Get("Value").AsAnsi(), "mine");
}

TEST_F(SocketConnectionTest, OpenRefusesWhatCannotBeReached) {
  const uint16_t port = server_->Port();
  const struct {
    const char* address;
    int port;
    const char* serverName;
    std::string message;
  } cases[] = {
      {"", port, "NetTest.Echo", "The socket connection has no address"},
      {"jobserver", port, "NetTest.Echo", "Invalid address 'jobserver' of the socket connection"},
      {kLoopback, 0, "NetTest.Echo", "Invalid port 0 of the socket connection"},
      {kLoopback, 65536, "NetTest.Echo", "Invalid port 65536 of the socket connection"},
      {kLoopback, port, "", "The socket connection has no server name"},
      {kLoopback, port, "No.Such",
       "The application server at 127.0.0.1:" + std::to_string(port) +
           " cannot serve 'No.Such': Invalid class string: No.Such"},
  };
  for (const auto& k : cases) {
    SocketConnection c;
    c.SetAddress(k.address);
    c.SetPort(k.port);
    c.SetServerName(k.serverName);
    try {
      c.Open();
      ADD_FAILURE() << k.message;
    } catch (const ConnectionError& e) {
      EXPECT_EQ(e.what(), k.message);
    }
    EXPECT_FALSE(c.Connected()) << k.message;
    EXPECT_TRUE(c.AppServer().IsEmpty()) << k.message;
  }
}

TEST_F(SocketConnectionTest, ConnectFailsWithinTheTimeoutWhenNobodyListens) {
  uint16_t port = 0;
  {
    RawSocket s;
    port = s.Bind(false);  // a port that was free a moment ago and has no listener now
  }
  SocketConnection c;
  c.SetAddress(kLoopback);
  c.SetPort(port);
  c.SetServerName("NetTest.Echo");
  c.SetConnectTimeout(1000ms);
  const auto start = Clock::now();
  EXPECT_EQ(ErrorOf([&] { c.Open(); }),
            "Cannot connect to 127.0.0.1:" + std::to_string(port) + ": Connection refused");
  EXPECT_LT(Clock::now() - start, 1000ms);
  EXPECT_FALSE(c.Connected());
}

TEST_F(SocketConnectionTest, OpenTimesOutWhenTheServerNeverAnswers) {
  RawSocket silent;
  const uint16_t port = silent.Bind(true);  // listens, never accepts nor answers
  SocketConnection c;
  c.SetAddress(kLoopback);
  c.SetPort(port);
  c.SetServerName("NetTest.Echo");
  c.SetConnectTimeout(300ms);
  const auto start = Clock::now();
  EXPECT_EQ(ErrorOf([&] { c.Open(); }),
            "Opening 'NetTest.Echo' to the application server at 127.0.0.1:" +
                std::to_string(port) + " timed out after 300 ms; the connection was closed");
  const auto took = Clock::now() - start;
  EXPECT_GE(took, 300ms);
  EXPECT_LT(took, 2000ms);
  EXPECT_FALSE(c.Connected());
}

TEST_F(SocketConnectionTest, ACallThatTimesOutClosesTheConnectionAndOpenWorksAgain) {
  SocketConnection c;
  Connect(c);
  c.SetCallTimeout(300ms);
  const Variant server = c.AppServer();
  Gate::Instance().Shut();
  const auto start = Clock::now();
  try {
    server.Call("Block");
    FAIL();
  } catch (const ConnectionError& e) {
    EXPECT_EQ(std::string(e.what()), "Call 'Block' to the application server at 127.0.0.1:" +
                                         std::to_string(server_->Port()) +
                                         " timed out after 300 ms; the connection was closed");
  }
  EXPECT_LT(Clock::now() - start, 2000ms);
  EXPECT_FALSE(c.Connected());
  EXPECT_TRUE(c.AppServer().IsEmpty());
  // The server object handed out earlier refuses instead of touching a dead socket.
  EXPECT_EQ(ErrorOf([&] { server.Call("Echo", {Variant(1)}); }),
            "Not connected to the application server");
  Gate::Instance().Open();

  c.Open();
  EXPECT_EQ(c.AppServer().Call("Echo", {Variant(2)}).AsInteger(), 2);
}

TEST_F(SocketConnectionTest, AServerStoppedDuringACallFailsTheCallAtOnce) {
  SocketConnection c;
  Connect(c);
  Gate::Instance().Shut();
  // Stop waits for the blocked call to return, so it runs beside the test.
  auto stopped = std::async(std::launch::async, [this] {
    Gate::Instance().WaitEntered();
    server_->Stop();
  });
  const auto start = Clock::now();
  EXPECT_EQ(ErrorOf([&] { c.AppServer().Call("Block"); }),
            "The application server at 127.0.0.1:" + std::to_string(c.Port()) +
                " closed the connection during call 'Block'");
  EXPECT_LT(Clock::now() - start, 2000ms);  // well before the 5 s call timeout
  EXPECT_FALSE(c.Connected());
  Gate::Instance().Open();
  stopped.get();

  // The same connection object reaches a server that came back.
  StartServer(Options());
  c.SetPort(server_->Port());
  c.Open();
  EXPECT_EQ(c.AppServer().Call("Echo", {Variant("back")}).AsAnsi(), "back");
}

TEST_F(SocketConnectionTest, APeerThatHangsUpInTheMiddleOfACallFailsIt) {
  RawSocket listener;
  const uint16_t port = listener.Bind(true);
  // A peer that accepts the object request, takes the call and closes without an answer.
  std::thread peer([&] {
    RawSocket s(accept(listener.Fd(), nullptr, nullptr));
    FrameHeader h;
    std::string payload;
    if (!s.ReadFrame(h, payload)) return;
    s.Send(OpenedFrame(h.sequence));
    s.ReadFrame(h, payload);
  });
  SocketConnection c;
  c.SetAddress(kLoopback);
  c.SetPort(port);
  c.SetServerName("NetTest.Echo");
  c.SetCallTimeout(5000ms);
  c.Open();
  EXPECT_EQ(ErrorOf([&] { c.AppServer().Call("Echo", {Variant(1)}); }),
            "The application server at 127.0.0.1:" + std::to_string(port) +
                " closed the connection during call 'Echo'");
  peer.join();
  EXPECT_FALSE(c.Connected());

  c.SetPort(server_->Port());
  c.Open();
  EXPECT_EQ(c.AppServer().Call("Echo", {Variant(3)}).AsInteger(), 3);
}

TEST_F(SocketConnectionTest, AnswersThatBreakTheProtocolCloseTheConnection) {
  const struct {
    const char* name;
    std::function<std::string(uint32_t sequence)> answer;
    std::string message;
  } cases[] = {
      {"garbage", [](uint32_t) { return std::string("HTTP/1.1 400 Bad Request\r\n\r\n"); },
       "Not a frame of the socket connection"},
      {"another sequence number", [](uint32_t s) { return OpenedFrame(s + 5); }, "answer"},
      {"an object request instead of an answer", [](uint32_t s) { return OpenFrame(s, "x", {}); },
       "unexpected frame kind 1"},
      {"written back what was passed by value",
       [](uint32_t s) {
         Variant v[] = {Variant(1)};
         const bool byRef[] = {true};
         return ReturnFrame(s, Variant(), automation::CallArgs{v, byRef}, {});
       },
       "argument 1 was not passed by reference"},
  };
  for (const auto& k : cases) {
    RawSocket listener;
    const uint16_t port = listener.Bind(true);
    std::thread peer([&] {
      RawSocket s(accept(listener.Fd(), nullptr, nullptr));
      FrameHeader h;
      std::string payload;
      if (!s.ReadFrame(h, payload)) return;
      s.Send(OpenedFrame(h.sequence));
      if (!s.ReadFrame(h, payload)) return;
      s.Send(k.answer(h.sequence));
      bool closed = false;
      s.ReadUntilClosed(closed);  // stays until the client hangs up
    });
    SocketConnection c;
    c.SetAddress(kLoopback);
    c.SetPort(port);
    c.SetServerName("NetTest.Echo");
    c.Open();
    const std::string error = ErrorOf([&] { c.AppServer().Call("Echo", {Variant(1)}); });
    EXPECT_NE(error.find("Invalid answer from the application server"), std::string::npos)
        << k.name << ": " << error;
    EXPECT_NE(error.find(k.message), std::string::npos) << k.name << ": " << error;
    EXPECT_FALSE(c.Connected()) << k.name;
    peer.join();
  }
}

TEST_F(SocketConnectionTest, CloseAndReopen) {
  SocketConnection c;
  Connect(c);
  const Variant first = c.AppServer();
  first.Set("Value", Variant(1));
  c.Close();
  c.Close();  // harmless twice
  EXPECT_FALSE(c.Connected());
  EXPECT_EQ(ErrorOf([&] { first.Get("Value"); }), "Not connected to the application server");
  c.SetConnected(true);
  EXPECT_TRUE(c.Connected());
  EXPECT_TRUE(c.AppServer().Get("Value").IsEmpty());  // a new session has a new object
  c.Open();                                           // already open: nothing happens
  EXPECT_TRUE(c.Connected());
  c.SetConnected(false);
  EXPECT_FALSE(c.Connected());
}

TEST_F(SocketConnectionTest, AnInProcessServerOpensNoSocket) {
  SocketConnection c;
  c.SetAddress(kLoopback);
  c.SetServerName("NetTest.Echo");
  c.SetAppServer(automation::CreateOleObject("NetTest.Echo"));
  EXPECT_FALSE(c.Connected());
  EXPECT_EQ(server_->ConnectionCount(), 0u);
  EXPECT_EQ(c.AppServer().Call("Echo", {Variant(4)}).AsInteger(), 4);
  c.Close();
  EXPECT_TRUE(c.AppServer().IsEmpty());
}

}  // namespace
}  // namespace net

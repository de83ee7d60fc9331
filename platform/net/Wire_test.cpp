#include "net/Wire.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "testdata/NetTestObjects.h"

namespace net {
namespace {

using automation::CallArgs;
using automation::InvokeKind;
using automation::VarArrayCreate;
using automation::VarArrayOf;
using automation::Variant;

std::string Bytes(std::initializer_list<int> bytes) {
  std::string s;
  for (int b : bytes) s.push_back(static_cast<char>(b));
  return s;
}

// The frame of a small call, byte for byte: peers built elsewhere rely on this layout.
TEST(Wire, CallFrameLayout) {
  Variant args[] = {Variant(1), Variant("A")};
  const bool byRef[] = {true, false};
  const std::string frame = CallFrame(7, "Echo", InvokeKind::Method, CallArgs{args, byRef}, {});
  const std::string expected = Bytes({
      'Q', 'Z', 1, 3, 26,  0,   0,   0,
      7,   0,   0, 0,                      // header: magic, version, Call, length, sequence
      4,   0,   0, 0, 'E', 'c', 'h', 'o',  // member name
      0,                                   // method call
      2,   0,   0, 0,                      // two arguments
      1,   2,   1, 0, 0,   0,              // by reference, integer 1
      0,   6,   1, 0, 0,   0,   'A',       // by value, 8-bit text "A"
  });
  EXPECT_EQ(frame, expected);
}

TEST(Wire, EveryKindOfValueSurvivesEncoding) {
  for (const auto& sample : testing::SampleValues()) {
    const Variant back = DecodeVariant(EncodeVariant(sample.value, {}), {});
    EXPECT_EQ(back.Type(), sample.value.Type()) << sample.name;
    EXPECT_TRUE(back == sample.value) << sample.name;
  }
  // -0.0 == 0.0, so the sign bit is checked on its own.
  EXPECT_TRUE(std::signbit(DecodeVariant(EncodeVariant(Variant(-0.0), {}), {}).AsDouble()));
}

TEST(Wire, CallAndReturnCarryByReferenceArgumentsOnly) {
  Variant args[] = {Variant("a"), Variant(2), Variant(u"w")};
  const bool byRef[] = {false, true, true};
  const std::string call = CallFrame(1, "Put", InvokeKind::PropertyPut, CallArgs{args, byRef}, {});
  size_t used = 0;
  auto view = SplitFrame(call, {}, used);
  ASSERT_TRUE(view);
  CallMessage m = DecodeCall(view->payload, {});
  EXPECT_EQ(m.name, "Put");
  EXPECT_EQ(m.kind, InvokeKind::PropertyPut);
  ASSERT_EQ(m.args.size(), 3u);
  EXPECT_FALSE(m.Args().IsByRef(0));
  EXPECT_TRUE(m.Args().IsByRef(2));

  m.args[0] = Variant("not sent back");
  m.args[1] = Variant(20);
  const std::string answer = ReturnFrame(1, Variant(true), m.Args(), {});
  auto answerView = SplitFrame(answer, {}, used);
  ASSERT_TRUE(answerView);
  const ReturnMessage r = DecodeReturn(answerView->payload, {});
  EXPECT_TRUE(r.result.AsBoolean());
  ASSERT_EQ(r.written.size(), 2u);
  EXPECT_EQ(r.written[0].first, 1u);
  EXPECT_EQ(r.written[0].second.AsInteger(), 20);
  EXPECT_EQ(r.written[1].first, 2u);
  EXPECT_TRUE(r.written[1].second == Variant(u"w"));
}

TEST(Wire, AutomationObjectsCannotTravel) {
  Variant args[] = {Variant(1), Variant(std::make_shared<testing::EchoServer>())};
  try {
    CallFrame(1, "Echo", InvokeKind::Method, CallArgs{args, {}}, {});
    FAIL();
  } catch (const automation::Error& e) {
    EXPECT_STREQ(e.what(),
                 "Argument 2 of 'Echo' cannot be sent: an automation object cannot travel over a "
                 "socket connection");
  }
  // Inside an array too.
  Variant inArray = VarArrayOf({Variant(std::make_shared<testing::EchoServer>())});
  EXPECT_THROW(EncodeVariant(inArray, {}), automation::Error);
}

TEST(Wire, FaultsCarryTheirMessageAndWhetherTheServerCloses) {
  size_t used = 0;
  for (bool closing : {false, true}) {
    const std::string frame = FaultFrame(9, "Scheme not found", closing, {});
    auto view = SplitFrame(frame, {}, used);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->header.kind, FrameKind::Fault);
    EXPECT_EQ(view->header.sequence, 9u);
    const FaultMessage f = DecodeFault(view->payload, {});
    EXPECT_EQ(f.message, "Scheme not found");
    EXPECT_EQ(f.closing, closing);
  }
  // A message longer than a small limit is cut rather than failing.
  WireLimits tiny;
  tiny.maxFrameBytes = 16;
  const std::string frame = FaultFrame(1, std::string(100000, 'e'), true, tiny);
  EXPECT_LT(frame.size(), 5000u);
}

// Nested arrays to the given depth, an integer at the bottom.
Variant Nest(int depth) {
  Variant v(0);
  for (int i = 0; i < depth; ++i) v = VarArrayOf({v});
  return v;
}

TEST(Wire, NestingAndElementCountAreBounded) {
  WireLimits limits;
  EXPECT_NO_THROW(DecodeVariant(EncodeVariant(Nest(limits.maxDepth), limits), limits));
  EXPECT_THROW(EncodeVariant(Nest(limits.maxDepth + 1), limits), automation::Error);
  // A peer that nests deeper anyway is refused: 40 one-element arrays by hand.
  std::string deep;
  for (int i = 0; i < 40; ++i) deep += Bytes({8, 1, 0, 0, 0, 0, 0, 0, 0, 0});
  deep += Bytes({0});
  EXPECT_THROW(DecodeVariant(deep, limits), WireError);

  WireLimits few;
  few.maxElements = 10;
  Variant eleven = VarArrayCreate({{0, 10}});
  EXPECT_THROW(EncodeVariant(eleven, few), WireError);
  EXPECT_THROW(DecodeVariant(EncodeVariant(eleven, {}), few), WireError);
  // The budget counts every level together: 4 arrays of 3 inside one of 4 = 16 elements.
  Variant wide = VarArrayOf({VarArrayCreate({{0, 2}}), VarArrayCreate({{0, 2}}),
                             VarArrayCreate({{0, 2}}), VarArrayCreate({{0, 2}})});
  EXPECT_THROW(DecodeVariant(EncodeVariant(wide, {}), few), WireError);
}

// Payloads that lie or break the rules; each is refused with a WireError, and none allocates by
// the count it announces.
TEST(Wire, HostileValuesAreRefused) {
  const struct {
    const char* name;
    std::string bytes;
    const char* message;
  } cases[] = {
      {"nothing", "", "a byte is truncated"},
      {"unknown tag", Bytes({9}), "unknown value tag 9"},
      {"boolean 2", Bytes({4, 2}), "boolean value 2"},
      {"integer cut", Bytes({2, 1, 0}), "a number is truncated"},
      {"text longer than the bytes", Bytes({6, 0xff, 0xff, 0xff, 0xff, 'a'}),
       "8-bit text is truncated"},
      {"wide text longer than the bytes", Bytes({7, 0xff, 0xff, 0xff, 0x7f, 'a', 0}),
       "wide text of 2147483647 units is truncated"},
      {"odd wide byte", Bytes({7, 1, 0, 0, 0, 'a'}), "wide text of 1 units is truncated"},
      {"three dimensions", Bytes({8, 3}), "array of 3 dimensions"},
      {"zero dimensions", Bytes({8, 0}), "array of 0 dimensions"},
      {"high below low - 1", Bytes({8, 1, 5, 0, 0, 0, 2, 0, 0, 0}), "array bounds 5..2"},
      {"bounds wider than int", Bytes({8, 1, 0, 0, 0, 0x80, 0xff, 0xff, 0xff, 0x7f}),
       "array bounds -2147483648..2147483647"},
      {"two billion elements in one byte", Bytes({8, 1, 0, 0, 0, 0, 0xfe, 0xff, 0xff, 0x7f, 0}),
       "array of 2147483647 elements in 1 bytes"},
      {"2-D product beyond the bytes",
       Bytes({8, 2, 0, 0, 0, 0, 0xff, 0xff, 0, 0, 0, 0, 0, 0, 0xff, 0xff, 0, 0, 0}),
       "array of 4294967296 elements in 1 bytes"},
      {"elements cut short", Bytes({8, 1, 1, 0, 0, 0, 3, 0, 0, 0, 0, 0}),
       "array of 3 elements in 2 bytes"},
      {"bytes left over", Bytes({0, 0}), "1 bytes left over"},
  };
  for (const auto& c : cases) {
    try {
      DecodeVariant(c.bytes, {});
      ADD_FAILURE() << c.name;
    } catch (const WireError& e) {
      EXPECT_EQ(e.Fault(), WireFault::Malformed) << c.name;
      EXPECT_EQ(std::string(e.what()), std::string("Malformed frame: ") + c.message) << c.name;
    }
  }
}

TEST(Wire, HostileCallsAndAnswersAreRefused) {
  const std::string name = Bytes({1, 0, 0, 0, 'X'});
  const struct {
    const char* name;
    std::string bytes;
    bool isCall;
    const char* message;
  } cases[] = {
      {"call kind 3", name + Bytes({3, 0, 0, 0, 0}), true, "unknown call kind 3"},
      {"argument count beyond the bytes", name + Bytes({0, 0xff, 0xff, 0xff, 0xff, 0, 0}), true,
       "4294967295 arguments in 2 bytes"},
      {"stray argument flag", name + Bytes({0, 1, 0, 0, 0, 2, 0}), true, "argument flags 2"},
      {"written count beyond the bytes", Bytes({0, 0xff, 0xff, 0, 0, 0}), false,
       "65535 written arguments in 1 bytes"},
      {"written out of order", Bytes({0, 2, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0}), false,
       "written argument 1 out of order"},
  };
  for (const auto& c : cases) {
    try {
      if (c.isCall)
        DecodeCall(c.bytes, {});
      else
        DecodeReturn(c.bytes, {});
      ADD_FAILURE() << c.name;
    } catch (const WireError& e) {
      EXPECT_EQ(std::string(e.what()), std::string("Malformed frame: ") + c.message) << c.name;
    }
  }
}

TEST(Wire, HeadersAreCheckedBeforeThePayloadIsRead) {
  WireLimits limits;
  limits.maxFrameBytes = 1000;
  const struct {
    const char* name;
    std::string header;
    WireFault fault;
    const char* message;
  } cases[] = {
      {"garbage", "GET / HTTP/1.1\r\n", WireFault::BadMagic,
       "Not a frame of the socket connection"},
      {"version 2", Bytes({'Q', 'Z', 2, 3, 0, 0, 0, 0, 0, 0, 0, 0}), WireFault::BadVersion,
       "Unsupported frame version 2 (this side speaks 1)"},
      {"length over the limit", Bytes({'Q', 'Z', 1, 3, 0xe9, 3, 0, 0, 0, 0, 0, 0}),
       WireFault::TooLong, "A frame of 1001 bytes exceeds the limit of 1000 bytes"},
      {"length 4 GiB", Bytes({'Q', 'Z', 1, 3, 0xff, 0xff, 0xff, 0xff, 0, 0, 0, 0}),
       WireFault::TooLong, "A frame of 4294967295 bytes exceeds the limit of 1000 bytes"},
      {"unknown kind", Bytes({'Q', 'Z', 1, 6, 0, 0, 0, 0, 0, 0, 0, 0}), WireFault::Malformed,
       "Malformed frame: unknown kind 6"},
  };
  for (const auto& c : cases) {
    size_t used = 0;
    try {
      SplitFrame(c.header, limits, used);
      ADD_FAILURE() << c.name;
    } catch (const WireError& e) {
      EXPECT_EQ(e.Fault(), c.fault) << c.name;
      EXPECT_STREQ(e.what(), c.message) << c.name;
    }
  }
  // Garbage shows from its first byte; a true frame that is not complete yet is just waited for.
  size_t used = 0;
  EXPECT_THROW(SplitFrame("G", limits, used), WireError);
  const std::string frame = OpenFrame(1, "NetTest.Echo", limits);
  for (size_t n = 0; n < frame.size(); ++n)
    EXPECT_FALSE(SplitFrame(std::string_view(frame).substr(0, n), limits, used)) << n;
  EXPECT_TRUE(SplitFrame(frame + "next", limits, used));
  EXPECT_EQ(used, frame.size());
}

// Random damage to valid frames: every outcome is a decoded frame or a WireError, never a
// crash, a hang or another exception. A fixed seed keeps the run repeatable.
TEST(Wire, DamagedFramesNeverEscapeAsAnythingButWireErrors) {
  std::vector<std::string> seeds;
  std::vector<Variant> values;
  for (const auto& s : testing::SampleValues()) values.push_back(s.value);
  std::unique_ptr<bool[]> byRef(new bool[values.size()]);
  for (size_t i = 0; i < values.size(); ++i) byRef[i] = i % 2 == 0;
  const CallArgs all{values, std::span<const bool>(byRef.get(), values.size())};
  seeds.push_back(CallFrame(1, "Request", InvokeKind::Method, all, {}));
  seeds.push_back(ReturnFrame(2, VarArrayOf(values), all, {}));
  seeds.push_back(OpenFrame(3, "ReportCounterS.dmReportCounter", {}));
  seeds.push_back(FaultFrame(4, "Scheme not found", true, {}));

  WireLimits limits;
  limits.maxFrameBytes = 1 << 16;
  std::mt19937 random(20240229);
  int decoded = 0;
  for (int round = 0; round < 20000; ++round) {
    std::string bytes = seeds[random() % seeds.size()];
    const int edits = 1 + static_cast<int>(random() % 4);
    for (int e = 0; e < edits; ++e) {
      const size_t at = random() % bytes.size();
      switch (random() % 4) {
        case 0:
          bytes[at] = static_cast<char>(random());
          break;
        case 1:
          bytes.resize(at);
          break;
        case 2:
          bytes.insert(at, 1 + random() % 8, static_cast<char>(random()));
          break;
        case 3:  // a 32-bit field made large, where counts and lengths live
          for (size_t k = at; k < std::min(bytes.size(), at + 4); ++k)
            bytes[k] = static_cast<char>(0x7f | random());
          break;
      }
      if (bytes.empty()) bytes = "Q";
    }
    try {
      size_t used = 0;
      auto view = SplitFrame(bytes, limits, used);
      if (!view) continue;
      switch (view->header.kind) {
        case FrameKind::Open:
          DecodeOpen(view->payload, limits);
          break;
        case FrameKind::Call:
          DecodeCall(view->payload, limits);
          break;
        case FrameKind::Return:
          DecodeReturn(view->payload, limits);
          break;
        case FrameKind::Fault:
          DecodeFault(view->payload, limits);
          break;
        case FrameKind::Opened:
          break;
      }
      ++decoded;
    } catch (const WireError&) {
    } catch (const std::exception& e) {
      FAIL() << "round " << round << ": " << e.what();
    }
  }
  EXPECT_GT(decoded, 0);  // some damage (inside text bytes, say) still decodes
}

}  // namespace
}  // namespace net

// Server objects and sample values shared by the socket tests.
//
// "NetTest.Echo" is registered by class name the way the job server is; every connection gets
// its own object. Its Block method waits at a gate the test opens, to stand for a call that
// hangs in the server.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "automation/ClassRegistry.h"
#include "automation/DateTime.h"
#include "automation/Dispatch.h"
#include "automation/Variant.h"

namespace net::testing {

using automation::CallArgs;
using automation::Variant;

// A gate that calls of Block wait at until the test opens it (or ten seconds pass, so that a
// failing test never hangs the run).
class Gate {
 public:
  static Gate& Instance() {
    static Gate gate;
    return gate;
  }
  void Shut() {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = false;
    entered_ = 0;
  }
  void Open() {
    std::lock_guard<std::mutex> lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  void Pass() {
    std::unique_lock<std::mutex> lock(mutex_);
    ++entered_;
    changed_.notify_all();
    changed_.wait_for(lock, std::chrono::seconds(10), [this] { return open_; });
  }
  // Waits until a call is inside Block.
  bool WaitEntered() {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, std::chrono::seconds(10), [this] { return entered_ > 0; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = true;
  int entered_ = 0;
};

class EchoServer : public automation::DispatchTable {
 public:
  EchoServer() {
    DefineMethod("Echo", [](CallArgs a) { return a[0]; });
    // Swaps its two by-reference arguments.
    DefineMethod("Swap", [](CallArgs a) {
      std::swap(a[0], a[1]);
      return Variant("swapped");
    });
    // Appends the second argument's text to the first, and also changes the second, which the
    // caller passes by value and must not see changed.
    DefineMethod("Append", [](CallArgs a) {
      a[0] = Variant(a[0].AsAnsi() + a[1].AsAnsi());
      a[1] = Variant("changed");
      return Variant(static_cast<int>(a[0].AsAnsi().size()));
    });
    DefineMethod("Fail", [](CallArgs a) -> Variant { throw automation::Error(a[0].AsAnsi()); });
    DefineMethod("FailStd", [](CallArgs) -> Variant { throw std::runtime_error("out of range"); });
    DefineMethod("ReturnObject", [](CallArgs) { return Variant(std::make_shared<EchoServer>()); });
    DefineMethod("Big", [](CallArgs a) { return Variant(std::string(a[0].AsInteger(), 'x')); });
    DefineMethod("Block", [](CallArgs) {
      Gate::Instance().Pass();
      return Variant(true);
    });
    DefineProperty(
        "Value", [this] { return value_; }, [this](const Variant& v) { value_ = v; });
  }

 private:
  Variant value_;
};

inline void RegisterTestClasses() {
  automation::RegisterClass("NetTest.Echo", [] { return std::make_shared<EchoServer>(); });
}

struct SampleValue {
  const char* name;
  Variant value;
};

// One value of every kind that travels, with the corners that tend to break encoders.
inline std::vector<SampleValue> SampleValues() {
  using automation::VarArrayCreate;
  using automation::VarArrayOf;
  Variant grid = VarArrayCreate({{1, 2}, {-1, 1}});  // two dimensions with their own bounds
  for (int r = 1; r <= 2; ++r)
    for (int c = -1; c <= 1; ++c) grid.ElementAt(r, c) = Variant(r * 10 + c);
  grid.ElementAt(2, 0) = Variant(u"\u4e2d");
  Variant months = VarArrayCreate({{1, 12}});
  for (int m = 1; m <= 12; ++m) months[m] = Variant::FromDate(automation::EncodeDate(2024, m, 1));
  Variant nested = VarArrayOf(
      {Variant("top"), VarArrayOf({Variant(1), VarArrayOf({Variant::Null(), Variant()})}), grid});
  return {
      {"empty", Variant()},
      {"null", Variant::Null()},
      {"integer", Variant(-123456)},
      {"integer min", Variant(INT32_MIN)},
      {"integer max", Variant(INT32_MAX)},
      {"double", Variant(3.25)},
      {"negative zero", Variant(-0.0)},
      {"double large", Variant(1.5e300)},
      {"boolean true", Variant(true)},
      {"boolean false", Variant(false)},
      {"date with time", Variant::FromDate(automation::EncodeDate(2024, 2, 29) + 0.75)},
      {"8-bit GBK text", Variant(std::string("\xd6\xd0\xce\xc4 ABC"))},
      {"8-bit text with NUL and 0xFF", Variant(std::string("a\0b\xff", 4))},
      {"8-bit empty", Variant("")},
      {"wide text", Variant(u"\u4e2d\u6587 \U0001F600")},
      {"wide empty", Variant(u"")},
      {"array 1..12 of dates", months},
      {"array 2-D [1..2, -1..1]", grid},
      {"empty array 0..-1", VarArrayCreate({{0, -1}})},
      {"nested arrays", nested},
  };
}

// The sample of that name.
inline Variant Sample(std::string_view name) {
  for (auto& s : SampleValues())
    if (name == s.name) return s.value;
  throw std::logic_error("no sample " + std::string(name));
}

}  // namespace net::testing

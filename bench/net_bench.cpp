// Calls to the application server: a small call over the loopback socket connection beside the
// same call made in process, and the encoding of that call on its own. Each reports calls per
// second and the median and 99th-percentile latency of one call, from per-call times.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <vector>

#include "automation/ClassRegistry.h"
#include "automation/Dispatch.h"
#include "net/DispatchServer.h"
#include "net/SocketConnection.h"
#include "net/Wire.h"

namespace {

using automation::CallArgs;
using automation::Variant;
using Clock = std::chrono::steady_clock;

// The server object: a small call, and one shaped like a job request (environment, titles and
// values of twenty wide texts each) answered with a job number through a by-reference argument.
class BenchServer : public automation::DispatchTable {
 public:
  BenchServer() {
    DefineMethod("Add", [](CallArgs a) { return Variant(a[0].AsInteger() + a[1].AsInteger()); });
    DefineMethod("Request", [this](CallArgs a) {
      a[1] = Variant(u"J" + std::u16string(10, u'0') + static_cast<char16_t>(u'0' + ++jobs_ % 10));
      return Variant(a[0].Array().ElementCount());
    });
  }

 private:
  int jobs_ = 0;
};

Variant JobRequest() {
  std::vector<Variant> parts;
  for (int p = 0; p < 3; ++p) {
    std::vector<Variant> texts;
    for (int i = 0; i < 20; ++i)
      texts.emplace_back(u"\u9000\u8d27\u5355 PR01-20240229" + std::u16string(1, u'0' + i % 10));
    parts.push_back(automation::VarArrayOf(std::move(texts)));
  }
  return automation::VarArrayOf(std::move(parts));
}

// One server and one connection for the whole run, on the loopback address and a free port.
struct Loopback {
  net::DispatchServer server;
  net::SocketConnection connection;
  Loopback() {
    automation::RegisterClass("Bench.Server", [] { return std::make_shared<BenchServer>(); });
    server.Listen("127.0.0.1", 0);
    connection.SetAddress("127.0.0.1");
    connection.SetPort(server.Port());
    connection.SetServerName("Bench.Server");
    connection.Open();
  }
  static Loopback& Instance() {
    static Loopback loopback;
    return loopback;
  }
};

// Runs `call` once per iteration, timing each, and reports calls/s, p50 and p99.
template <typename F>
void TimedCalls(benchmark::State& state, F&& call) {
  std::vector<double> ns;
  ns.reserve(1 << 20);
  for (auto _ : state) {
    const auto start = Clock::now();
    call();
    const auto took = Clock::now() - start;
    if (ns.size() < ns.capacity())
      ns.push_back(std::chrono::duration<double, std::nano>(took).count());
  }
  state.counters["calls/s"] =
      benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
  if (ns.empty()) return;
  auto at = [&ns](double q) {
    auto it = ns.begin() + static_cast<std::ptrdiff_t>(q * static_cast<double>(ns.size() - 1));
    std::nth_element(ns.begin(), it, ns.end());
    return *it / 1000.0;
  };
  state.counters["p50_us"] = at(0.50);
  state.counters["p99_us"] = at(0.99);
}

void BM_SmallCallInProcess(benchmark::State& state) {
  const Variant server(std::make_shared<BenchServer>());
  TimedCalls(state, [&] {
    benchmark::DoNotOptimize(server.Call("Add", {Variant(1), Variant(2)}));
  });
}
BENCHMARK(BM_SmallCallInProcess)->UseRealTime();

void BM_SmallCallLoopback(benchmark::State& state) {
  const Variant server = Loopback::Instance().connection.AppServer();
  TimedCalls(state, [&] {
    benchmark::DoNotOptimize(server.Call("Add", {Variant(1), Variant(2)}));
  });
}
BENCHMARK(BM_SmallCallLoopback)->UseRealTime();

void BM_JobRequestInProcess(benchmark::State& state) {
  const Variant server(std::make_shared<BenchServer>());
  TimedCalls(state, [&] {
    Variant args[] = {JobRequest(), Variant()};
    const bool byRef[] = {false, true};
    benchmark::DoNotOptimize(server.Call("Request", args, byRef));
  });
}
BENCHMARK(BM_JobRequestInProcess)->UseRealTime();

void BM_JobRequestLoopback(benchmark::State& state) {
  const Variant server = Loopback::Instance().connection.AppServer();
  TimedCalls(state, [&] {
    Variant args[] = {JobRequest(), Variant()};
    const bool byRef[] = {false, true};
    benchmark::DoNotOptimize(server.Call("Request", args, byRef));
  });
}
BENCHMARK(BM_JobRequestLoopback)->UseRealTime();

// The wire format alone: encoding the small call and decoding it as the server does.
void BM_SmallCallEncodeDecode(benchmark::State& state) {
  const net::WireLimits limits;
  TimedCalls(state, [&] {
    Variant args[] = {Variant(1), Variant(2)};
    const std::string frame =
        net::CallFrame(1, "Add", automation::InvokeKind::Method, CallArgs{args, {}}, limits);
    size_t used = 0;
    auto view = net::SplitFrame(frame, limits, used);
    benchmark::DoNotOptimize(net::DecodeCall(view->payload, limits));
  });
}
BENCHMARK(BM_SmallCallEncodeDecode)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();

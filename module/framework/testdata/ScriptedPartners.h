// Scripted partners of the option window for the tests: a work-center manager with its counter,
// validator and lookup-window services, and a job server, each a dispatch object that records
// every call (name and arguments as received) and answers from what the test put into it.
#pragma once

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "automation/Dispatch.h"
#include "automation/Variant.h"

namespace scripted {

using automation::CallArgs;
using automation::Variant;

struct Call {
  std::string name;
  std::vector<Variant> args;
};

// A dispatch table that records its calls.
class Recorder : public automation::DispatchTable {
 public:
  std::vector<Call> calls;

  // The calls of that name, in order.
  std::vector<Call> CallsOf(const std::string& name) const {
    std::vector<Call> found;
    for (const Call& c : calls) {
      if (automation::SameName(c.name, name)) found.push_back(c);
    }
    return found;
  }
  int CountOf(const std::string& name) const { return static_cast<int>(CallsOf(name).size()); }

 protected:
  // Declares a method that records its arguments before answering.
  void Method(std::string name, std::function<Variant(CallArgs)> answer) {
    DefineMethod(name, [this, name, answer](CallArgs a) {
      calls.push_back({name, std::vector<Variant>(a.values.begin(), a.values.end())});
      return answer(a);
    });
  }
  // Declares a written property that records the value as a call "Set<Name>".
  void WrittenProperty(std::string name, Variant* store) {
    DefineProperty(
        name, [store] { return *store; },
        [this, name, store](const Variant& v) {
          calls.push_back({"Set" + name, {v}});
          *store = v;
        });
  }
};

// Counter service: GetSysInfo answers the name/value rows of `sysInfo`; GetCounter answers
// `counters[name]`.
class Counter : public Recorder {
 public:
  std::vector<std::pair<std::string, std::string>> sysInfo;
  std::map<std::string, Variant> counters;

  Counter() {
    Method("GetSysInfo", [this](CallArgs) {
      if (sysInfo.empty()) return Variant();
      Variant answer = automation::VarArrayCreate(
          {{0, 1}, {0, static_cast<int>(sysInfo.size()) - 1}});
      for (size_t i = 0; i < sysInfo.size(); ++i) {
        answer.ElementAt(0, static_cast<int>(i)) = sysInfo[i].first;
        answer.ElementAt(1, static_cast<int>(i)) = sysInfo[i].second;
      }
      return answer;
    });
    Method("GetCounter", [this](CallArgs a) {
      auto it = counters.find(a[0].AsAnsi());
      return it == counters.end() ? Variant() : it->second;
    });
  }
};

// Validator service: QueryData and CheckValue answer from `answers[table + "/" + key]` (the
// result is written into the fifth argument); an unknown pair answers false.
class Validator : public Recorder {
 public:
  std::map<std::string, Variant> answers;
  Variant productId;
  Variant baseLimited;
  bool raise = false;

  Validator() {
    WrittenProperty("ProductID", &productId);
    WrittenProperty("BaseLimited", &baseLimited);
    auto answer = [this](CallArgs a) {
      if (raise) throw automation::Error("validator is down");
      auto it = answers.find(a[0].AsAnsi() + "/" + a[1].AsAnsi());
      if (it == answers.end()) return Variant(false);
      a[4] = it->second;
      return Variant(true);
    };
    Method("QueryData", answer);
    Method("CheckValue", answer);
  }
};

// Lookup-window service: F2GetData answers `lookupAnswer`, ShowInputDay `pickedDay`,
// GetPhrase `phrase`.
class Lookup : public Recorder {
 public:
  Variant lookupAnswer;
  std::string pickedDay;
  std::string phrase;

  Lookup() {
    Method("F2GetData", [this](CallArgs) { return lookupAnswer; });
    Method("ShowInputDay", [this](CallArgs) { return Variant(pickedDay); });
    Method("GetPhrase", [this](CallArgs) { return Variant(phrase); });
  }
};

// Work-center manager: its three services, VersionType, ProductID (raising while `productId`
// is empty), GetMessage from `messages[type + number]` (default "<type><number>:%s"), CallHelp
// and GetFileList.
class Manager : public Recorder {
 public:
  std::shared_ptr<Counter> counter = std::make_shared<Counter>();
  std::shared_ptr<Validator> validator = std::make_shared<Validator>();
  std::shared_ptr<Lookup> lookup = std::make_shared<Lookup>();
  std::map<std::string, std::string> messages;
  Variant productId = 1;
  bool servicesAvailable = true;

  Manager() {
    Method("Com_Counter", [this](CallArgs) { return Service(counter); });
    Method("Com_Validator", [this](CallArgs) { return Service(validator); });
    Method("Com_F2Window", [this](CallArgs) { return Service(lookup); });
    Method("VersionType", [](CallArgs) { return Variant(1); });
    Method("ProductID", [this](CallArgs) {
      if (productId.IsEmpty()) throw automation::Error("ProductID not available");
      return productId;
    });
    Method("GetMessage", [this](CallArgs a) {
      const std::string key = a[0].AsAnsi() + a[1].AsAnsi();
      auto it = messages.find(key);
      return Variant(it == messages.end() ? key + ":%s" : it->second);
    });
    Method("CallHelp", [](CallArgs) { return Variant(); });
    Method("GetFileList", [](CallArgs) { return Variant(std::string()); });
  }

 private:
  Variant Service(std::shared_ptr<automation::DispatchObject> service) {
    if (!servicesAvailable) throw automation::Error("service not available");
    return Variant(std::move(service));
  }
};

}  // namespace scripted

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <system_error>

namespace scripted {

// A client installation for one test: a registry store naming a client folder whose
// "VarnelC.ini" lists the job server's address and port. Installed through QRN_REGISTRY for the
// object's lifetime.
class ClientInstallation {
 public:
  ClientInstallation(const std::string& address, int port) {
    const char* build = std::getenv("QZLB27_BUILD_DIR");
    // A folder of its own, made unique by the system: test processes run side by side, and one
    // test's folder goes when it ends.
    const std::filesystem::path root =
        std::filesystem::path(build && *build ? build : "/tmp") / "gene-client";
    std::filesystem::create_directories(root);
    std::string pattern = (root / "client-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
      throw std::filesystem::filesystem_error("cannot make a client folder", root,
                                              std::error_code(errno, std::generic_category()));
    }
    folder_ = pattern;
    std::ofstream(folder_ / "registry.ini")
        << "[HKEY_LOCAL_MACHINE\\Software\\QRN\\Varnel]\nClientPath=" << folder_.string()
        << "/\nProfileType=0\n";
    std::ofstream(folder_ / "VarnelC.ini") << "[Server Information]\nComputerName=" << address
                                           << "\nServerPort=" << port << "\n";
    const char* previous = std::getenv("QRN_REGISTRY");
    previous_ = previous ? previous : "";
    setenv("QRN_REGISTRY", (folder_ / "registry.ini").c_str(), 1);
  }
  ~ClientInstallation() {
    setenv("QRN_REGISTRY", previous_.c_str(), 1);
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }
  ClientInstallation(const ClientInstallation&) = delete;
  ClientInstallation& operator=(const ClientInstallation&) = delete;

 private:
  std::filesystem::path folder_;
  std::string previous_;
};

}  // namespace scripted

// A small library loaded by name in the automation tests.
#include "automation/Dispatch.h"

namespace {
class Echo : public automation::DispatchTable {
 public:
  explicit Echo(std::string className) {
    DefineMethod("ClassName", [className](automation::CallArgs) { return automation::Variant(className); });
    DefineMethod("Twice", [](automation::CallArgs a) { return automation::Variant(a[0].AsInteger() * 2); });
  }
};
}  // namespace

extern "C" __attribute__((visibility("default"))) automation::DispatchObject* CreateEcho(const char* className) {
  return new Echo(className);
}

extern "C" __attribute__((visibility("default"))) int AddOne(int value) { return value + 1; }

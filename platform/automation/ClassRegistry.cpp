#include "automation/ClassRegistry.h"

#include <map>
#include <mutex>

#include "automation/DynamicLibrary.h"
#include "os/Registry.h"

namespace automation {
namespace {

struct Registry {
  std::mutex mutex;
  std::map<std::string, ClassFactory, NameLess> factories;
  ClassLocator locator;
  std::map<std::string, std::unique_ptr<DynamicLibrary>> libraries;  // by file, kept loaded
};

Registry& TheRegistry() {
  static Registry registry;
  return registry;
}

// The default locator: the class key of the registry store.
std::optional<ClassLocation> StoreLocation(std::string_view className) {
  std::optional<os::RegisteredClass> found = os::FindRegisteredClass(className);
  if (!found) return std::nullopt;
  return ClassLocation{std::move(found->library), std::move(found->factory)};
}

}  // namespace

void RegisterClass(std::string className, ClassFactory factory) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.factories[std::move(className)] = std::move(factory);
}

void UnregisterClass(std::string_view className) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  auto it = r.factories.find(className);
  if (it != r.factories.end()) r.factories.erase(it);
}

void SetClassLocator(ClassLocator locator) {
  Registry& r = TheRegistry();
  std::lock_guard<std::mutex> lock(r.mutex);
  r.locator = std::move(locator);
}

DispatchPtr CreateObject(std::string_view className) {
  Registry& r = TheRegistry();
  ClassFactory factory;
  ClassLocator locator;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    auto it = r.factories.find(className);
    if (it != r.factories.end()) factory = it->second;
    locator = r.locator;
  }
  if (factory) {
    DispatchPtr object = factory();
    if (!object) throw Error("Class '" + std::string(className) + "' created no object");
    return object;
  }
  std::optional<ClassLocation> where = locator ? locator(className) : StoreLocation(className);
  if (!where) throw Error("Invalid class string: " + std::string(className));

  FactoryEntry entry = nullptr;
  {
    std::lock_guard<std::mutex> lock(r.mutex);
    auto lib = r.libraries.find(where->library);
    if (lib == r.libraries.end()) {
      auto loaded = DynamicLibrary::Load(where->library);
      lib = r.libraries.emplace(where->library, std::move(loaded)).first;
      lib->second->Pin();  // objects created from it may outlive any handle we keep
    }
    entry = lib->second->EntryAs<DispatchObject*(const char*)>(where->factory);
  }
  if (!entry)
    throw Error("Entry '" + where->factory + "' not found in " + where->library);
  DispatchObject* raw = entry(std::string(className).c_str());
  if (!raw) throw Error("Class '" + std::string(className) + "' created no object");
  return DispatchPtr(raw);
}

Variant CreateOleObject(std::string_view className) { return Variant(CreateObject(className)); }

}  // namespace automation

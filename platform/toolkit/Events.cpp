#include "toolkit/Events.h"

#include <QMetaObject>
#include <map>
#include <memory>

#include "automation/Dispatch.h"

namespace toolkit {
namespace {

// Published handlers per class; the entries live as long as the process, so a Method's code
// stays valid wherever it was saved.
using HandlerTable = std::map<std::string, std::unique_ptr<HandlerCode>, automation::NameLess>;

std::map<const QMetaObject*, HandlerTable>& Published() {
  static std::map<const QMetaObject*, HandlerTable> tables;
  return tables;
}

std::map<int, detail::EventTypeInfo>& EventTypes() {
  static std::map<int, detail::EventTypeInfo> types;
  return types;
}

}  // namespace

HandlerCode::HandlerCode(std::string name, const QMetaObject* owner, std::type_index signature,
                         std::any invoker)
    : name_(std::move(name)), owner_(owner), signature_(signature), invoker_(std::move(invoker)) {}

std::string Method::Name() const {
  return Code ? Code->Name() : std::string();
}

namespace detail {

void RegisterEventType(QMetaType type, const EventTypeInfo& info) {
  EventTypes().emplace(type.id(), info);
}

const EventTypeInfo* FindEventType(QMetaType type) {
  auto& types = EventTypes();
  auto it = types.find(type.id());
  return it == types.end() ? nullptr : &it->second;
}

void ThrowSignatureMismatch(const Method& method) {
  throw Error("The handler " + method.Name() + " does not take the arguments of this event");
}

void ThrowWrongHandlerObject() {
  throw Error("The handler is bound to an object of another class");
}

const HandlerCode* PublishHandler(const QMetaObject* owner, std::string name,
                                  std::type_index signature, std::any invoker) {
  auto code = std::make_unique<HandlerCode>(name, owner, signature, std::move(invoker));
  const HandlerCode* result = code.get();
  Published()[owner][name] = std::move(code);
  return result;
}

}  // namespace detail

Method FindMethod(Component* object, std::string_view name) {
  if (!object || name.empty()) return {};
  auto& tables = Published();
  for (const QMetaObject* meta = object->Object()->metaObject(); meta; meta = meta->superClass()) {
    auto table = tables.find(meta);
    if (table == tables.end()) continue;
    auto entry = table->second.find(name);
    if (entry != table->second.end()) return Method{entry->second.get(), object};
  }
  return {};
}

bool CallMethod(Component* object, std::string_view name, Component* sender) {
  Method method = FindMethod(object, name);
  if (method.IsEmpty()) return false;
  CallHandler(method, sender);
  return true;
}

}  // namespace toolkit

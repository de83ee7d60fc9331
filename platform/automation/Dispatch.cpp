#include "automation/Dispatch.h"

#include <algorithm>
#include <cctype>

namespace automation {

Variant& CallArgs::operator[](size_t i) const {
  if (i >= values.size()) throw Error("Parameter not optional");
  return values[i];
}

bool NameLess::operator()(std::string_view a, std::string_view b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) < std::tolower(static_cast<unsigned char>(y));
  });
}

bool SameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && !NameLess{}(a, b) && !NameLess{}(b, a);
}

Variant DispatchTable::Invoke(std::string_view name, InvokeKind kind, CallArgs args) {
  auto it = members_.find(name);
  if (it == members_.end())
    throw Error("Method '" + std::string(name) + "' not supported by automation object");
  Member& m = it->second;
  switch (kind) {
    case InvokeKind::Method:
      if (m.method) return m.method(args);
      if (m.get && args.Count() == 0) return m.get();
      break;
    case InvokeKind::PropertyGet:
      if (m.get) return m.get();
      if (m.method) return m.method(args);
      break;
    case InvokeKind::PropertyPut:
      if (m.set) {
        if (args.Count() == 0) throw Error("Parameter not optional");
        m.set(args.values.back());
        return {};
      }
      if (m.get) throw Error("Property '" + std::string(name) + "' is read only");
      break;
  }
  throw Error("Member '" + std::string(name) + "' cannot be used that way");
}

bool DispatchTable::HasMember(std::string_view name) const { return members_.count(name) > 0; }

void DispatchTable::DefineMethod(std::string name, Method method) {
  members_[std::move(name)] = Member{std::move(method), {}, {}};
}

void DispatchTable::DefineProperty(std::string name, Getter get, Setter set) {
  members_[std::move(name)] = Member{{}, std::move(get), std::move(set)};
}

}  // namespace automation

// Dispatch objects: automation objects that answer calls by name.
//
// A caller invokes a method, reads a property or writes one, by a name compared without regard
// to case, with Variant arguments. Arguments marked by reference may be written by the callee;
// the caller sees the written value afterwards (the way a late-bound call hands over variables).
// Objects written in C++ derive from DispatchTable and declare their members by name; the
// socket connection of platform/net and scripted test partners are DispatchObjects too.
#pragma once

#include <functional>
#include <map>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "automation/Variant.h"

namespace automation {

enum class InvokeKind { Method, PropertyGet, PropertyPut };

// Positional arguments of one call. `byRef` has one flag per value (missing flags mean "by
// value"); the callee may write any value, but only by-reference ones travel back to a remote
// caller.
struct CallArgs {
  std::span<Variant> values;
  std::span<const bool> byRef;

  size_t Count() const { return values.size(); }
  bool IsByRef(size_t i) const { return i < byRef.size() && byRef[i]; }
  // The i-th argument; throws "Parameter not optional" when the call has fewer.
  Variant& operator[](size_t i) const;
};

class DispatchObject {
 public:
  virtual ~DispatchObject() = default;

  // Invokes a member. A property write passes the new value as the last argument. Throws
  // automation::Error for a name the object does not have or a call it refuses.
  virtual Variant Invoke(std::string_view name, InvokeKind kind, CallArgs args) = 0;

  // Whether the object answers to the name; remote objects may answer true for any name.
  virtual bool HasMember(std::string_view name) const = 0;
};

// Case-insensitive comparison of member and class names.
struct NameLess {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const;
};
bool SameName(std::string_view a, std::string_view b);

// A dispatch object whose members are declared by name.
class DispatchTable : public DispatchObject {
 public:
  using Method = std::function<Variant(CallArgs)>;
  using Getter = std::function<Variant()>;
  using Setter = std::function<void(const Variant&)>;

  Variant Invoke(std::string_view name, InvokeKind kind, CallArgs args) override;
  bool HasMember(std::string_view name) const override;

  // Declares (or replaces) a method. Reading it as a property calls it without arguments.
  void DefineMethod(std::string name, Method method);
  // Declares a property; without a setter it is read-only.
  void DefineProperty(std::string name, Getter get, Setter set = {});

 private:
  struct Member {
    Method method;
    Getter get;
    Setter set;
  };
  std::map<std::string, Member, NameLess> members_;
};

}  // namespace automation

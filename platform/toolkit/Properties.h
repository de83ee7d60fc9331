// Published properties by name: what the module reads and writes without knowing a control's
// class (condition schemes, language packs, field checks, form descriptions).
//
// A published property is a Q_PROPERTY whose name starts with an upper-case letter, declared by
// the object's class or by one of the component mixins; names are compared without regard to
// case. Kinds:
//   integer      int (and TColor, TCursor, with their name tables "clRed", "crHourGlass")
//   enumeration  a Q_ENUM (names as the module writes them: "alClient", "sp_Range"); booleans
//                are the enumeration False, True
//   set          a Q_FLAG; as text "[fsBold,fsItalic]", as ordinal the bit mask
//   float        double
//   text         8-bit text (std::string)
//   object       a persistent object (Font, Strings, Collection, a component)
//   method       an event (toolkit/Events.h)
//   other        anything else
//
// Readers answer empty values for a missing object, name or property; writers do nothing then.
// Only SetPropertyPath lets errors through.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "automation/Variant.h"
#include "toolkit/Component.h"
#include "toolkit/Events.h"

namespace toolkit {

enum class PropKind { None, Integer, Enumeration, Set, Float, Text, Object, Method, Other };

// The kind of the published property; PropKind::None when the object or property is missing.
PropKind PropertyKind(Persistent* object, std::string_view name);
bool HasProperty(Persistent* object, std::string_view name);
// Published property names of the object, its own class's last.
std::vector<std::string> PropertyNames(Persistent* object);

// Text property; "" when missing or not a text property.
std::string GetStrPropOf(Persistent* object, std::string_view name);
// Sets a text property; nothing when missing or not a text property.
void SetStrPropOf(Persistent* object, std::string_view name, std::string_view value);
// Integer, enumeration (booleans 0/1) or set (bit mask) as its ordinal; 0 when missing.
int GetOrdPropOf(Persistent* object, std::string_view name);
void SetOrdPropOf(Persistent* object, std::string_view name, int value);
// Enumeration name of an enumeration property ("True", "alClient"); "" when missing.
std::string GetEnumPropOf(Persistent* object, std::string_view name);
// Set property as text "[fsBold,fsItalic]"; "" when missing.
std::string GetSetPropOf(Persistent* object, std::string_view name);
double GetFloatPropOf(Persistent* object, std::string_view name);
void SetFloatPropOf(Persistent* object, std::string_view name, double value);
// The handler of an event property; an empty Method when the property does not exist.
Method GetMethodPropOf(Persistent* object, std::string_view name);
// Binds a handler to an event property; nothing when the property does not exist. A handler
// whose arguments do not fit the event raises Error.
void SetMethodPropOf(Persistent* object, std::string_view name, const Method& method);
// The object held by an object-valued property; null otherwise.
Persistent* GetObjectProperty(Persistent* object, std::string_view name);
// Points an object-valued property at another object (component references such as
// FocusControl); Error when the property does not take that object.
void SetObjectProperty(Persistent* object, std::string_view name, Persistent* value);

// The property's value as a Variant: integer → Integer, enumeration → its name (booleans as
// Boolean), set → "[..]" text, float → Double, text → 8-bit text; Empty for the other kinds and
// for a missing property.
automation::Variant GetPropValue(Persistent* object, std::string_view name);
// Sets one property from a Variant the way SetPropertyPath does for the last part of a path;
// nothing when the property is missing; errors of the conversion pass to the caller.
void SetPropValue(Persistent* object, std::string_view name, const automation::Variant& value);

// Sets the property named by a dotted path ("Font.Name"): each part before the last names an
// object-valued property to walk into (a part that is not one raises Error); a missing last
// property does nothing; the value is converted as SetPropValue does, and its errors pass on.
void SetPropertyPath(Persistent* object, std::string_view path, const automation::Variant& value);
// SetPropertyPath; false when it raised any error.
bool TrySetPropertyPath(Persistent* object, std::string_view path,
                        const automation::Variant& value) noexcept;

}  // namespace toolkit

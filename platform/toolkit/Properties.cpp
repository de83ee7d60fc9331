#include "toolkit/Properties.h"

#include <QMetaEnum>
#include <QMetaProperty>
#include <QVariant>
#include <cctype>
#include <cstring>
#include <set>

#include "automation/Dispatch.h"
#include "toolkit/Graphics.h"

namespace toolkit {
namespace {

using automation::Variant;

std::string_view Trim(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

// A published property is one whose name starts with an upper-case letter: Qt's own properties
// ("text", "enabled") are never published.
bool IsPublished(const QMetaProperty& p) {
  const char* name = p.name();
  return name && std::isupper(static_cast<unsigned char>(name[0]));
}

// One property found on an object: declared by its class (object) or by a mixin (gadget).
struct Prop {
  QMetaProperty meta;
  QObject* object = nullptr;
  void* gadget = nullptr;

  bool Valid() const { return meta.isValid(); }
  QVariant Read() const { return gadget ? meta.readOnGadget(gadget) : meta.read(object); }
  void Write(const QVariant& value, std::string_view name) const {
    const bool ok = gadget ? meta.writeOnGadget(gadget, value) : meta.write(object, value);
    if (!ok) throw Error("Cannot write property " + std::string(name));
  }
};

Prop FindProp(Persistent* object, std::string_view name) {
  name = Trim(name);
  if (!object || name.empty()) return {};
  QObject* qobject = object->Object();
  const QMetaObject* meta = qobject->metaObject();
  for (int i = meta->propertyCount() - 1; i >= 0; --i) {
    const QMetaProperty p = meta->property(i);
    if (IsPublished(p) && automation::SameName(p.name(), name)) return {p, qobject, nullptr};
  }
  if (const QMetaObject* mixin = object->MixinMetaObject()) {
    // The mixins form one chain of single inheritance, so the Persistent address is the address
    // of every mixin part.
    for (int i = mixin->propertyCount() - 1; i >= 0; --i) {
      const QMetaProperty p = mixin->property(i);
      if (IsPublished(p) && automation::SameName(p.name(), name)) {
        return {p, nullptr, static_cast<void*>(object)};
      }
    }
  }
  return {};
}

bool IsNameTableType(QMetaType type) {
  return type == QMetaType::fromType<TColor>() || type == QMetaType::fromType<TCursor>();
}

PropKind KindOf(const QMetaProperty& p) {
  const QMetaType type = p.metaType();
  if (detail::FindEventType(type)) return PropKind::Method;
  if (type == QMetaType::fromType<std::string>()) return PropKind::Text;
  if (IsNameTableType(type)) return PropKind::Integer;
  switch (type.id()) {
    case QMetaType::Bool:
      return PropKind::Enumeration;
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Long:
    case QMetaType::ULong:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
    case QMetaType::SChar:
    case QMetaType::Char:
      return PropKind::Integer;
    case QMetaType::Double:
    case QMetaType::Float:
      return PropKind::Float;
    default:
      break;
  }
  if (p.isFlagType()) return PropKind::Set;
  if (p.isEnumType() || (type.flags() & QMetaType::IsEnumeration)) return PropKind::Enumeration;
  if (type.flags() & QMetaType::PointerToQObject) return PropKind::Object;
  return PropKind::Other;
}

QMetaEnum EnumOf(const QMetaProperty& p) {
  QMetaEnum e = p.enumerator();
  if (e.isValid()) return e;
  // An enumeration declared in another class: its meta-object is the one of its metatype.
  const QMetaType type = p.metaType();
  if (const QMetaObject* meta = type.metaObject()) {
    std::string_view name = type.name();
    if (size_t colon = name.rfind("::"); colon != std::string_view::npos) {
      name = name.substr(colon + 2);
    }
    const int index = meta->indexOfEnumerator(std::string(name).c_str());
    if (index >= 0) return meta->enumerator(index);
  }
  return {};
}

// Enumerations, sets and the integer types with name tables are stored as plain integers of the
// metatype's size.
bool IsRawOrdinal(QMetaType type) {
  return IsNameTableType(type) || (type.flags() & QMetaType::IsEnumeration) ||
         type.id() >= QMetaType::User;
}

int OrdinalOf(const Prop& prop, const QVariant& value) {
  const QMetaType type = prop.meta.metaType();
  if (type.id() == QMetaType::Bool) return value.toBool() ? 1 : 0;
  if (IsRawOrdinal(type) && type.sizeOf() <= static_cast<qsizetype>(sizeof(long long))) {
    long long raw = 0;
    std::memcpy(&raw, value.constData(), static_cast<size_t>(type.sizeOf()));
    switch (type.sizeOf()) {
      case 1:
        return static_cast<signed char>(raw);
      case 2:
        return static_cast<short>(raw);
      default:
        return static_cast<int>(raw);
    }
  }
  return value.toInt();
}

void WriteOrdinal(const Prop& prop, int ordinal, std::string_view name) {
  const QMetaType type = prop.meta.metaType();
  if (type.id() == QMetaType::Bool) {
    prop.Write(QVariant(ordinal != 0), name);
  } else if (IsRawOrdinal(type) && type.sizeOf() <= static_cast<qsizetype>(sizeof(long long))) {
    QVariant value(type);
    const long long raw = ordinal;
    std::memcpy(value.data(), &raw, static_cast<size_t>(type.sizeOf()));
    prop.Write(value, name);
  } else {
    prop.Write(QVariant(ordinal), name);
  }
}

std::string EnumName(const Prop& prop, int ordinal) {
  if (prop.meta.metaType().id() == QMetaType::Bool) return ordinal ? "True" : "False";
  const QMetaEnum e = EnumOf(prop.meta);
  const char* key = e.isValid() ? e.valueToKey(ordinal) : nullptr;
  return key ? key : std::to_string(ordinal);
}

std::string SetText(const Prop& prop, int bits) {
  const QMetaEnum e = EnumOf(prop.meta);
  std::string text = "[";
  for (int i = 0; e.isValid() && i < e.keyCount(); ++i) {
    const int value = e.value(i);
    if (value != 0 && (bits & value) == value) {
      if (text.size() > 1) text += ',';
      text += e.key(i);
    }
  }
  return text + "]";
}

int EnumValue(const Prop& prop, std::string_view text, std::string_view name) {
  text = Trim(text);
  if (prop.meta.metaType().id() == QMetaType::Bool) {
    if (automation::SameName(text, "True")) return 1;
    if (automation::SameName(text, "False")) return 0;
  } else {
    const QMetaEnum e = EnumOf(prop.meta);
    for (int i = 0; e.isValid() && i < e.keyCount(); ++i) {
      if (automation::SameName(e.key(i), text)) return e.value(i);
    }
  }
  throw Error("Invalid property value " + std::string(text) + " for " + std::string(name));
}

int SetValue(const Prop& prop, std::string_view text, std::string_view name) {
  text = Trim(text);
  if (!text.empty() && text.front() == '[') text.remove_prefix(1);
  if (!text.empty() && text.back() == ']') text.remove_suffix(1);
  const QMetaEnum e = EnumOf(prop.meta);
  int bits = 0;
  while (!Trim(text).empty()) {
    const size_t comma = text.find(',');
    const std::string_view member = Trim(text.substr(0, comma));
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    bool found = false;
    for (int i = 0; e.isValid() && i < e.keyCount(); ++i) {
      if (automation::SameName(e.key(i), member)) {
        bits |= e.value(i);
        found = true;
        break;
      }
    }
    if (!found) {
      throw Error("Invalid property element " + std::string(member) + " for " + std::string(name));
    }
  }
  return bits;
}

// An integer from a variant; texts may be written in hexadecimal with "$" ("$00AFFFFF").
int IntegerOf(const Variant& value) {
  if (value.IsText()) {
    const std::string text(Trim(value.AsAnsi()));
    if (text.size() > 1 && (text[0] == '$' || (text[0] == '-' && text[1] == '$'))) {
      const bool negative = text[0] == '-';
      const std::string digits = text.substr(negative ? 2 : 1);
      if (!digits.empty() && digits.size() <= 8 &&
          digits.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos) {
        const auto bits = static_cast<std::uint32_t>(std::stoul(digits, nullptr, 16));
        const auto number = static_cast<std::int32_t>(bits);
        return negative ? -number : number;
      }
    }
  }
  return value.AsInteger();
}

Persistent* ObjectOf(const Prop& prop) {
  const QVariant value = prop.Read();
  if (!(value.metaType().flags() & QMetaType::PointerToQObject)) return nullptr;
  QObject* object = *static_cast<QObject* const*>(value.constData());
  return PersistentOf(object);
}

Method MethodOf(const Prop& prop) {
  const detail::EventTypeInfo* info = detail::FindEventType(prop.meta.metaType());
  if (!info) return {};
  const QVariant value = prop.Read();
  return info->get(value.constData());
}

}  // namespace

PropKind PropertyKind(Persistent* object, std::string_view name) {
  const Prop prop = FindProp(object, name);
  return prop.Valid() ? KindOf(prop.meta) : PropKind::None;
}

bool HasProperty(Persistent* object, std::string_view name) {
  return FindProp(object, name).Valid();
}

std::vector<std::string> PropertyNames(Persistent* object) {
  std::vector<std::string> names;
  if (!object) return names;
  std::set<std::string, automation::NameLess> seen;
  auto add = [&](const QMetaObject* meta) {
    for (int i = 0; i < meta->propertyCount(); ++i) {
      const QMetaProperty p = meta->property(i);
      if (IsPublished(p) && seen.insert(p.name()).second) names.emplace_back(p.name());
    }
  };
  if (const QMetaObject* mixin = object->MixinMetaObject()) add(mixin);
  add(object->Object()->metaObject());
  return names;
}

std::string GetStrPropOf(Persistent* object, std::string_view name) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid() || KindOf(prop.meta) != PropKind::Text) return {};
  return prop.Read().value<std::string>();
}

void SetStrPropOf(Persistent* object, std::string_view name, std::string_view value) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid() || KindOf(prop.meta) != PropKind::Text) return;
  prop.Write(QVariant::fromValue(std::string(value)), name);
}

int GetOrdPropOf(Persistent* object, std::string_view name) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid()) return 0;
  switch (KindOf(prop.meta)) {
    case PropKind::Integer:
    case PropKind::Enumeration:
    case PropKind::Set:
      return OrdinalOf(prop, prop.Read());
    default:
      return 0;
  }
}

void SetOrdPropOf(Persistent* object, std::string_view name, int value) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid()) return;
  switch (KindOf(prop.meta)) {
    case PropKind::Integer:
    case PropKind::Enumeration:
    case PropKind::Set:
      WriteOrdinal(prop, value, name);
      break;
    default:
      break;
  }
}

std::string GetEnumPropOf(Persistent* object, std::string_view name) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid() || KindOf(prop.meta) != PropKind::Enumeration) return {};
  return EnumName(prop, OrdinalOf(prop, prop.Read()));
}

std::string GetSetPropOf(Persistent* object, std::string_view name) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid() || KindOf(prop.meta) != PropKind::Set) return {};
  return SetText(prop, OrdinalOf(prop, prop.Read()));
}

double GetFloatPropOf(Persistent* object, std::string_view name) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid() || KindOf(prop.meta) != PropKind::Float) return 0;
  return prop.Read().toDouble();
}

void SetFloatPropOf(Persistent* object, std::string_view name, double value) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid() || KindOf(prop.meta) != PropKind::Float) return;
  prop.Write(QVariant(value), name);
}

Method GetMethodPropOf(Persistent* object, std::string_view name) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid()) return {};
  return MethodOf(prop);
}

void SetMethodPropOf(Persistent* object, std::string_view name, const Method& method) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid()) return;
  const detail::EventTypeInfo* info = detail::FindEventType(prop.meta.metaType());
  if (!info) return;
  if (method.Code && method.Code->Signature() != info->signature) {
    throw Error("The handler " + method.Name() + " does not fit the event " + std::string(name));
  }
  QVariant value(prop.meta.metaType());
  info->set(value.data(), method);
  prop.Write(value, name);
}

Persistent* GetObjectProperty(Persistent* object, std::string_view name) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid() || KindOf(prop.meta) != PropKind::Object) return nullptr;
  return ObjectOf(prop);
}

void SetObjectProperty(Persistent* object, std::string_view name, Persistent* value) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid() || KindOf(prop.meta) != PropKind::Object) {
    throw Error("Unknown object property " + std::string(name));
  }
  QObject* target = value ? value->Object() : nullptr;
  const QMetaObject* wanted = prop.meta.metaType().metaObject();
  if (target && wanted && !target->metaObject()->inherits(wanted)) {
    throw Error("Invalid property value " + value->ClassName() + " for " + std::string(name));
  }
  // Every class this layer reflects has its QObject part first, at the address of the object.
  prop.Write(QVariant(prop.meta.metaType(), &target), name);
}

Variant GetPropValue(Persistent* object, std::string_view name) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid()) return {};
  const QVariant value = prop.Read();
  switch (KindOf(prop.meta)) {
    case PropKind::Integer:
      return Variant(OrdinalOf(prop, value));
    case PropKind::Enumeration:
      if (prop.meta.metaType().id() == QMetaType::Bool) return Variant(value.toBool());
      return Variant(EnumName(prop, OrdinalOf(prop, value)));
    case PropKind::Set:
      return Variant(SetText(prop, OrdinalOf(prop, value)));
    case PropKind::Float:
      return Variant(value.toDouble());
    case PropKind::Text:
      return Variant(value.value<std::string>());
    default:
      return {};
  }
}

void SetPropValue(Persistent* object, std::string_view name, const Variant& value) {
  const Prop prop = FindProp(object, name);
  if (!prop.Valid()) return;
  switch (KindOf(prop.meta)) {
    case PropKind::Integer: {
      const QMetaType type = prop.meta.metaType();
      if (IsNameTableType(type) && value.IsText()) {
        const std::string text(Trim(value.AsAnsi()));
        std::optional<std::int32_t> named;
        if (type == QMetaType::fromType<TColor>()) {
          if (auto c = ColorFromName(text)) named = *c;
        } else if (auto c = CursorFromName(text)) {
          named = *c;
        }
        if (named) {
          WriteOrdinal(prop, *named, name);
          return;
        }
      }
      WriteOrdinal(prop, IntegerOf(value), name);
      return;
    }
    case PropKind::Enumeration:
      if (value.Type() == automation::VarType::Integer) {
        WriteOrdinal(prop, value.AsInteger(), name);
      } else {
        WriteOrdinal(prop, EnumValue(prop, value.AsAnsi(), name), name);
      }
      return;
    case PropKind::Set:
      if (value.Type() == automation::VarType::Integer) {
        WriteOrdinal(prop, value.AsInteger(), name);
      } else {
        WriteOrdinal(prop, SetValue(prop, value.AsAnsi(), name), name);
      }
      return;
    case PropKind::Float:
      prop.Write(QVariant(value.AsDouble()), name);
      return;
    case PropKind::Text:
      prop.Write(QVariant::fromValue(value.AsAnsi()), name);
      return;
    default:
      throw Error("Invalid property type for " + std::string(name));
  }
}

void SetPropertyPath(Persistent* object, std::string_view path, const Variant& value) {
  const size_t dot = path.find('.');
  if (dot == std::string_view::npos) {
    SetPropValue(object, path, value);
    return;
  }
  const std::string_view head = Trim(path.substr(0, dot));
  const Prop prop = FindProp(object, head);
  if (!prop.Valid() || KindOf(prop.meta) != PropKind::Object) {
    throw Error("Unknown object property " + std::string(head));
  }
  Persistent* child = ObjectOf(prop);
  if (!child) throw Error("The property " + std::string(head) + " holds no object");
  SetPropertyPath(child, path.substr(dot + 1), value);
}

bool TrySetPropertyPath(Persistent* object, std::string_view path, const Variant& value) noexcept {
  try {
    SetPropertyPath(object, path, value);
    return true;
  } catch (...) {
    return false;
  }
}

}  // namespace toolkit

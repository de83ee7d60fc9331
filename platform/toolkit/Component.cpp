#include "toolkit/Component.h"

#include <QMetaObject>
#include <algorithm>
#include <map>

#include "automation/Dispatch.h"

namespace toolkit {
namespace {

struct ClassEntry {
  std::string name;
  const QMetaObject* meta = nullptr;
  ComponentFactory make;
};

struct ClassTables {
  std::map<std::string, ClassEntry, automation::NameLess> byName;
  std::map<const QMetaObject*, std::string> byMeta;
};

ClassTables& Classes() {
  static ClassTables tables;
  return tables;
}

// Qt's own classes end the class chain of a component.
bool IsQtClass(const QMetaObject* meta) {
  const char* name = meta->className();
  return name[0] == 'Q' && std::string_view(name).find("::") == std::string_view::npos;
}

std::string NameOfClass(const QMetaObject* meta) {
  auto& byMeta = Classes().byMeta;
  if (auto it = byMeta.find(meta); it != byMeta.end()) return it->second;
  std::string_view name = meta->className();
  if (size_t colon = name.rfind("::"); colon != std::string_view::npos) {
    name = name.substr(colon + 2);
  }
  return std::string(name);
}

}  // namespace

Persistent::~Persistent() = default;

std::string Persistent::ClassName() const {
  return NameOfClass(Object()->metaObject());
}

std::vector<std::string> Persistent::ClassChain() const {
  std::vector<std::string> chain;
  for (const QMetaObject* meta = Object()->metaObject(); meta && !IsQtClass(meta);
       meta = meta->superClass()) {
    chain.push_back(NameOfClass(meta));
  }
  return chain;
}

bool Persistent::InheritsFrom(std::string_view className) const {
  for (const std::string& name : ClassChain()) {
    if (automation::SameName(name, className)) return true;
  }
  for (const QMetaObject* meta = MixinMetaObject(); meta; meta = meta->superClass()) {
    if (automation::SameName(NameOfClass(meta), className)) return true;
  }
  return false;
}

Component::Component(Component* owner) {
  if (owner) owner->InsertComponent(this);
}

Component::~Component() {
  BeginDestroy();
  DestroyComponents();
  if (owner_) owner_->RemoveComponent(this);
}

void Component::BeginDestroy() {
  state_ |= static_cast<int>(ComponentState::Destroying);
}

void Component::SetName(std::string name) {
  if (name == name_) return;
  if (owner_ && !name.empty()) {
    Component* other = owner_->FindComponent(name);
    if (other && other != this) throw Error("A component named " + name + " already exists");
  }
  name_ = std::move(name);
  Object()->setObjectName(QString::fromLatin1(name_.data(), static_cast<int>(name_.size())));
}

Component* Component::Components(int index) const {
  if (index < 0 || index >= ComponentCount()) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
  }
  return components_[static_cast<size_t>(index)];
}

Component* Component::FindComponent(std::string_view name) const {
  if (name.empty()) return nullptr;
  for (Component* c : components_) {
    if (automation::SameName(c->Name(), name)) return c;
  }
  return nullptr;
}

void Component::InsertComponent(Component* component) {
  if (!component || component->owner_ == this) return;
  if (component->owner_) component->owner_->RemoveComponent(component);
  component->owner_ = this;
  components_.push_back(component);
}

void Component::RemoveComponent(Component* component) {
  auto it = std::find(components_.begin(), components_.end(), component);
  if (it == components_.end()) return;
  components_.erase(it);
  component->owner_ = nullptr;
}

void Component::DestroyComponents() {
  // Each destruction takes the component (and whatever it destroys with it) off the list.
  while (!components_.empty()) {
    Component* last = components_.back();
    components_.pop_back();
    last->owner_ = nullptr;
    Free(last);
  }
}

void Component::SetLoading(bool loading) {
  if (loading) {
    state_ |= static_cast<int>(ComponentState::Loading);
  } else {
    state_ &= ~static_cast<int>(ComponentState::Loading);
  }
}

NonVisualComponent::NonVisualComponent(Component* owner) : QObject(nullptr), Component(owner) {}

void Free(Component* component) {
  if (!component) return;
  if (!component->IsDestroying()) {
    component->BeginDestroy();
    component->BeforeDestruction();
  }
  delete component;
}

Component* ComponentOf(QObject* object) {
  return dynamic_cast<Component*>(object);
}
Persistent* PersistentOf(QObject* object) {
  return dynamic_cast<Persistent*>(object);
}

void RegisterComponentClass(std::string className, const QMetaObject* meta, ComponentFactory make) {
  auto& tables = Classes();
  tables.byMeta[meta] = className;
  std::string key = className;
  tables.byName[key] = ClassEntry{std::move(className), meta, std::move(make)};
}

void RegisterClassName(std::string className, const QMetaObject* meta) {
  Classes().byMeta[meta] = std::move(className);
}

bool IsComponentClass(std::string_view className) {
  return Classes().byName.count(className) != 0;
}

Component* CreateComponent(std::string_view className, Component* owner) {
  auto& byName = Classes().byName;
  auto it = byName.find(className);
  if (it == byName.end() || !it->second.make) {
    throw Error("Class " + std::string(className) + " not found");
  }
  return it->second.make(owner);
}

namespace {
// The mixins answer to the names the module knows them by.
[[maybe_unused]] const bool mixin_names = [] {
  RegisterClassName("TPersistent", &Persistent::staticMetaObject);
  RegisterClassName("TComponent", &Component::staticMetaObject);
  RegisterClassName("TComponent", &NonVisualComponent::staticMetaObject);
  return true;
}();
}  // namespace

}  // namespace toolkit

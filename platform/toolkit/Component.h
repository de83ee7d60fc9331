// Components: the objects a window is made of, owned by name in creation order.
//
// Every object whose published properties can be read and written by name is a `Persistent`
// (fonts, string lists, collections and all components). A `Component` adds a name, a tag and an
// owner: the owner keeps its components in creation order (`Components`, `ComponentCount`,
// `FindComponent`), independently of where a control sits on the screen, and destroys them when
// it is destroyed. Visual controls are Qt widgets that are Components (toolkit/Control.h); a
// non-visual component (a converter, a language controller, an image list) derives from
// `NonVisualComponent`.
//
// Component classes register under the class names the form descriptions use ("TButton",
// "TEdit", "TSelectPanel") with TOOLKIT_REGISTER_CLASS; `CreateComponent` makes one by that name.
//
// Every class that derives from these mixins carries Q_OBJECT (or Q_GADGET for a mixin): its class
// name, its class chain and its published properties come from Qt's meta-objects.
#pragma once

#include <QObject>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

// Every failure raised by this layer: a message a person can read (8-bit text).
class Error : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Component;

// An object with published properties. `Object()` is the Qt object that carries them; the
// mixins below add their own published properties through their Q_GADGET meta-objects.
class Persistent {
  Q_GADGET
 public:
  virtual ~Persistent();

  // The Qt object whose meta-object holds the class's own published properties.
  virtual QObject* Object() = 0;
  const QObject* Object() const { return const_cast<Persistent*>(this)->Object(); }

  // The mixin meta-object whose properties every object of this kind publishes (Component's,
  // Control's, WinControl's); null for plain persistent objects.
  virtual const QMetaObject* MixinMetaObject() const { return nullptr; }

  // The class name as the module writes it: the registered name ("TButton") or the C++ class
  // name without its namespace ("TfrmBaseGene").
  std::string ClassName() const;
  // Class names from this object's class upwards, ending with the first class of this layer
  // (for a module window: "TfrmQzlb27", ..., "TQRForm", "TForm"). Qt's own classes are not listed.
  std::vector<std::string> ClassChain() const;
  // Whether the class or one of its ancestors has the name (compared without regard to case).
  bool InheritsFrom(std::string_view className) const;
};

// Component states the owner and the form loader set.
enum class ComponentState { Loading = 1, Destroying = 2 };

class Component : public Persistent {
  Q_GADGET
  Q_PROPERTY(std::string Name READ Name WRITE SetName)
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)

 public:
  // `owner` may be null; otherwise the owner keeps and later destroys this component.
  explicit Component(Component* owner);
  ~Component() override;
  Component(const Component&) = delete;
  Component& operator=(const Component&) = delete;

  const QMetaObject* MixinMetaObject() const override { return &staticMetaObject; }

  const std::string& Name() const { return name_; }
  // Renames the component; a name another component of the same owner has already (compared
  // without regard to case) raises Error "A component named X already exists".
  void SetName(std::string name);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }

  Component* Owner() const { return owner_; }
  // Owned components in creation order.
  int ComponentCount() const { return static_cast<int>(components_.size()); }
  Component* Components(int index) const;
  const std::vector<Component*>& ComponentList() const { return components_; }
  // The owned component of that name, ignoring case; null when there is none (or the name is
  // empty).
  Component* FindComponent(std::string_view name) const;
  // The same, cast to T; null when the component is not a T.
  template <class T>
  T* FindComponent(std::string_view name) const {
    return dynamic_cast<T*>(FindComponent(name));
  }

  // Moves a component to this owner (or to none with null), keeping its name.
  void InsertComponent(Component* component);
  void RemoveComponent(Component* component);
  // Destroys every owned component, the last created first.
  void DestroyComponents();

  bool IsLoading() const { return (state_ & static_cast<int>(ComponentState::Loading)) != 0; }
  bool IsDestroying() const { return (state_ & static_cast<int>(ComponentState::Destroying)) != 0; }
  // Set by the form loader around the reading of a description; `Loaded` runs when the whole
  // window has been read.
  void SetLoading(bool loading);
  virtual void Loaded() {}

  // Runs while the whole object still exists, just before it is destroyed by Free, by its owner
  // or by a release request (a form fires OnDestroy here).
  virtual void BeforeDestruction() {}

 private:
  friend void Free(Component* component);
  void BeginDestroy();

  std::string name_;
  int tag_ = 0;
  Component* owner_ = nullptr;
  std::vector<Component*> components_;
  int state_ = 0;
};

// A component that is not a control: a plain QObject carrying published properties.
class NonVisualComponent : public QObject, public Component {
  Q_OBJECT
 public:
  explicit NonVisualComponent(Component* owner);
  QObject* Object() override { return this; }
};

// Destroys a component the way its owner would: BeforeDestruction, then delete. Null is ignored.
void Free(Component* component);
// A deleter for std::unique_ptr that frees components.
struct FreeDeleter {
  void operator()(Component* component) const { Free(component); }
};

// The component behind a Qt object, or null.
Component* ComponentOf(QObject* object);
Persistent* PersistentOf(QObject* object);

// Creation of components by class name (for form descriptions).
using ComponentFactory = std::function<Component*(Component* owner)>;
// Registers a class name with its factory and meta-object; a later registration of the same name
// replaces the earlier one.
void RegisterComponentClass(std::string className, const QMetaObject* meta, ComponentFactory make);
// Whether a class of that name is registered (ignoring case).
bool IsComponentClass(std::string_view className);
// A new component of the registered class, owned by `owner`; throws Error "Class X not found".
Component* CreateComponent(std::string_view className, Component* owner);
// Registers T (constructible from its owner) under `className`.
template <class T>
bool RegisterComponentClass(std::string className) {
  RegisterComponentClass(std::move(className), &T::staticMetaObject,
                         [](Component* owner) -> Component* { return new T(owner); });
  return true;
}
// Registers persistent classes that are not components (TFont, TStrings) for their class names.
void RegisterClassName(std::string className, const QMetaObject* meta);

}  // namespace toolkit

// Registers a component class for form descriptions at load time of its library:
//   TOOLKIT_REGISTER_CLASS(toolkit::Button, "TButton")
#define TOOLKIT_REGISTER_CLASS(Type, Name) TOOLKIT_REGISTER_CLASS_AT(Type, Name, __LINE__)
#define TOOLKIT_REGISTER_CLASS_AT(Type, Name, Line) TOOLKIT_REGISTER_CLASS_AT2(Type, Name, Line)
#define TOOLKIT_REGISTER_CLASS_AT2(Type, Name, Line)             \
  [[maybe_unused]] static const bool toolkit_registered_##Line = \
      ::toolkit::RegisterComponentClass<Type>(Name)

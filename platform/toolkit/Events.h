// Event handlers: published handler methods and the event properties that hold them.
//
// A handler is a `Method`: two comparable parts, the code (which published method) and the data
// (the component whose method it is). Either may be read, saved, compared and put back, so that
// a window can put its own check in front of a control's handler and call the saved handler
// afterwards. An empty handler (no code) does nothing when called.
//
// Event properties are typed by their arguments: `NotifyEvent` (sender only), `KeyEvent`,
// `KeyPressEvent`, `MouseEvent`, `MouseMoveEvent`, `CloseEvent`, `CloseQueryEvent`; a control
// declares further kinds as `Event<Args...>`. The first argument of every handler is the sender.
//
// A class publishes its handler methods by name, once, in its .cpp:
//
//   static const auto published = toolkit::Publish<TfrmSample>()
//       .Handler("btnOkClick", &TfrmSample::btnOkClick)          // void (Component* Sender)
//       .Handler("FormKeyDown", &TfrmSample::FormKeyDown);       // (Component*, Word&, ShiftState)
//
// Form descriptions bind event properties to these names (`OnClick = btnOkClick`), and
// `FindMethod` finds them by name (ignoring case) along the class chain.
#pragma once

#include <QMetaType>
#include <any>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <typeindex>

#include "toolkit/Component.h"

namespace toolkit {

using Word = std::uint16_t;

// Shift state of key and mouse events (a set; combine with |).
using ShiftState = unsigned;
inline constexpr ShiftState ssShift = 1;
inline constexpr ShiftState ssAlt = 2;
inline constexpr ShiftState ssCtrl = 4;
inline constexpr ShiftState ssLeft = 8;
inline constexpr ShiftState ssRight = 16;
inline constexpr ShiftState ssMiddle = 32;
inline constexpr ShiftState ssDouble = 64;

enum TMouseButton { mbLeft, mbRight, mbMiddle };
// What closing a form does (set by its OnClose handler).
enum TCloseAction { caNone, caHide, caFree, caMinimize };

// One published handler method of a class: its name, its signature and how to call it.
class HandlerCode {
 public:
  HandlerCode(std::string name, const QMetaObject* owner, std::type_index signature,
              std::any invoker);
  const std::string& Name() const { return name_; }
  // The class that published it.
  const QMetaObject* OwnerClass() const { return owner_; }
  std::type_index Signature() const { return signature_; }
  const std::any& Invoker() const { return invoker_; }

 private:
  std::string name_;
  const QMetaObject* owner_;
  std::type_index signature_;
  std::any invoker_;
};

// A handler: code and data, both comparable; empty when there is no code.
struct Method {
  const HandlerCode* Code = nullptr;
  Component* Data = nullptr;

  bool IsEmpty() const { return Code == nullptr; }
  bool operator==(const Method&) const = default;
  // The published name of the code ("btnOkClick"); "" when empty.
  std::string Name() const;
};

namespace detail {
struct EventTypeInfo {
  std::type_index signature;
  Method (*get)(const void* event);
  void (*set)(void* event, const Method& method);
};
void RegisterEventType(QMetaType type, const EventTypeInfo& info);
// The event type of a property type, or null when the type is not an event type.
const EventTypeInfo* FindEventType(QMetaType type);
[[noreturn]] void ThrowSignatureMismatch(const Method& method);
const HandlerCode* PublishHandler(const QMetaObject* owner, std::string name,
                                  std::type_index signature, std::any invoker);
[[noreturn]] void ThrowWrongHandlerObject();
}  // namespace detail

// An event property value: a Method whose handlers take (Sender, Args...).
template <class... Args>
class Event : public Method {
 public:
  using Signature = void(Component*, Args...);
  using Invoker = std::function<void(Component* self, Component* sender, Args...)>;

  Event() { Register(); }
  Event(const Method& method) : Method(method) { Register(); }

  // Calls the handler with the sender; nothing when empty. A handler whose code takes other
  // arguments raises Error. Exceptions of the handler pass to the caller.
  void operator()(Component* sender, Args... args) const {
    if (Code == nullptr) return;
    const Invoker* call = std::any_cast<Invoker>(&Code->Invoker());
    if (call == nullptr) detail::ThrowSignatureMismatch(*this);
    (*call)(Data, sender, std::forward<Args>(args)...);
  }

 private:
  static void Register() {
    static const bool registered = [] {
      detail::RegisterEventType(
          QMetaType::fromType<Event>(),
          {typeid(Signature), [](const void* e) -> Method { return *static_cast<const Event*>(e); },
           [](void* e, const Method& m) { *static_cast<Event*>(e) = Event(m); }});
      return true;
    }();
    (void)registered;
  }
};

using NotifyEvent = Event<>;
using KeyEvent = Event<Word&, ShiftState>;
using KeyPressEvent = Event<char&>;
using MouseEvent = Event<TMouseButton, ShiftState, int, int>;
using MouseMoveEvent = Event<ShiftState, int, int>;
using CloseEvent = Event<TCloseAction&>;
using CloseQueryEvent = Event<bool&>;

// Calls a saved handler as a notification with the sender (empty: nothing). Handlers of other
// kinds are called through their event type, with braces: `KeyEvent{saved}(sender, key, shift)`.
inline void CallHandler(const Method& method, Component* sender) {
  NotifyEvent{method}(sender);
}

// Publishes handler methods of T by name (see the header comment).
template <class T>
class Publish {
 public:
  template <class... Args>
  Publish& Handler(std::string name, void (T::*method)(Component*, Args...)) {
    using Invoker = typename Event<Args...>::Invoker;
    Invoker call = [method](Component* self, Component* sender, Args... args) {
      T* target = dynamic_cast<T*>(self);
      if (target == nullptr) detail::ThrowWrongHandlerObject();
      (target->*method)(sender, std::forward<Args>(args)...);
    };
    detail::PublishHandler(&T::staticMetaObject, std::move(name),
                           typeid(typename Event<Args...>::Signature), std::any(std::move(call)));
    return *this;
  }
};

// The published handler of that name on the object's class chain, bound to the object; an empty
// Method when the class publishes no such handler.
Method FindMethod(Component* object, std::string_view name);
// Calls the object's published notification handler of that name with the sender. False (and
// nothing called) when there is no such handler; Error when it takes other arguments.
bool CallMethod(Component* object, std::string_view name, Component* sender);

}  // namespace toolkit

// Controls: Qt widgets that are components, with the properties and events the module uses.
//
// A control class derives from a Qt widget class first and from `Control` (a control that never
// takes the focus, such as a label) or `WinControl` (a windowed control that takes the focus and
// the keyboard) second:
//
//   class Edit : public QLineEdit, public WinControl {
//     Q_OBJECT
//     Q_PROPERTY(std::string Text READ Text WRITE SetText)   // what this class publishes
//     ...
//   };
//
// The mixins publish what every control has (their Q_GADGET properties): Name, Tag, Left, Top,
// Width, Height, Enabled, Visible, Hint, ShowHint, Cursor, Align, Font, ParentFont and the
// click, double-click and mouse events; WinControl adds TabOrder, TabStop and the enter, exit
// and key events. Caption or Text, Color and the other properties are published per class, as
// the desktop toolkit does, from the storage and accessors the mixin offers.
//
// Texts are the module's 8-bit texts; `ToScreen` and `FromScreen` convert them through the code
// page of the control's font character set, and a control shows its texts again when the font
// changes (`FontChanged`).
//
// Qt events feed the handlers through the mixin's event filter: focus in and out become
// `DoEnter`/`DoExit` (OnEnter/OnExit; the leaving control's exit runs before the next control's
// enter, and containers are entered and left around the controls they hold), keys become
// `KeyDown`/`KeyPress`/`KeyUp` (the form sees them first when its KeyPreview is set, and a handler
// that sets the key to 0 consumes it; KeyPress sees the one-byte characters, texts typed through an
// input method go to the widget directly), mouse buttons become
// `MouseDown`/`MouseUp`/`Click`/`DblClick`. Each of these is virtual, so a derived control adds
// behaviour by overriding it and calling the base. An exception a handler throws during such a
// dispatch is shown in an error dialog (toolkit/Dialogs.h); nothing escapes a Qt event handler.
//
// Requests: `Perform` hands a message to `WndProc` at once (a sent request); `PostMessage`
// queues it and `WndProc` runs after the current handler has returned. Every control has a
// window handle, an integer by which other parts of the process reach it.
#pragma once

#include <QPalette>
#include <QString>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "toolkit/Component.h"
#include "toolkit/Events.h"
#include "toolkit/Graphics.h"

class QWidget;
class QEvent;

namespace toolkit {

class Control;
class WinControl;
class Form;

// A window message: sent with `Perform`/`SendMessage`, queued with `PostMessage`.
struct Message {
  unsigned Msg = 0;
  std::intptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;
};

// A control carried in a message parameter (the lookup request carries the control that asks).
// Always go through these two: a control's address as a Control is not its widget's address.
inline std::intptr_t ControlParam(Control* control) {
  return reinterpret_cast<std::intptr_t>(control);
}
inline Control* ParamControl(std::intptr_t param) {
  return reinterpret_cast<Control*>(param);
}

inline constexpr unsigned WM_MOVE = 0x0003;
inline constexpr unsigned WM_SIZE = 0x0005;
inline constexpr unsigned WM_CLOSE = 0x0010;
inline constexpr unsigned WM_USER = 0x0400;
// The toolkit's own messages: a form hears CM_FOCUSCHANGED (LParam: the control, see
// ControlParam) after every focus change; CM_RELEASE destroys a form once the current handler
// has returned.
inline constexpr unsigned CM_FOCUSCHANGED = 0xB000 + 7;
inline constexpr unsigned CM_RELEASE = 0xB000 + 33;

// Virtual key codes of the key events (letters and digits are their upper-case characters).
inline constexpr Word VK_BACK = 8;
inline constexpr Word VK_TAB = 9;
inline constexpr Word VK_RETURN = 13;
inline constexpr Word VK_SHIFT = 16;
inline constexpr Word VK_CONTROL = 17;
inline constexpr Word VK_MENU = 18;
inline constexpr Word VK_PAUSE = 19;
inline constexpr Word VK_CAPITAL = 20;
inline constexpr Word VK_ESCAPE = 27;
inline constexpr Word VK_SPACE = 32;
inline constexpr Word VK_PRIOR = 33;
inline constexpr Word VK_NEXT = 34;
inline constexpr Word VK_END = 35;
inline constexpr Word VK_HOME = 36;
inline constexpr Word VK_LEFT = 37;
inline constexpr Word VK_UP = 38;
inline constexpr Word VK_RIGHT = 39;
inline constexpr Word VK_DOWN = 40;
inline constexpr Word VK_INSERT = 45;
inline constexpr Word VK_DELETE = 46;
inline constexpr Word VK_F1 = 112;
inline constexpr Word VK_F2 = 113;
inline constexpr Word VK_F3 = 114;
inline constexpr Word VK_F4 = 115;
inline constexpr Word VK_F5 = 116;
inline constexpr Word VK_F6 = 117;
inline constexpr Word VK_F7 = 118;
inline constexpr Word VK_F8 = 119;
inline constexpr Word VK_F9 = 120;
inline constexpr Word VK_F10 = 121;
inline constexpr Word VK_F11 = 122;
inline constexpr Word VK_F12 = 123;

class Control : public Component {
  Q_GADGET
  Q_PROPERTY(int Left READ Left WRITE SetLeft)
  Q_PROPERTY(int Top READ Top WRITE SetTop)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_PROPERTY(int Height READ Height WRITE SetHeight)
  Q_PROPERTY(bool Enabled READ Enabled WRITE SetEnabled)
  Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
  Q_PROPERTY(std::string Hint READ Hint WRITE SetHint)
  Q_PROPERTY(bool ShowHint READ ShowHint WRITE SetShowHint)
  Q_PROPERTY(toolkit::TCursor Cursor READ Cursor WRITE SetCursor)
  Q_PROPERTY(TAlign Align READ Align WRITE SetAlign)
  Q_PROPERTY(toolkit::Font* Font READ Font WRITE SetFont)
  Q_PROPERTY(bool ParentFont READ ParentFont WRITE SetParentFont)
  Q_PROPERTY(toolkit::NotifyEvent OnClick MEMBER FOnClick)
  Q_PROPERTY(toolkit::NotifyEvent OnDblClick MEMBER FOnDblClick)
  Q_PROPERTY(toolkit::MouseEvent OnMouseDown MEMBER FOnMouseDown)
  Q_PROPERTY(toolkit::MouseEvent OnMouseUp MEMBER FOnMouseUp)
  Q_PROPERTY(toolkit::MouseMoveEvent OnMouseMove MEMBER FOnMouseMove)

 public:
  enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };
  Q_ENUM(TAlign)
  enum TAlignment { taLeftJustify, taRightJustify, taCenter };
  Q_ENUM(TAlignment)

  // `self` is the control's own widget (the Qt base of the derived class).
  Control(QWidget* self, Component* owner);
  ~Control() override;

  QObject* Object() override;
  const QMetaObject* MixinMetaObject() const override { return &staticMetaObject; }
  QWidget* Widget() const { return self_; }

  // The visual parent; setting it moves the widget there (a control without a parent is not
  // shown). A parent is always a windowed control.
  WinControl* Parent() const { return parent_; }
  virtual void SetParent(WinControl* parent);
  // The form the control sits on (walking the parents), or null.
  Form* ParentForm() const;

  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetLeft(int left) { SetBounds(left, Top(), Width(), Height()); }
  void SetTop(int top) { SetBounds(Left(), top, Width(), Height()); }
  void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
  void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
  virtual void SetBounds(int left, int top, int width, int height);
  int ClientWidth() const { return Width(); }
  int ClientHeight() const { return Height(); }

  bool Enabled() const { return enabled_; }
  virtual void SetEnabled(bool enabled);
  // The control's own visibility flag (its parents may still hide it).
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible on the screen: the control and all its parents are visible and the window is shown.
  bool Showing() const;

  const std::string& Hint() const { return hint_; }
  void SetHint(std::string hint);
  bool ShowHint() const { return show_hint_; }
  void SetShowHint(bool show) { show_hint_ = show; }
  TCursor Cursor() const { return cursor_; }
  void SetCursor(TCursor cursor);
  TAlign Align() const { return align_; }
  void SetAlign(TAlign align);

  toolkit::Font* Font() const { return font_.get(); }
  // Copies the values of `font` (the control keeps its own Font object).
  void SetFont(toolkit::Font* font);
  // While set, the control takes its parent's font; changing the Font clears it.
  bool ParentFont() const { return parent_font_; }
  void SetParentFont(bool parentFont);

  // Colour of the control's face (published by the classes that have one).
  TColor Color() const { return color_; }
  void SetColor(TColor color);

  // The control's caption or text (published as Caption or Text by each class).
  const std::string& GetText() const { return text_; }
  void SetTextValue(std::string text);

  // The code page of the font's character set and the conversions through it.
  int CodePage() const;
  QString ToScreen(std::string_view text) const;
  std::string FromScreen(const QString& text) const;
  // Width and height in pixels of a text in the control's font.
  int TextWidth(std::string_view text) const;
  int TextHeight(std::string_view text) const;

  void BringToFront();
  void SendToBack();
  // Repaints at once / at the next paint.
  void Repaint();
  void Invalidate();

  // The window handle by which others reach this control (SendMessage, PostMessage,
  // RepaintWindow).
  int Handle() const;
  // A sent request: WndProc runs now; answers the message's Result.
  std::intptr_t Perform(unsigned msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);
  // Handles a message. The base ignores every message; forms close on WM_CLOSE.
  virtual void WndProc(Message& message);

  // Fires OnClick (exceptions of the handler pass to the caller).
  virtual void Click();
  virtual void DblClick();

  // Enter, Esc and the like that the focused control left unused reach every control of the form
  // (a default button clicks on Enter, a cancel button on Esc); true when the control used it.
  virtual bool DialogKey(Word key, ShiftState shift);

 protected:
  virtual void MouseDown(TMouseButton button, ShiftState shift, int x, int y);
  virtual void MouseUp(TMouseButton button, ShiftState shift, int x, int y);
  virtual void MouseMove(ShiftState shift, int x, int y);

  // Shows the texts again after a font change (code page) and applies the font to the widget;
  // derived classes override it to refresh their own texts and call the base.
  virtual void FontChanged();
  // Applies Color to the widget: the default paints the widget's background.
  virtual void ColorChanged();
  // Shows the caption or text after SetTextValue (derived classes put it into their widget).
  virtual void TextChanged() {}
  // Every Qt event of the widget (and of inner widgets fed with FeedEventsFrom) passes here
  // first; returning true consumes it. Derived classes rarely need more than the virtual
  // event methods above.
  virtual bool FilterEvent(QObject* watched, QEvent* event);
  // Inner widgets of a composite control report their focus, key and mouse events as this
  // control's.
  void FeedEventsFrom(QWidget* inner);
  // Whether a left-button release inside the control counts as a click (true for controls
  // without a click signal of their own; buttons and check boxes click from their signals).
  void SetClickOnMouseUp(bool click) { click_on_mouse_up_ = click; }
  // Runs `call` as an event dispatch: exceptions become an error dialog.
  static void Dispatch(const std::function<void()>& call);

  NotifyEvent FOnClick;
  NotifyEvent FOnDblClick;
  MouseEvent FOnMouseDown;
  MouseEvent FOnMouseUp;
  MouseMoveEvent FOnMouseMove;

 private:
  friend class WinControl;
  friend class Form;
  friend class ControlEventFilter;
  bool IsFromChildControl(QObject* watched, QEvent* event) const;
  void ParentFontChanged();
  void RequestAlign();

  QWidget* self_;
  WinControl* parent_ = nullptr;
  std::unique_ptr<toolkit::Font> font_;
  std::string text_;
  std::string hint_;
  TColor color_ = clBtnFace;
  TCursor cursor_ = crDefault;
  TAlign align_ = alNone;
  bool enabled_ = true;
  bool visible_ = true;
  bool show_hint_ = false;
  bool parent_font_ = true;
  bool assigning_parent_font_ = false;
  bool click_on_mouse_up_ = true;
  QObject* filter_ = nullptr;
  mutable int handle_ = 0;
};

class WinControl : public Control {
  Q_GADGET
  Q_PROPERTY(int TabOrder READ TabOrder WRITE SetTabOrder)
  Q_PROPERTY(bool TabStop READ TabStop WRITE SetTabStop)
  Q_PROPERTY(toolkit::NotifyEvent OnEnter MEMBER FOnEnter)
  Q_PROPERTY(toolkit::NotifyEvent OnExit MEMBER FOnExit)
  Q_PROPERTY(toolkit::KeyEvent OnKeyDown MEMBER FOnKeyDown)
  Q_PROPERTY(toolkit::KeyPressEvent OnKeyPress MEMBER FOnKeyPress)
  Q_PROPERTY(toolkit::KeyEvent OnKeyUp MEMBER FOnKeyUp)

 public:
  WinControl(QWidget* self, Component* owner);
  ~WinControl() override;
  const QMetaObject* MixinMetaObject() const override { return &staticMetaObject; }

  void SetParent(WinControl* parent) override;

  // Child controls in their stacking order (the last is in front).
  int ControlCount() const;
  Control* Controls(int index) const;
  std::vector<Control*> ControlList() const;

  // Position among the parent's windowed children in tab order (from 0); setting moves the
  // control there (values beyond the end put it last; negative values are ignored).
  int TabOrder() const;
  void SetTabOrder(int order);
  bool TabStop() const { return tab_stop_; }
  void SetTabStop(bool tabStop) { tab_stop_ = tabStop; }
  // The windowed children in tab order.
  const std::vector<WinControl*>& TabList() const { return tab_list_; }
  // This control's windowed descendants in tab order, depth first.
  void GetTabOrderList(std::vector<WinControl*>& list) const;

  // The control and its parents up to the form are visible and enabled.
  virtual bool CanFocus() const;
  // Gives the control the focus (at once when its window is active, otherwise when the window
  // becomes active). Raises Error "Cannot focus a disabled or invisible window" when CanFocus
  // is false.
  virtual void SetFocus();
  bool Focused() const;
  // Whether the control keeps a dialog key for itself: Tab (otherwise it moves the focus to the
  // next control), Enter and Esc (otherwise default and cancel buttons get them first). A memo
  // keeps Enter, a grid being edited keeps Tab.
  virtual bool WantsKey(Word key, ShiftState shift) const;

 protected:
  virtual void DoEnter();
  virtual void DoExit();
  // The key events of the focused control; the form's key preview has run before.
  virtual void KeyDown(Word& key, ShiftState shift);
  virtual void KeyPress(char& key);
  virtual void KeyUp(Word& key, ShiftState shift);
  bool FilterEvent(QObject* watched, QEvent* event) override;
  // Lays out the aligned children (alTop, alBottom, alLeft, alRight, then alClient).
  void AlignControls();

  NotifyEvent FOnEnter;
  NotifyEvent FOnExit;
  KeyEvent FOnKeyDown;
  KeyPressEvent FOnKeyPress;
  KeyEvent FOnKeyUp;

 private:
  friend class Control;
  friend class Form;
  bool HandleKey(QObject* watched, QEvent* event);
  std::vector<WinControl*> tab_list_;
  bool tab_stop_ = false;
  bool entered_ = false;
  bool aligning_ = false;
};

// The control behind a Qt object (or behind an inner widget fed to it), or null.
Control* ControlOf(QObject* object);

// Window handles of the process.
// The control of a handle, or null when no live control has it.
Control* FindControl(int handle);
// A handle for any widget of the process (the host gives its own window this way).
int WindowHandle(QWidget* widget);
// Asks the window of a handle to repaint at once; false for an unknown handle.
bool RepaintWindow(int handle);
// Sends (handled before returning) or posts (handled after the current handler) a message to the
// control of a handle; unknown handles are ignored (SendMessage answers 0, PostMessage false).
std::intptr_t SendMessage(int handle, unsigned msg, std::intptr_t wParam = 0,
                          std::intptr_t lParam = 0);
bool PostMessage(int handle, unsigned msg, std::intptr_t wParam = 0, std::intptr_t lParam = 0);

// The Qt cursor shape of a cursor value.
Qt::CursorShape CursorShape(TCursor cursor);

// Processes the pending window messages and events.
void ProcessMessages();

}  // namespace toolkit

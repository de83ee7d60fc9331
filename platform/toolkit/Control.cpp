#include "toolkit/Control.h"

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPointer>
#include <QWidget>
#include <algorithm>
#include <map>

#include "os/CodePage.h"
#include "toolkit/Dialogs.h"
#include "toolkit/Form.h"

namespace toolkit {

// Passes the Qt events of a control's widget (and its inner widgets) to the control.
class ControlEventFilter : public QObject {
 public:
  ControlEventFilter(Control* control, QObject* parent) : QObject(parent), control_(control) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    return control_->FilterEvent(watched, event);
  }

 private:
  Control* control_;
};

namespace {

const char kHandleProperty[] = "qzlb27Handle";
const char kControlProperty[] = "qzlb27Control";

// A queued window message.
class MessageEvent : public QEvent {
 public:
  static QEvent::Type EventType() {
    static const int type = QEvent::registerEventType();
    return static_cast<QEvent::Type>(type);
  }
  explicit MessageEvent(const Message& message) : QEvent(EventType()), message_(message) {}
  Message& Get() { return message_; }

 private:
  Message message_;
};

struct HandleTable {
  std::map<int, QPointer<QWidget>> widgets;
  int next = 0x10000;
};

HandleTable& Handles() {
  static HandleTable table;
  return table;
}

QWidget* WidgetOfHandle(int handle) {
  auto& widgets = Handles().widgets;
  auto it = widgets.find(handle);
  if (it == widgets.end()) return nullptr;
  if (it->second.isNull()) {
    widgets.erase(it);
    return nullptr;
  }
  return it->second.data();
}

Word VirtualKey(const QKeyEvent* event) {
  const int key = event->key();
  if (key >= Qt::Key_A && key <= Qt::Key_Z) return static_cast<Word>('A' + (key - Qt::Key_A));
  if (key >= Qt::Key_0 && key <= Qt::Key_9) return static_cast<Word>('0' + (key - Qt::Key_0));
  if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return static_cast<Word>(VK_F1 + (key - Qt::Key_F1));
  switch (key) {
    case Qt::Key_Backspace:
      return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
      return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return VK_RETURN;
    case Qt::Key_Shift:
      return VK_SHIFT;
    case Qt::Key_Control:
      return VK_CONTROL;
    case Qt::Key_Alt:
      return VK_MENU;
    case Qt::Key_Pause:
      return VK_PAUSE;
    case Qt::Key_CapsLock:
      return VK_CAPITAL;
    case Qt::Key_Escape:
      return VK_ESCAPE;
    case Qt::Key_Space:
      return VK_SPACE;
    case Qt::Key_PageUp:
      return VK_PRIOR;
    case Qt::Key_PageDown:
      return VK_NEXT;
    case Qt::Key_End:
      return VK_END;
    case Qt::Key_Home:
      return VK_HOME;
    case Qt::Key_Left:
      return VK_LEFT;
    case Qt::Key_Up:
      return VK_UP;
    case Qt::Key_Right:
      return VK_RIGHT;
    case Qt::Key_Down:
      return VK_DOWN;
    case Qt::Key_Insert:
      return VK_INSERT;
    case Qt::Key_Delete:
      return VK_DELETE;
    default:
      return static_cast<Word>(key & 0xFFFF);
  }
}

ShiftState ShiftOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton) {
  ShiftState shift = 0;
  if (modifiers & Qt::ShiftModifier) shift |= ssShift;
  if (modifiers & Qt::AltModifier) shift |= ssAlt;
  if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
  if (buttons & Qt::LeftButton) shift |= ssLeft;
  if (buttons & Qt::RightButton) shift |= ssRight;
  if (buttons & Qt::MiddleButton) shift |= ssMiddle;
  return shift;
}

TMouseButton MouseButtonOf(Qt::MouseButton button) {
  switch (button) {
    case Qt::RightButton:
      return mbRight;
    case Qt::MiddleButton:
      return mbMiddle;
    default:
      return mbLeft;
  }
}

}  // namespace

Qt::CursorShape CursorShape(TCursor cursor) {
  switch (static_cast<std::int32_t>(cursor)) {
    case -1:
      return Qt::BlankCursor;
    case -3:
      return Qt::CrossCursor;
    case -4:
      return Qt::IBeamCursor;
    case -6:
      return Qt::SizeBDiagCursor;
    case -7:
      return Qt::SizeVerCursor;
    case -8:
      return Qt::SizeFDiagCursor;
    case -9:
      return Qt::SizeHorCursor;
    case -10:
      return Qt::UpArrowCursor;
    case -11:
    case -17:
      return Qt::WaitCursor;
    case -12:
    case -16:
      return Qt::DragMoveCursor;
    case -13:
    case -18:
      return Qt::ForbiddenCursor;
    case -14:
      return Qt::SplitHCursor;
    case -15:
      return Qt::SplitVCursor;
    case -19:
      return Qt::BusyCursor;
    case -20:
      return Qt::WhatsThisCursor;
    case -21:
      return Qt::PointingHandCursor;
    case -22:
      return Qt::SizeAllCursor;
    default:
      return Qt::ArrowCursor;
  }
}

namespace {

// A key event whose character a KeyPress handler replaced, sent on without passing the
// handlers again.
const QKeyEvent* replacing_key = nullptr;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Control

Control::Control(QWidget* self, Component* owner)
    : Component(owner), self_(self), font_(std::make_unique<toolkit::Font>()) {
  filter_ = new ControlEventFilter(this, self_);
  self_->installEventFilter(filter_);
  QObject::connect(font_.get(), &Font::Changed, self_, [this] {
    if (!assigning_parent_font_) parent_font_ = false;
    FontChanged();
  });
  self_->setFont(font_->ToQFont());
}

Control::~Control() {
  if (parent_) {
    auto& list = parent_->tab_list_;
    list.erase(std::remove(list.begin(), list.end(), static_cast<Control*>(this)), list.end());
  }
  // The widget outlives this part of the object for a moment: no event may reach it any more.
  if (filter_) self_->removeEventFilter(filter_);
}

QObject* Control::Object() {
  return self_;
}

void Control::SetParent(WinControl* parent) {
  if (parent == parent_) return;
  if (parent == this) throw Error("A control cannot be its own parent");
  if (parent_) {
    auto& list = parent_->tab_list_;
    list.erase(std::remove(list.begin(), list.end(), static_cast<Control*>(this)), list.end());
  }
  WinControl* old = parent_;
  parent_ = parent;
  self_->setParent(parent ? parent->Widget() : nullptr);
  if (parent) {
    if (auto* win = dynamic_cast<WinControl*>(this)) parent->tab_list_.push_back(win);
    if (parent_font_) ParentFontChanged();
    self_->setVisible(visible_);
    parent->AlignControls();
  }
  if (old) old->AlignControls();
}

Form* Control::ParentForm() const {
  const Control* control = this;
  while (control->parent_) control = control->parent_;
  return dynamic_cast<Form*>(const_cast<Control*>(control));
}

int Control::Left() const {
  return self_->geometry().x();
}
int Control::Top() const {
  return self_->geometry().y();
}
int Control::Width() const {
  return self_->geometry().width();
}
int Control::Height() const {
  return self_->geometry().height();
}

void Control::SetBounds(int left, int top, int width, int height) {
  self_->setGeometry(left, top, std::max(0, width), std::max(0, height));
  // A hidden widget gets its resize event only when shown; its aligned children must follow now.
  if (auto* win = dynamic_cast<WinControl*>(this)) win->AlignControls();
  if (align_ != alNone) RequestAlign();
}

void Control::SetEnabled(bool enabled) {
  enabled_ = enabled;
  self_->setEnabled(enabled);
}

void Control::SetVisible(bool visible) {
  visible_ = visible;
  if (parent_) self_->setVisible(visible);
  if (align_ != alNone) RequestAlign();
}

bool Control::Showing() const {
  return self_->isVisible();
}

void Control::SetHint(std::string hint) {
  hint_ = std::move(hint);
  self_->setToolTip(ToScreen(hint_));
}

void Control::SetCursor(TCursor cursor) {
  cursor_ = cursor;
  if (cursor == crDefault) {
    self_->unsetCursor();
  } else {
    self_->setCursor(CursorShape(cursor));
  }
}

void Control::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  RequestAlign();
}

void Control::RequestAlign() {
  if (parent_) parent_->AlignControls();
}

void Control::SetFont(toolkit::Font* font) {
  if (font) font_->Assign(*font);
}

void Control::SetParentFont(bool parentFont) {
  parent_font_ = parentFont;
  if (parentFont && parent_) ParentFontChanged();
}

void Control::ParentFontChanged() {
  if (!parent_ || !parent_font_) return;
  assigning_parent_font_ = true;
  font_->Assign(*parent_->Font());
  assigning_parent_font_ = false;
}

void Control::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  ColorChanged();
}

void Control::SetTextValue(std::string text) {
  if (text == text_) return;
  text_ = std::move(text);
  TextChanged();
}

int Control::CodePage() const {
  return font_->CodePage();
}

QString Control::ToScreen(std::string_view text) const {
  return QString::fromStdU16String(os::AnsiToWide(text, CodePage()));
}

std::string Control::FromScreen(const QString& text) const {
  return os::WideToAnsi(text.toStdU16String(), CodePage());
}

int Control::TextWidth(std::string_view text) const {
  return QFontMetrics(font_->ToQFont()).horizontalAdvance(ToScreen(text));
}

int Control::TextHeight(std::string_view text) const {
  const QFontMetrics metrics(font_->ToQFont());
  return text.empty() ? metrics.height() : metrics.boundingRect(ToScreen(text)).height();
}

void Control::BringToFront() {
  self_->raise();
}
void Control::SendToBack() {
  self_->lower();
}
void Control::Repaint() {
  self_->repaint();
}
void Control::Invalidate() {
  self_->update();
}

int Control::Handle() const {
  if (handle_ == 0) handle_ = WindowHandle(self_);
  return handle_;
}

std::intptr_t Control::Perform(unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
  Message message{msg, wParam, lParam, 0};
  WndProc(message);
  return message.Result;
}

void Control::WndProc(Message&) {}

void Control::Click() {
  FOnClick(this);
}
bool Control::DialogKey(Word, ShiftState) {
  return false;
}
void Control::DblClick() {
  FOnDblClick(this);
}

void Control::MouseDown(TMouseButton button, ShiftState shift, int x, int y) {
  FOnMouseDown(this, button, shift, x, y);
}

void Control::MouseUp(TMouseButton button, ShiftState shift, int x, int y) {
  FOnMouseUp(this, button, shift, x, y);
}

void Control::MouseMove(ShiftState shift, int x, int y) {
  FOnMouseMove(this, shift, x, y);
}

void Control::FontChanged() {
  self_->setFont(font_->ToQFont());
  QPalette palette = self_->palette();
  const QColor color = ToQColor(font_->Color());
  if (color.isValid()) {
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::Text, color);
    palette.setColor(QPalette::ButtonText, color);
    self_->setPalette(palette);
  }
  TextChanged();
  if (!hint_.empty()) self_->setToolTip(ToScreen(hint_));
  if (auto* win = dynamic_cast<WinControl*>(this)) {
    for (Control* child : win->ControlList()) child->ParentFontChanged();
  }
}

void Control::ColorChanged() {
  const QColor color = ToQColor(color_);
  QPalette palette = self_->palette();
  if (color.isValid()) {
    palette.setColor(QPalette::Window, color);
    self_->setPalette(palette);
    self_->setAutoFillBackground(true);
  } else {
    self_->setAutoFillBackground(false);
  }
}

void Control::FeedEventsFrom(QWidget* inner) {
  inner->setProperty(kControlProperty,
                     QVariant::fromValue(reinterpret_cast<quintptr>(static_cast<Control*>(this))));
  inner->installEventFilter(filter_);
}

void Control::Dispatch(const std::function<void()>& call) {
  try {
    call();
  } catch (const std::exception& e) {
    HandleException(e);
  } catch (...) {
    HandleException(Error("Unknown error"));
  }
}

bool Control::IsFromChildControl(QObject* watched, QEvent* event) const {
  // Qt hands an unused mouse event on to the parents; the child control has seen it already.
  auto* widget = qobject_cast<QWidget*>(watched);
  auto* mouse = static_cast<QMouseEvent*>(event);
  if (!widget) return false;
  QWidget* hit = widget->childAt(mouse->position().toPoint());
  for (QWidget* w = hit; w && w != widget; w = w->parentWidget()) {
    if (Control* c = ControlOf(w); c && c != this) return true;
  }
  return false;
}

bool Control::FilterEvent(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove: {
      if (IsFromChildControl(watched, event)) return false;
      auto* mouse = static_cast<QMouseEvent*>(event);
      QPoint pos = mouse->position().toPoint();
      if (watched != self_) {
        if (auto* inner = qobject_cast<QWidget*>(watched)) pos = inner->mapTo(self_, pos);
      }
      const ShiftState shift = ShiftOf(mouse->modifiers(), mouse->buttons());
      const TMouseButton button = MouseButtonOf(mouse->button());
      if (event->type() == QEvent::MouseButtonPress) {
        Dispatch([&] { MouseDown(button, shift, pos.x(), pos.y()); });
      } else if (event->type() == QEvent::MouseButtonRelease) {
        Dispatch([&] { MouseUp(button, shift, pos.x(), pos.y()); });
        if (click_on_mouse_up_ && mouse->button() == Qt::LeftButton &&
            self_->rect().contains(pos)) {
          Dispatch([&] { Click(); });
        }
      } else if (event->type() == QEvent::MouseButtonDblClick) {
        Dispatch([&] { DblClick(); });
      } else if (FOnMouseMove.Code) {
        Dispatch([&] { MouseMove(shift, pos.x(), pos.y()); });
      }
      return false;
    }
    default:
      break;
  }
  if (event->type() == MessageEvent::EventType()) {
    Message& message = static_cast<MessageEvent*>(event)->Get();
    Dispatch([&] { WndProc(message); });
    return true;
  }
  return false;
}

// ---------------------------------------------------------------------------------------------
// WinControl

WinControl::WinControl(QWidget* self, Component* owner) : Control(self, owner) {
  self->setFocusPolicy(Qt::StrongFocus);
}

WinControl::~WinControl() {
  if (Form* form = ParentForm(); form && form != this) {
    auto within = [this](WinControl* c) {
      return c == this || (c && Widget()->isAncestorOf(c->Widget()));
    };
    if (within(form->active_control_)) form->active_control_ = nullptr;
    if (within(form->entered_control_)) form->entered_control_ = nullptr;
  }
  // Children are destroyed by Qt after this part is gone; they must not reach back.
  for (Control* child : ControlList()) child->parent_ = nullptr;
  tab_list_.clear();
}

void WinControl::SetParent(WinControl* parent) {
  Control::SetParent(parent);
}

std::vector<Control*> WinControl::ControlList() const {
  std::vector<Control*> list;
  for (QObject* child : Widget()->children()) {
    auto* widget = qobject_cast<QWidget*>(child);
    if (!widget) continue;
    Control* control = dynamic_cast<Control*>(widget);
    if (control && control->parent_ == this) list.push_back(control);
  }
  return list;
}

int WinControl::ControlCount() const {
  return static_cast<int>(ControlList().size());
}

Control* WinControl::Controls(int index) const {
  const std::vector<Control*> list = ControlList();
  if (index < 0 || index >= static_cast<int>(list.size())) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
  }
  return list[static_cast<size_t>(index)];
}

int WinControl::TabOrder() const {
  if (!Parent()) return -1;
  const auto& list = Parent()->tab_list_;
  auto it = std::find(list.begin(), list.end(), this);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

void WinControl::SetTabOrder(int order) {
  if (!Parent() || order < 0) return;
  auto& list = Parent()->tab_list_;
  auto it = std::find(list.begin(), list.end(), this);
  if (it == list.end()) return;
  list.erase(it);
  const size_t at = std::min(static_cast<size_t>(order), list.size());
  list.insert(list.begin() + static_cast<std::ptrdiff_t>(at), this);
}

void WinControl::GetTabOrderList(std::vector<WinControl*>& list) const {
  for (WinControl* child : tab_list_) {
    list.push_back(child);
    child->GetTabOrderList(list);
  }
}

bool WinControl::CanFocus() const {
  const Form* form = ParentForm();
  for (const Control* control = this; control; control = control->Parent()) {
    if (control == form) break;
    if (!control->Visible() || !control->Enabled()) return false;
  }
  return form != nullptr || Visible();
}

void WinControl::SetFocus() {
  if (!CanFocus()) throw Error("Cannot focus a disabled or invisible window");
  Form* form = ParentForm();
  if (form && form != this) form->active_control_ = this;
  Widget()->setFocus(Qt::OtherFocusReason);
}

bool WinControl::WantsKey(Word, ShiftState) const {
  return false;
}

bool WinControl::Focused() const {
  return Widget()->hasFocus();
}

void WinControl::DoEnter() {
  FOnEnter(this);
}
void WinControl::DoExit() {
  FOnExit(this);
}
void WinControl::KeyDown(Word& key, ShiftState shift) {
  FOnKeyDown(this, key, shift);
}
void WinControl::KeyPress(char& key) {
  FOnKeyPress(this, key);
}
void WinControl::KeyUp(Word& key, ShiftState shift) {
  FOnKeyUp(this, key, shift);
}

bool WinControl::FilterEvent(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::FocusIn: {
      Form* form = ParentForm();
      if (form && form != this) form->EnterControl(this);
      return false;
    }
    case QEvent::FocusOut: {
      auto* focus = static_cast<QFocusEvent*>(event);
      // A window that only goes to the back (or opens a menu) leaves nothing.
      if (focus->reason() == Qt::ActiveWindowFocusReason ||
          focus->reason() == Qt::PopupFocusReason) {
        return false;
      }
      Form* form = ParentForm();
      if (!form || form == this || form->entered_control_ != this) return false;
      // Qt names the new focus before the old one hears of it: containers that also hold the
      // new control stay entered.
      auto* target = dynamic_cast<WinControl*>(ControlOf(QApplication::focusWidget()));
      if (target && target->ParentForm() != form) target = nullptr;
      form->ExitTowards(target);
      return false;
    }
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      return HandleKey(watched, event);
    case QEvent::Resize:
    case QEvent::LayoutRequest:
      if (watched == Widget()) AlignControls();
      break;
    default:
      break;
  }
  return Control::FilterEvent(watched, event);
}

bool WinControl::HandleKey(QObject* watched, QEvent* event) {
  auto* keyEvent = static_cast<QKeyEvent*>(event);
  if (keyEvent == replacing_key) return false;
  // Keys a child did not use travel on to its parents; only the focused control handles them.
  if (watched != QApplication::focusWidget()) return false;
  Word key = VirtualKey(keyEvent);
  const ShiftState shift = ShiftOf(keyEvent->modifiers());
  Form* form = ParentForm();
  WinControl* preview = form && form != this && form->KeyPreview() ? form : nullptr;
  if (event->type() == QEvent::KeyRelease) {
    if (preview) Dispatch([&] { preview->KeyUp(key, shift); });
    if (key) Dispatch([&] { KeyUp(key, shift); });
    return key == 0;
  }
  // Dialog keys come first, as on the desktop: Tab moves the focus, Enter and Esc go to the
  // default and cancel buttons; the key handlers only see them when nothing used them.
  if (key == VK_TAB && (shift & (ssCtrl | ssAlt)) == 0 && !WantsKey(key, shift)) {
    if (form) form->SelectNext(this, (shift & ssShift) == 0, true);
    return true;
  }
  if ((key == VK_RETURN || key == VK_ESCAPE) && shift == 0 && form && !WantsKey(key, shift)) {
    bool used = false;
    Dispatch([&] { used = form->BroadcastDialogKey(key, shift); });
    if (used) return true;
  }
  if (preview) Dispatch([&] { preview->KeyDown(key, shift); });
  if (key) Dispatch([&] { KeyDown(key, shift); });
  if (key == 0) return true;
  if (key == VK_TAB) return false;
  const QString text = keyEvent->text();
  if (text.size() != 1 || text[0].unicode() >= 0x80) return false;
  const char original = static_cast<char>(text[0].unicode());
  char ch = original;
  if (preview) Dispatch([&] { preview->KeyPress(ch); });
  if (ch) Dispatch([&] { KeyPress(ch); });
  if (ch == 0) return true;
  if (ch != original) {
    QKeyEvent replaced(keyEvent->type(), keyEvent->key(), keyEvent->modifiers(),
                       QString(QChar(static_cast<unsigned char>(ch))));
    replacing_key = &replaced;
    QCoreApplication::sendEvent(watched, &replaced);
    replacing_key = nullptr;
    return true;
  }
  return false;
}

void WinControl::AlignControls() {
  if (aligning_) return;
  aligning_ = true;
  QRect rest = Widget()->contentsRect();
  std::vector<Control*> children = ControlList();
  auto place = [&](Control::TAlign align, auto less) {
    std::vector<Control*> list;
    for (Control* c : children) {
      if (c->Align() == align && c->Visible()) list.push_back(c);
    }
    std::stable_sort(list.begin(), list.end(), less);
    for (Control* c : list) {
      QWidget* w = c->Widget();
      switch (align) {
        case alTop:
          w->setGeometry(rest.left(), rest.top(), rest.width(), w->height());
          rest.setTop(rest.top() + w->height());
          break;
        case alBottom:
          w->setGeometry(rest.left(), rest.bottom() + 1 - w->height(), rest.width(), w->height());
          rest.setBottom(rest.bottom() - w->height());
          break;
        case alLeft:
          w->setGeometry(rest.left(), rest.top(), w->width(), rest.height());
          rest.setLeft(rest.left() + w->width());
          break;
        case alRight:
          w->setGeometry(rest.right() + 1 - w->width(), rest.top(), w->width(), rest.height());
          rest.setRight(rest.right() - w->width());
          break;
        case alClient:
          w->setGeometry(rest);
          break;
        default:
          break;
      }
    }
  };
  place(alTop, [](Control* a, Control* b) { return a->Top() < b->Top(); });
  place(alBottom, [](Control* a, Control* b) { return a->Top() > b->Top(); });
  place(alLeft, [](Control* a, Control* b) { return a->Left() < b->Left(); });
  place(alRight, [](Control* a, Control* b) { return a->Left() > b->Left(); });
  place(alClient, [](Control*, Control*) { return false; });
  aligning_ = false;
}

// ---------------------------------------------------------------------------------------------
// Handles, messages

Control* ControlOf(QObject* object) {
  if (!object) return nullptr;
  if (auto* control = dynamic_cast<Control*>(object)) return control;
  const QVariant inner = object->property(kControlProperty);
  if (inner.isValid()) return reinterpret_cast<Control*>(inner.value<quintptr>());
  return nullptr;
}

int WindowHandle(QWidget* widget) {
  if (!widget) return 0;
  const QVariant known = widget->property(kHandleProperty);
  if (known.isValid()) return known.toInt();
  HandleTable& table = Handles();
  const int handle = table.next;
  table.next += 4;
  table.widgets[handle] = widget;
  widget->setProperty(kHandleProperty, handle);
  return handle;
}

Control* FindControl(int handle) {
  return ControlOf(WidgetOfHandle(handle));
}

bool RepaintWindow(int handle) {
  QWidget* widget = WidgetOfHandle(handle);
  if (!widget) return false;
  widget->repaint();
  return true;
}

std::intptr_t SendMessage(int handle, unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
  Control* control = FindControl(handle);
  return control ? control->Perform(msg, wParam, lParam) : 0;
}

bool PostMessage(int handle, unsigned msg, std::intptr_t wParam, std::intptr_t lParam) {
  QWidget* widget = WidgetOfHandle(handle);
  if (!widget || !ControlOf(widget)) return false;
  QCoreApplication::postEvent(widget, new MessageEvent(Message{msg, wParam, lParam, 0}));
  return true;
}

void ProcessMessages() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents(QEventLoop::AllEvents);
}

namespace {
[[maybe_unused]] const bool mixin_names = [] {
  RegisterClassName("TControl", &Control::staticMetaObject);
  RegisterClassName("TWinControl", &WinControl::staticMetaObject);
  return true;
}();
}  // namespace

}  // namespace toolkit

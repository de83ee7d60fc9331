#include "toolkit/Form.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QScreen>
#include <algorithm>

#include "toolkit/Dialogs.h"

namespace toolkit {

Form::Form(Component* owner) : QWidget(nullptr), WinControl(this, owner) {
  visible_ = false;
  setFocusPolicy(Qt::NoFocus);
  setGeometry(0, 0, 320, 240);
  ColorChanged();
  ApplyWindowFlags();
}

Form::~Form() {
  // The components go while the form is still a whole form.
  DestroyComponents();
}

void Form::BeforeDestruction() {
  if (destroy_fired_) return;
  destroy_fired_ = true;
  // A window freed while on the screen is hidden first (OnHide), as a desktop form is when the
  // user closes it and it frees itself.
  if (isVisible()) SetVisible(false);
  Dispatch([this] { FOnDestroy(this); });
}

void Form::SetBounds(int left, int top, int width, int height) {
  setGeometry(left, top, std::max(0, width), std::max(0, height));
  AlignControls();
  placed_ = placed_ || isVisible();
}

void Form::SetParent(WinControl* parent) {
  Control::SetParent(parent);
}

void Form::SetVisible(bool visible) {
  visible_ = visible;
  if (visible) {
    if (!placed_) PlaceOnScreen();
    show();
  } else {
    hide();
  }
}

void Form::Show() {
  SetVisible(true);
  raise();
  activateWindow();
}

void Form::PlaceOnScreen() {
  placed_ = true;
  if (position_ == poDesigned || position_ == poDefaultSizeOnly) return;
  QScreen* screen = QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect area = screen->availableGeometry();
  move(area.center() - QPoint(width() / 2, height() / 2));
}

void Form::SetBorderStyle(TFormBorderStyle style) {
  border_style_ = style;
  ApplyWindowFlags();
}

void Form::SetBorderIcons(TBorderIcons icons) {
  border_icons_ = icons;
  ApplyWindowFlags();
}

void Form::ApplyWindowFlags() {
  Qt::WindowFlags flags = border_style_ == bsDialog ? Qt::Dialog : Qt::Window;
  if (border_style_ == bsNone) {
    flags |= Qt::FramelessWindowHint;
  } else {
    flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (border_icons_.testFlag(biSystemMenu))
      flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if (border_icons_.testFlag(biMinimize)) flags |= Qt::WindowMinimizeButtonHint;
    if (border_icons_.testFlag(biMaximize)) flags |= Qt::WindowMaximizeButtonHint;
    if (border_icons_.testFlag(biHelp)) flags |= Qt::WindowContextHelpButtonHint;
    if (border_style_ == bsToolWindow || border_style_ == bsSizeToolWin) flags |= Qt::Tool;
  }
  const bool shown = isVisible();
  setWindowFlags(flags);
  if (shown) show();
}

Form::TWindowState Form::WindowState() const {
  if (isMinimized()) return wsMinimized;
  if (isMaximized()) return wsMaximized;
  return wsNormal;
}

void Form::SetWindowState(TWindowState state) {
  switch (state) {
    case wsMinimized:
      setWindowState(Qt::WindowMinimized);
      break;
    case wsMaximized:
      setWindowState(Qt::WindowMaximized);
      break;
    case wsNormal:
      setWindowState(Qt::WindowNoState);
      break;
  }
}

WinControl* Form::ActiveControl() const {
  return active_control_;
}

void Form::SetActiveControl(WinControl* control) {
  if (control == this) control = nullptr;
  if (control && control->ParentForm() != this) {
    throw Error("Invalid control for the window's active control");
  }
  active_control_ = control;
  if (control && isVisible() && control->CanFocus()) control->SetFocus();
}

namespace {
bool Contains(WinControl* container, WinControl* control) {
  return container == control || container->Widget()->isAncestorOf(control->Widget());
}
}  // namespace

void Form::ExitTowards(WinControl* target) {
  while (entered_control_ && !(target && Contains(entered_control_, target))) {
    WinControl* leaving = entered_control_;
    WinControl* container = leaving->Parent() == this ? nullptr : leaving->Parent();
    entered_control_ = container;
    Dispatch([leaving] { leaving->DoExit(); });
    // A handler that moved the focus has had its own focus events do the rest.
    if (entered_control_ != container) return;
  }
}

void Form::EnterControl(WinControl* control) {
  if (entered_control_ == control) return;
  ExitTowards(control);
  std::vector<WinControl*> chain;
  for (WinControl* c = control; c && c != this && c != entered_control_; c = c->Parent()) {
    chain.push_back(c);
  }
  active_control_ = control;
  for (auto it = chain.rbegin(); it != chain.rend(); ++it) {
    WinControl* entering = *it;
    entered_control_ = entering;
    Dispatch([entering] { entering->DoEnter(); });
    if (entered_control_ != entering) return;
  }
  Dispatch([this, control] { Perform(CM_FOCUSCHANGED, 0, ControlParam(control)); });
}

QWidget* Form::ActiveControlWidget() const {
  return active_control_ ? active_control_->Widget() : nullptr;
}

void Form::SetActiveControlWidget(QWidget* widget) {
  SetActiveControl(dynamic_cast<WinControl*>(ControlOf(widget)));
}

void Form::SelectNext(WinControl* current, bool forward, bool checkTabStop) {
  std::vector<WinControl*> list;
  GetTabOrderList(list);
  if (list.empty()) return;
  const int count = static_cast<int>(list.size());
  int start = -1;
  if (current) {
    auto it = std::find(list.begin(), list.end(), current);
    if (it != list.end()) start = static_cast<int>(it - list.begin());
  }
  if (start < 0) start = forward ? count - 1 : 0;
  for (int step = 1; step <= count; ++step) {
    const int index = ((forward ? start + step : start - step) % count + count) % count;
    WinControl* candidate = list[static_cast<size_t>(index)];
    if (candidate == current) break;
    if ((!checkTabStop || candidate->TabStop()) && candidate->CanFocus() &&
        candidate->Widget()->focusPolicy() != Qt::NoFocus) {
      candidate->SetFocus();
      return;
    }
  }
}

namespace {
bool OfferDialogKey(WinControl* parent, Word key, ShiftState shift) {
  for (Control* child : parent->ControlList()) {
    if (child->DialogKey(key, shift)) return true;
    if (auto* win = dynamic_cast<WinControl*>(child); win && OfferDialogKey(win, key, shift)) {
      return true;
    }
  }
  return false;
}
}  // namespace

bool Form::BroadcastDialogKey(Word key, ShiftState shift) {
  return OfferDialogKey(this, key, shift);
}

bool Form::CloseQuery() {
  bool canClose = true;
  FOnCloseQuery(this, canClose);
  return canClose;
}

void Form::DoClose(TCloseAction& action) {
  FOnClose(this, action);
}

void Form::Close() {
  if (modal_) {
    SetModalResult(mrCancel);
    return;
  }
  if (!CloseQuery()) return;
  TCloseAction action = caHide;
  DoClose(action);
  switch (action) {
    case caHide:
      Hide();
      break;
    case caMinimize:
      SetWindowState(wsMinimized);
      break;
    case caFree:
      Release();
      break;
    case caNone:
      break;
  }
}

void Form::Release() {
  PostMessage(Handle(), CM_RELEASE);
}

void Form::PostClose() {
  PostMessage(Handle(), WM_CLOSE);
}

void Form::SetModalResult(int result) {
  modal_result_ = result;
  if (modal_ && result != mrNone && modal_end_) modal_end_();
}

int Form::ShowModal() {
  if (modal_ || isVisible()) throw Error("Cannot make a visible window modal");
  modal_ = true;
  modal_result_ = mrNone;
  TCloseAction action = caHide;
  try {
    for (;;) {
      CurrentModalRunner().Run(*this);
      if (modal_result_ == mrNone) modal_result_ = mrCancel;
      action = caHide;
      if (CloseQuery()) {
        DoClose(action);
      } else {
        action = caNone;
      }
      // A refused close keeps a window on the screen running; a scripted run has no screen.
      if (action != caNone || !isVisible()) break;
      modal_result_ = mrNone;
    }
  } catch (...) {
    modal_ = false;
    SetVisible(false);
    throw;
  }
  modal_ = false;
  SetVisible(false);
  const int result = modal_result_;
  if (action == caFree) Release();
  return result;
}

void Form::WndProc(Message& message) {
  switch (message.Msg) {
    case WM_CLOSE:
      Close();
      break;
    case CM_RELEASE:
      Free(this);
      break;
    default:
      WinControl::WndProc(message);
  }
}

void Form::Loaded() {}

void Form::DoCreate() {
  Dispatch([this] { FOnCreate(this); });
}

void Form::DoShow() {
  FOnShow(this);
}
void Form::DoHide() {
  FOnHide(this);
}

void Form::ColorChanged() {
  QPalette p = palette();
  p.setColor(QPalette::Window, ToQColor(Color()));
  setPalette(p);
  setAutoFillBackground(true);
}

void Form::TextChanged() {
  setWindowTitle(ToScreen(Caption()));
}

void Form::closeEvent(QCloseEvent* event) {
  // The window system's close button asks the form; the form decides what happens.
  event->ignore();
  Dispatch([this] { Close(); });
}

bool Form::FilterEvent(QObject* watched, QEvent* event) {
  if (watched == this) {
    switch (event->type()) {
      case QEvent::Show:
        // Un-minimising shows the window again without a change of Visible.
        if (!event->spontaneous()) Dispatch([this] { DoShow(); });
        break;
      case QEvent::Hide:
        if (event->spontaneous()) break;
        if (modal_ && modal_result_ == mrNone) SetModalResult(mrCancel);
        Dispatch([this] { DoHide(); });
        break;
      case QEvent::WindowActivate: {
        // A window that becomes active focuses its active control, or the first control in tab
        // order, before the window system picks one of its own.
        QWidget* focus = QApplication::focusWidget();
        if (!focus || focus->window() != this) {
          if (active_control_ && active_control_->CanFocus()) {
            active_control_->Widget()->setFocus(Qt::ActiveWindowFocusReason);
          } else {
            SelectNext(nullptr, true, true);
          }
        }
        Dispatch([this] { FOnActivate(this); });
        break;
      }
      case QEvent::WindowDeactivate:
        Dispatch([this] { FOnDeactivate(this); });
        break;
      case QEvent::Resize: {
        const bool result = WinControl::FilterEvent(watched, event);
        Dispatch([this] {
          FOnResize(this);
          Perform(WM_SIZE);
        });
        return result;
      }
      case QEvent::Move:
        Dispatch([this] { Perform(WM_MOVE); });
        break;
      default:
        break;
    }
  }
  return WinControl::FilterEvent(watched, event);
}

namespace {
[[maybe_unused]] const bool registered = RegisterComponentClass<Form>("TForm");
}  // namespace

}  // namespace toolkit

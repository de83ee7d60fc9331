#include "toolkit/Button.h"

#include <QApplication>

#include "toolkit/Form.h"

namespace toolkit {

Button::Button(Component* owner) : QPushButton(nullptr), WinControl(this, owner) {
  SetTabStop(true);
  SetBounds(0, 0, 75, 25);
  setAutoDefault(false);
  // The button clicks from Qt's signal (mouse release inside, space bar); the mouse-up rule of
  // plain controls would click twice.
  SetClickOnMouseUp(false);
  QObject::connect(this, &QPushButton::clicked, this, [this] { Dispatch([this] { Click(); }); });
}

void Button::SetDefault(bool isDefault) {
  default_ = isDefault;
  setDefault(isDefault);
}

void Button::Click() {
  if (modal_result_ != 0) {
    if (Form* form = ParentForm()) form->SetModalResult(modal_result_);
  }
  WinControl::Click();
}

bool Button::DialogKey(Word key, ShiftState shift) {
  if (shift != 0 || !CanFocus() || !Showing()) return false;
  bool mine = false;
  if (key == VK_ESCAPE) {
    mine = cancel_;
  } else if (key == VK_RETURN) {
    // Enter belongs to the focused button, otherwise to the default button.
    auto* focused = dynamic_cast<Button*>(ControlOf(QApplication::focusWidget()));
    mine = focused ? focused == this : default_;
  }
  if (mine) Click();
  return mine;
}

void Button::TextChanged() {
  setText(ToScreen(Caption()));
}

TOOLKIT_REGISTER_CLASS(Button, "TButton");

}  // namespace toolkit

#include "toolkit/RadioButton.h"

#include <QSignalBlocker>

namespace toolkit {

RadioButton::RadioButton(Component* owner) : QRadioButton(nullptr), WinControl(this, owner) {
  // Exclusion follows the radio buttons of this layer with the same parent, not Qt's rule.
  setAutoExclusive(false);
  SetTabStop(false);
  SetBounds(0, 0, 113, 17);
  SetClickOnMouseUp(false);
  QObject::connect(this, &QRadioButton::clicked, this, [this] {
    // A click always checks; clicking a checked button again changes nothing.
    if (checked_) {
      const QSignalBlocker blocker(this);
      setChecked(true);
      return;
    }
    Dispatch([this] { Check(true); });
  });
}

void RadioButton::SetChecked(bool checked) {
  Check(checked);
}

void RadioButton::Check(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  {
    const QSignalBlocker blocker(this);
    setChecked(checked);
  }
  SetTabStop(checked);
  if (!checked) return;
  if (WinControl* parent = Parent()) {
    for (Control* sibling : parent->ControlList()) {
      auto* radio = dynamic_cast<RadioButton*>(sibling);
      if (radio && radio != this && radio->checked_) radio->Check(false);
    }
  }
  if (!IsLoading()) Click();
}

void RadioButton::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  setLayoutDirection(alignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

void RadioButton::SetPopupMenu(toolkit::PopupMenu* menu) {
  popup_menu_ = menu;
  AttachPopupMenu(this, menu);
}

TOOLKIT_REGISTER_CLASS(RadioButton, "TRadioButton");

}  // namespace toolkit

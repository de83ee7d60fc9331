#include "toolkit/CheckBox.h"

#include <QSignalBlocker>

namespace toolkit {
namespace {

Qt::CheckState QtState(CheckBox::TCheckBoxState state) {
  switch (state) {
    case CheckBox::cbChecked:
      return Qt::Checked;
    case CheckBox::cbGrayed:
      return Qt::PartiallyChecked;
    default:
      return Qt::Unchecked;
  }
}

}  // namespace

CheckBox::CheckBox(Component* owner) : QCheckBox(nullptr), WinControl(this, owner) {
  SetTabStop(true);
  SetBounds(0, 0, 97, 17);
  SetClickOnMouseUp(false);
  // A state the user chose by mouse or space bar.
  QObject::connect(this, &QCheckBox::stateChanged, this, [this](int state) {
    state_ = state == Qt::Checked            ? cbChecked
             : state == Qt::PartiallyChecked ? cbGrayed
                                             : cbUnchecked;
    Dispatch([this] { Click(); });
  });
}

void CheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  {
    const QSignalBlocker blocker(this);
    setCheckState(QtState(state));
  }
  if (!IsLoading()) Click();
}

void CheckBox::SetAllowGrayed(bool allow) {
  allow_grayed_ = allow;
  setTristate(allow);
}

void CheckBox::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  setLayoutDirection(alignment == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
}

TOOLKIT_REGISTER_CLASS(CheckBox, "TCheckBox");

}  // namespace toolkit

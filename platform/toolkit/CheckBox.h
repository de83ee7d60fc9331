// Check box ("TCheckBox").
//
// Published: Caption, Checked, State (cbUnchecked, cbChecked, cbGrayed), AllowGrayed, Alignment
// (taRightJustify: box left of the caption, the default), Color, and the common windowed-control
// properties and events. Every change of the state, by the user or by the program (outside
// loading), fires OnClick, as the desktop toolkit does.
#pragma once

#include <QCheckBox>

#include "toolkit/Control.h"

namespace toolkit {

class CheckBox : public QCheckBox, public WinControl {
  Q_OBJECT
 public:
  enum TCheckBoxState { cbUnchecked, cbChecked, cbGrayed };
  Q_ENUM(TCheckBoxState)

 private:
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_PROPERTY(TCheckBoxState State READ State WRITE SetState)
  Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)
  Q_PROPERTY(toolkit::Control::TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)

 public:
  // A new check box, 97 × 17, unchecked, TabStop on.
  explicit CheckBox(Component* owner);

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }
  bool Checked() const { return state_ == cbChecked; }
  void SetChecked(bool checked) { SetState(checked ? cbChecked : cbUnchecked); }
  TCheckBoxState State() const { return state_; }
  void SetState(TCheckBoxState state);
  bool AllowGrayed() const { return allow_grayed_; }
  void SetAllowGrayed(bool allow);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);

 protected:
  void TextChanged() override { setText(ToScreen(Caption())); }

 private:
  TCheckBoxState state_ = cbUnchecked;
  bool allow_grayed_ = false;
  TAlignment alignment_ = taRightJustify;
};

}  // namespace toolkit

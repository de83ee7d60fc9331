// F2Button: `TF2Button`, the lookup button beside an edit field. Pressing it does what the F2 key
// does in that field: the window is asked to open its lookup window for the field.
//
// Published (initial values in brackets): F2Control (none; the edit control the button serves),
// AutoAlign (True: the button places itself right of F2Control), Gap (2; pixels between control
// and button, 0..255), and everything of TGSpeedButton (controls/GSpdBtn.h). A new button is flat
// and shows picture 8.
//
// Pressing the button raises its OnClick; then, when F2Control is set and enabled, the control
// takes the focus if it can, and when it holds the focus the lookup request for it
// (controls/LookupRequest.h) goes to the window that owns the control and is handled before the
// press returns.
//
// Among the components owned by the button's parent control at most one TF2Button is bound to a
// given control: a second binding is refused with the message "不能同时有两个 F2Button 指到同一个
// Edit." (error, OK), and binding a button again to its own control is ignored silently.
// Alignment (while bound and AutoAlign): height = the control's height, width = that height,
// top = the control's top, left = control left + control width + Gap. The button aligns only
// when one of its properties is set, not when the control moves later.
#pragma once

#include <QPointer>

#include "controls/GSpdBtn.h"

class TF2Button : public TGSpeedButton {
  Q_OBJECT
  Q_PROPERTY(QWidget* F2Control READ F2ControlWidget WRITE SetF2ControlWidget)
  Q_PROPERTY(bool AutoAlign READ AutoAlign WRITE SetAutoAlign)
  Q_PROPERTY(int Gap READ Gap WRITE SetGap)

 public:
  // A new button: flat, picture 8, bound to nothing.
  explicit TF2Button(toolkit::Component* owner);

  toolkit::WinControl* F2Control() const;
  // Binds the button to `control` (null unbinds) after the uniqueness check, then aligns; a
  // refused binding changes nothing.
  void SetF2Control(toolkit::WinControl* control);
  bool AutoAlign() const { return auto_align_; }
  void SetAutoAlign(bool autoAlign);
  int Gap() const { return gap_; }
  // Held to 0..255; aligns when the value changes.
  void SetGap(int gap);

  // Places the button right of the bound control (only while bound and AutoAlign).
  void AlignToControl();
  // OnClick, then the lookup request for the bound control (see the header comment).
  void Click() override;

 private:
  QWidget* F2ControlWidget() const { return control_.data(); }
  void SetF2ControlWidget(QWidget* widget);

  QPointer<QWidget> control_;
  bool auto_align_ = true;
  int gap_ = 2;
};

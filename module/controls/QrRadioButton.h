// QrRadioButton: `TQrRadioButton`, the radio button of every option window.
//
// Published (initial values in brackets): Checked (False), Alignment (taRightJustify: the button
// at the left, the caption right of it; taLeftJustify mirrors it), Caption (""), Color
// (clBtnFace), TabStop (False while unchecked, True while checked), and the common properties and
// events of windowed controls (click, double-click, key, enter and exit events). A new button is
// 113 × 17.
//
// Checking a button unchecks every other TQrRadioButton with the same parent, then raises the
// change notification (Changed) and OnClick, unless clicks are disabled (ClicksDisabled, which
// a radio group sets while it checks its buttons itself). A click checks the button; the
// caption's accelerator gives it the focus. Unchecking raises nothing.
//
// The caption is drawn by the button itself after the standard button: a band in Color from
// d - 4 to 4 pixels beyond the client area on the right, top and bottom, and the caption at d,
// on one line, vertically centred, in the font's colour whether the button is enabled or not. d
// depends on the font size in points (CaptionOffset).
#pragma once

#include <QRadioButton>

#include "toolkit/Control.h"

class TQrRadioButton : public QRadioButton, public toolkit::WinControl {
  Q_OBJECT
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_PROPERTY(toolkit::Control::TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)

 public:
  // A new button, 113 × 17, unchecked.
  explicit TQrRadioButton(toolkit::Component* owner);

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }
  bool Checked() const { return checked_; }
  // See the header comment. Setting the value the button has already does nothing.
  void SetChecked(bool checked);
  TAlignment Alignment() const { return alignment_; }
  // taCenter counts as taRightJustify.
  void SetAlignment(TAlignment alignment);

  // While set, checking the button raises no OnClick.
  bool ClicksDisabled() const { return clicks_disabled_; }
  void SetClicksDisabled(bool disabled) { clicks_disabled_ = disabled; }

  void SetEnabled(bool enabled) override;

  // The distance of the caption from the left edge for a font of `points` points.
  static int CaptionOffset(int points);

 protected:
  // The change notification after the button was checked (a group button tells its group).
  virtual void Changed() {}
  void TextChanged() override;
  void FontChanged() override;
  void ColorChanged() override { update(); }
  // The state is the control's own: Qt's click never toggles it.
  void nextCheckState() override {}
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;

 private:
  bool checked_ = false;
  bool clicks_disabled_ = false;
  TAlignment alignment_ = taRightJustify;
};

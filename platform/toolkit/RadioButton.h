// Radio button ("TRadioButton").
//
// Published: Caption, Checked (False), Alignment (taRightJustify: the button left of the caption),
// Color, PopupMenu, and the common windowed-control properties and events. Checking a radio
// button, by the user or by the program (outside loading), unchecks the other radio buttons with
// the same parent and then fires OnClick; unchecking fires nothing. A checked radio button is a
// tab stop, an unchecked one is not. A new radio button is 113 × 17.
#pragma once

#include <QPointer>
#include <QRadioButton>

#include "toolkit/Control.h"
#include "toolkit/Menus.h"

namespace toolkit {

class RadioButton : public QRadioButton, public WinControl {
  Q_OBJECT
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_PROPERTY(toolkit::Control::TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(toolkit::PopupMenu* PopupMenu READ GetPopupMenu WRITE SetPopupMenu)

 public:
  explicit RadioButton(Component* owner);

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }
  bool Checked() const { return checked_; }
  void SetChecked(bool checked);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  toolkit::PopupMenu* GetPopupMenu() const { return popup_menu_; }
  void SetPopupMenu(toolkit::PopupMenu* menu);

 protected:
  void TextChanged() override { setText(ToScreen(Caption())); }

 private:
  void Check(bool checked);
  bool checked_ = false;
  TAlignment alignment_ = taRightJustify;
  QPointer<toolkit::PopupMenu> popup_menu_;
};

}  // namespace toolkit

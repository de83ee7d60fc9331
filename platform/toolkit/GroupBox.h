// Group box ("TGroupBox"): a framed container with a caption in its top edge.
//
// Published: Caption, Color (clBtnFace), PopupMenu, and the common windowed-control properties
// and events. Child controls are placed relative to the box's top-left corner; aligned children
// fill the area inside the frame, below the caption. A group box takes no focus of its own. A new
// group box is 185 × 105.
#pragma once

#include <QGroupBox>
#include <QPointer>

#include "toolkit/Control.h"
#include "toolkit/Menus.h"

namespace toolkit {

class GroupBox : public QGroupBox, public WinControl {
  Q_OBJECT
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(toolkit::PopupMenu* PopupMenu READ GetPopupMenu WRITE SetPopupMenu)

 public:
  explicit GroupBox(Component* owner);

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }
  toolkit::PopupMenu* GetPopupMenu() const { return popup_menu_; }
  void SetPopupMenu(toolkit::PopupMenu* menu);

 protected:
  void TextChanged() override;

 private:
  QPointer<toolkit::PopupMenu> popup_menu_;
};

}  // namespace toolkit

#include "toolkit/GroupBox.h"

namespace toolkit {

GroupBox::GroupBox(Component* owner) : QGroupBox(nullptr), WinControl(this, owner) {
  setFocusPolicy(Qt::NoFocus);
  SetBounds(0, 0, 185, 105);
  ColorChanged();
  TextChanged();
}

void GroupBox::TextChanged() {
  // Qt sets the contents margins from the title, so aligned children keep below the caption.
  setTitle(ToScreen(Caption()));
  AlignControls();
}

void GroupBox::SetPopupMenu(toolkit::PopupMenu* menu) {
  popup_menu_ = menu;
  AttachPopupMenu(this, menu);
}

TOOLKIT_REGISTER_CLASS(GroupBox, "TGroupBox");

}  // namespace toolkit

#include "controls/F2Button.h"

#include <algorithm>

#include "controls/Binding.h"
#include "controls/LookupRequest.h"
#include "support/GbkText.h"

TF2Button::TF2Button(toolkit::Component* owner) : TGSpeedButton(owner) {
  SetFlat(true);
  SetGlyphIndex(8);
}

toolkit::WinControl* TF2Button::F2Control() const {
  return dynamic_cast<toolkit::WinControl*>(toolkit::ControlOf(control_.data()));
}

void TF2Button::SetF2ControlWidget(QWidget* widget) {
  SetF2Control(dynamic_cast<toolkit::WinControl*>(toolkit::ControlOf(widget)));
}

void TF2Button::SetF2Control(toolkit::WinControl* control) {
  if (control) {
    const bool allowed = detail::BindingAllowed(
        this,
        [control](toolkit::Component* component) {
          auto* button = dynamic_cast<TF2Button*>(component);
          return button && button->F2Control() == control;
        },
        Gbk("不能同时有两个 F2Button 指到同一个 Edit."));
    if (!allowed) return;
  }
  control_ = control ? control->Widget() : nullptr;
  AlignToControl();
}

void TF2Button::SetAutoAlign(bool autoAlign) {
  auto_align_ = autoAlign;
  AlignToControl();
}

void TF2Button::SetGap(int gap) {
  gap = std::clamp(gap, 0, 255);
  if (gap == gap_) return;
  gap_ = gap;
  AlignToControl();
}

void TF2Button::AlignToControl() {
  toolkit::WinControl* c = F2Control();
  if (!c || !auto_align_) return;
  const int side = c->Height();
  SetBounds(c->Left() + c->Width() + gap_, c->Top(), side, side);
}

void TF2Button::Click() {
  TGSpeedButton::Click();
  toolkit::WinControl* c = F2Control();
  if (!c || !c->Enabled()) return;
  if (c->CanFocus()) c->SetFocus();
  if (c->Focused()) SendLookupRequest(c, c);
}

TOOLKIT_REGISTER_CLASS(TF2Button, "TF2Button");

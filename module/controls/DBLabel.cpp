#include "controls/DBLabel.h"

#include <algorithm>

#include "controls/Binding.h"
#include "support/GbkText.h"
#include "toolkit/DataSet.h"
#include "toolkit/Properties.h"

TDBLabel::TDBLabel(toolkit::Component* owner) : toolkit::Label(owner) {
  SetCaption(Gbk("挂靠标签"));
}

QWidget* TDBLabel::FocusControlWidget() const {
  return bound_.data();
}

void TDBLabel::SetFocusControlWidget(QWidget* widget) {
  SetFocusControl(dynamic_cast<toolkit::WinControl*>(toolkit::ControlOf(widget)));
}

bool TDBLabel::MayBindTo(toolkit::WinControl* control) const {
  return detail::BindingAllowed(
      this,
      [control](toolkit::Component* component) {
        auto* label = dynamic_cast<TDBLabel*>(component);
        return label && label->FocusControl() == control;
      },
      Gbk("不能同时有两个 DBLabel 指到同一个 Control."));
}

void TDBLabel::SetFocusControl(toolkit::WinControl* control) {
  if (control && !MayBindTo(control)) return;
  if (bound_) QObject::disconnect(bound_, &QObject::destroyed, this, nullptr);
  bound_ = control ? control->Widget() : nullptr;
  toolkit::Label::SetFocusControl(control);
  if (bound_) {
    // The label must not keep a control that is gone.
    QObject::connect(bound_, &QObject::destroyed, this,
                     [this] { toolkit::Label::SetFocusControl(nullptr); });
  }
  Changed();
}

void TDBLabel::SetAutoAlign(bool autoAlign) {
  auto_align_ = autoAlign;
  Changed();
}

void TDBLabel::SetAutoCaption(bool autoCaption) {
  auto_caption_ = autoCaption;
  Changed();
}

void TDBLabel::SetPos(TPos pos) {
  if (pos == pos_) return;
  pos_ = pos;
  Changed();
}

void TDBLabel::SetGap(int gap) {
  gap = std::clamp(gap, 0, 255);
  if (gap == gap_) return;
  gap_ = gap;
  Changed();
}

void TDBLabel::Changed() {
  RefreshCaption();
  AlignToControl();
}

void TDBLabel::RefreshCaption() {
  toolkit::WinControl* control = FocusControl();
  if (!auto_caption_ || !control) return;
  try {
    if (toolkit::PropertyKind(control, "DataSource") != toolkit::PropKind::Object) return;
    toolkit::Persistent* source = toolkit::GetObjectProperty(control, "DataSource");
    if (!source) return;
    auto* dataSet =
        dynamic_cast<toolkit::ClientDataSet*>(toolkit::GetObjectProperty(source, "DataSet"));
    if (!dataSet) return;
    if (toolkit::Field* field = dataSet->FindField(toolkit::GetStrPropOf(control, "DataField"))) {
      SetCaption(field->DisplayLabel());
    }
  } catch (const std::exception&) {
    // A caption that cannot be fetched stays as it is.
  }
}

void TDBLabel::AlignToControl() {
  toolkit::WinControl* c = FocusControl();
  if (!c || !auto_align_) return;
  const int beside =
      Height() == c->Height() ? c->Top() : std::max(0, c->Top() + c->Height() / 2 - Height() / 2);
  int left = Left();
  int top = Top();
  switch (pos_) {
    case psTop:
      left = c->Left();
      top = std::max(0, c->Top() - Height() - gap_);
      break;
    case psLeft:
      left = std::max(0, c->Left() - Width() - gap_);
      top = beside;
      break;
    case psRight:
      left = std::max(0, c->Left() + c->Width() + gap_);
      top = beside;
      break;
    case psBottom:
      left = c->Left();
      top = std::max(0, c->Top() + c->Height() + gap_);
      break;
  }
  SetBounds(left, top, Width(), Height());
}

TOOLKIT_REGISTER_CLASS(TDBLabel, "TDBLabel");

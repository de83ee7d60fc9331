#include "controls/QrnEdit.h"

#include "controls/GSpdBtn.h"
#include "controls/LookupRequest.h"
#include "toolkit/Properties.h"

namespace {

// The inner button's OnClick is bound to this published handler of the edit.
const auto kPublished =
    toolkit::Publish<TQrBtnDBEdit>().Handler("F2ButtonClick", &TQrBtnDBEdit::F2ButtonClick);

}  // namespace

// ---- TQrLabeledEdit ---------------------------------------------------------------------------

TQrLabeledEdit::TQrLabeledEdit(toolkit::Component* owner) : toolkit::Edit(owner) {
  auto* label = new toolkit::Label(this);
  label->SetName("EditLabel");
  label->SetFocusControl(this);
  label_ = label;
}

TQrLabeledEdit::~TQrLabeledEdit() {
  // The label is owned by the edit and goes with it; it must not point back meanwhile.
  if (label_) label_->SetFocusControl(nullptr);
}

std::string TQrLabeledEdit::Caption() const {
  return label_ ? label_->Caption() : std::string();
}

void TQrLabeledEdit::SetCaption(std::string caption) {
  if (label_) label_->SetCaption(std::move(caption));
  PlacePartners();
}

void TQrLabeledEdit::SetLabelPosition(TLabelPosition position) {
  label_position_ = position;
  PlacePartners();
}

void TQrLabeledEdit::SetLabelSpacing(int spacing) {
  if (spacing < 0) return;
  label_spacing_ = spacing;
  PlacePartners();
}

void TQrLabeledEdit::SetBounds(int left, int top, int width, int height) {
  toolkit::Edit::SetBounds(left, top, width, height);
  PlacePartners();
}

void TQrLabeledEdit::SetParent(toolkit::WinControl* parent) {
  toolkit::Edit::SetParent(parent);
  if (label_) label_->SetParent(parent);
  PlacePartners();
}

void TQrLabeledEdit::SetEnabled(bool enabled) {
  toolkit::Edit::SetEnabled(enabled);
  if (label_) label_->SetEnabled(enabled);
}

void TQrLabeledEdit::SetVisible(bool visible) {
  toolkit::Edit::SetVisible(visible);
  if (label_) label_->SetVisible(visible);
}

void TQrLabeledEdit::PlacePartners() {
  if (!label_) return;
  const int lw = label_->Width();
  const int lh = label_->Height();
  const int s = label_spacing_;
  int left = Left();
  int top = Top();
  switch (label_position_) {
    case lpAbove:
      top = Top() - lh - s;
      break;
    case lpBelow:
      top = Top() + Height() + s;
      break;
    case lpLeft:
      left = Left() - lw - s;
      top = Top() + (Height() - lh) / 2;
      break;
    case lpRight:
      left = Left() + Width() + s;
      top = Top() + (Height() - lh) / 2;
      break;
  }
  label_->SetBounds(left, top, lw, lh);
}

// ---- TQrBtnDBEdit -----------------------------------------------------------------------------

TQrBtnDBEdit::TQrBtnDBEdit(toolkit::Component* owner) : TQrDBEdit(owner) {
  auto* button = new TGSpeedButton(this);
  button->SetName("F2Button");
  button->SetFlat(true);
  button->SetGlyphIndex(8);
  button_ = button;
  toolkit::SetMethodPropOf(button, "OnClick", toolkit::FindMethod(this, "F2ButtonClick"));
  PlacePartners();
}

TQrBtnDBEdit::~TQrBtnDBEdit() {
  if (TGSpeedButton* button = Button()) toolkit::SetMethodPropOf(button, "OnClick", {});
}

TGSpeedButton* TQrBtnDBEdit::Button() const {
  return qobject_cast<TGSpeedButton*>(button_.data());
}

void TQrBtnDBEdit::SetButtonSpacing(int spacing) {
  button_spacing_ = spacing;
  PlacePartners();
}

int TQrBtnDBEdit::GlyphIndex() const {
  return Button() ? Button()->GlyphIndex() : 0;
}

void TQrBtnDBEdit::SetGlyphIndex(int index) {
  if (TGSpeedButton* button = Button()) button->SetGlyphIndex(index);
}

std::string TQrBtnDBEdit::ButtonHint() const {
  return Button() ? Button()->Hint() : std::string();
}

void TQrBtnDBEdit::SetButtonHint(std::string hint) {
  if (TGSpeedButton* button = Button()) button->SetHint(std::move(hint));
}

void TQrBtnDBEdit::SetEnabled(bool enabled) {
  TQrDBEdit::SetEnabled(enabled);
  if (TGSpeedButton* button = Button()) button->SetEnabled(enabled);
}

void TQrBtnDBEdit::SetVisible(bool visible) {
  TQrDBEdit::SetVisible(visible);
  if (TGSpeedButton* button = Button()) button->SetVisible(visible);
}

void TQrBtnDBEdit::SetParent(toolkit::WinControl* parent) {
  TQrDBEdit::SetParent(parent);
  if (TGSpeedButton* button = Button()) button->SetParent(parent);
  PlacePartners();
}

void TQrBtnDBEdit::PlacePartners() {
  TQrDBEdit::PlacePartners();
  if (TGSpeedButton* button = Button()) {
    button->SetBounds(Left() + Width() + button_spacing_, Top(), Height(), Height());
  }
}

void TQrBtnDBEdit::F2ButtonClick(toolkit::Component*) {
  if (!FOnDialog.IsEmpty()) {
    FOnDialog(this);
    return;
  }
  if (CanFocus()) SetFocus();
  if (Focused()) SendLookupRequest(this, this);
}

TOOLKIT_REGISTER_CLASS(TQrEdit, "TQrEdit");
TOOLKIT_REGISTER_CLASS(TQrDBEdit, "TQrDBEdit");
TOOLKIT_REGISTER_CLASS(TQrBtnDBEdit, "TQrBtnDBEdit");

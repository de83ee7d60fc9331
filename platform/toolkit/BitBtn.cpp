#include "toolkit/BitBtn.h"

#include <QPainter>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "toolkit/Form.h"

namespace toolkit {

BitBtn::BitBtn(Component* owner) : Button(owner) {
  glyph_ = std::make_unique<Bitmap>();
  glyph_->SetOnChange([this] {
    num_glyphs_ = ButtonGlyph::ImagesIn(glyph_->GetPicture());
    update();
  });
}

void BitBtn::SetGlyph(Bitmap* glyph) {
  if (glyph) {
    glyph_->Assign(*glyph);
  } else {
    glyph_->Clear();
  }
}

void BitBtn::SetNumGlyphs(int count) {
  num_glyphs_ = std::clamp(count, 1, 4);
  update();
}

void BitBtn::SetLayout(ButtonGlyph::TButtonLayout layout) {
  layout_ = layout;
  update();
}

void BitBtn::SetMargin(int margin) {
  margin_ = std::max(-1, margin);
  update();
}

void BitBtn::SetSpacing(int spacing) {
  spacing_ = spacing;
  update();
}

void BitBtn::SetKind(TBitBtnKind kind) {
  kind_ = kind;
  switch (kind) {
    case bkOK:
      SetModalResult(mrOk);
      SetDefault(true);
      break;
    case bkCancel:
      SetModalResult(mrCancel);
      SetCancel(true);
      break;
    case bkYes:
      SetModalResult(mrYes);
      SetDefault(true);
      break;
    case bkNo:
      SetModalResult(mrNo);
      SetCancel(true);
      break;
    case bkAbort:
      SetModalResult(mrAbort);
      break;
    case bkRetry:
      SetModalResult(mrRetry);
      break;
    case bkIgnore:
      SetModalResult(mrIgnore);
      break;
    case bkAll:
      SetModalResult(mrAll);
      break;
    default:
      break;
  }
}

void BitBtn::Click() {
  if (kind_ == bkClose) {
    if (Form* form = ParentForm()) {
      form->Close();
      return;
    }
  }
  Button::Click();
}

void BitBtn::TextChanged() {
  Button::TextChanged();
  update();
}

void BitBtn::paintEvent(QPaintEvent*) {
  QStylePainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  option.icon = QIcon();
  painter.drawControl(QStyle::CE_PushButtonBevel, option);
  const QRect contents = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
  const bool pressed = isDown() || isChecked();
  const ButtonGlyph::TButtonState state = !isEnabled() ? ButtonGlyph::bsDisabled
                                          : pressed    ? ButtonGlyph::bsDown
                                                       : ButtonGlyph::bsUp;
  const QPixmap image = ButtonGlyph::StateImage(glyph_->GetPicture(), num_glyphs_, state);
  painter.setFont(font());
  ButtonGlyph::Draw(painter, contents, image, ToScreen(Caption()), layout_, margin_, spacing_,
                    isEnabled(), palette(), pressed ? 1 : 0);
  if (hasFocus()) {
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = style()->subElementRect(QStyle::SE_PushButtonFocusRect, &option, this);
    painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
  }
}

TOOLKIT_REGISTER_CLASS(BitBtn, "TBitBtn");

}  // namespace toolkit

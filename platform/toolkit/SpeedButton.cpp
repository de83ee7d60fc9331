#include "toolkit/SpeedButton.h"

#include <QPainter>
#include <QStyleOptionToolButton>

namespace toolkit {

SpeedButton::SpeedButton(Component* owner) : QAbstractButton(nullptr), Control(this, owner) {
  setFocusPolicy(Qt::NoFocus);
  setAttribute(Qt::WA_Hover);
  SetBounds(0, 0, 23, 22);
  SetClickOnMouseUp(false);
  glyph_ = std::make_unique<Bitmap>();
  glyph_->SetOnChange([this] {
    num_glyphs_ = ButtonGlyph::ImagesIn(glyph_->GetPicture());
    update();
  });
  QObject::connect(this, &QAbstractButton::clicked, this,
                   [this] { Dispatch([this] { UserClicked(); }); });
}

void SpeedButton::SetGlyph(Bitmap* glyph) {
  if (glyph) {
    glyph_->Assign(*glyph);
  } else {
    glyph_->Clear();
  }
}

void SpeedButton::SetNumGlyphs(int count) {
  num_glyphs_ = std::clamp(count, 1, 4);
  update();
}

void SpeedButton::SetLayout(ButtonGlyph::TButtonLayout layout) {
  layout_ = layout;
  update();
}

void SpeedButton::SetMargin(int margin) {
  margin_ = std::max(-1, margin);
  update();
}

void SpeedButton::SetSpacing(int spacing) {
  spacing_ = spacing;
  update();
}

void SpeedButton::SetFlat(bool flat) {
  flat_ = flat;
  update();
}

void SpeedButton::SetGroupIndex(int index) {
  group_index_ = std::max(0, index);
  if (group_index_ == 0) {
    down_ = false;
  } else if (down_) {
    ReleaseGroup();
  }
  update();
}

void SpeedButton::SetDown(bool down) {
  // A button outside any group is down only while it is pressed.
  if (group_index_ == 0) down = false;
  if (down == down_) return;
  // A down button of a group that does not allow all up stays down until another goes down.
  if (down_ && !allow_all_up_) return;
  down_ = down;
  if (down_) ReleaseGroup();
  update();
}

void SpeedButton::SetAllowAllUp(bool allow) {
  allow_all_up_ = allow;
  // The group shares the setting.
  if (WinControl* parent = Parent(); parent && group_index_ != 0) {
    for (Control* c : parent->ControlList()) {
      auto* b = dynamic_cast<SpeedButton*>(c);
      if (b && b->group_index_ == group_index_) b->allow_all_up_ = allow;
    }
  }
}

void SpeedButton::ReleaseGroup() {
  WinControl* parent = Parent();
  if (!parent || group_index_ == 0) return;
  for (Control* c : parent->ControlList()) {
    auto* b = dynamic_cast<SpeedButton*>(c);
    if (b && b != this && b->group_index_ == group_index_ && b->down_) {
      b->down_ = false;
      b->update();
    }
  }
}

void SpeedButton::UserClicked() {
  if (group_index_ != 0) {
    if (!down_) {
      down_ = true;
      ReleaseGroup();
    } else if (allow_all_up_) {
      down_ = false;
    }
    update();
  }
  Click();
}

void SpeedButton::enterEvent(QEnterEvent* event) {
  hovered_ = true;
  update();
  QAbstractButton::enterEvent(event);
}

void SpeedButton::leaveEvent(QEvent* event) {
  hovered_ = false;
  update();
  QAbstractButton::leaveEvent(event);
}

QSize SpeedButton::sizeHint() const {
  return {23, 22};
}

void SpeedButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionToolButton option;
  option.initFrom(this);
  option.rect = rect();
  const bool pressed = isDown() || down_;
  if (pressed) option.state |= QStyle::State_Sunken | QStyle::State_On;
  if (!flat_ || hovered_ || pressed) option.state |= QStyle::State_Raised;
  if (flat_) option.state |= QStyle::State_AutoRaise;
  if (!flat_ || hovered_ || pressed) {
    style()->drawPrimitive(flat_ ? QStyle::PE_PanelButtonTool : QStyle::PE_PanelButtonBevel,
                           &option, &painter, this);
  }
  const ButtonGlyph::TButtonState state = !isEnabled() ? ButtonGlyph::bsDisabled
                                          : down_      ? ButtonGlyph::bsExclusive
                                          : isDown()   ? ButtonGlyph::bsDown
                                                       : ButtonGlyph::bsUp;
  const QPixmap image = ButtonGlyph::StateImage(glyph_->GetPicture(), num_glyphs_, state);
  painter.setFont(font());
  ButtonGlyph::Draw(painter, rect().adjusted(2, 2, -2, -2), image, ToScreen(Caption()), layout_,
                    margin_, spacing_, isEnabled(), palette(), pressed ? 1 : 0);
}

TOOLKIT_REGISTER_CLASS(SpeedButton, "TSpeedButton");

}  // namespace toolkit

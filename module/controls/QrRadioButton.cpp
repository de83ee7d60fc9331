#include "controls/QrRadioButton.h"

#include <QEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

TQrRadioButton::TQrRadioButton(toolkit::Component* owner)
    : QRadioButton(nullptr), toolkit::WinControl(this, owner) {
  setAutoExclusive(false);
  SetTabStop(false);
  SetBounds(0, 0, 113, 17);
  SetClickOnMouseUp(false);
  QObject::connect(this, &QAbstractButton::clicked, this,
                   [this] { Dispatch([this] { SetChecked(true); }); });
}

void TQrRadioButton::SetChecked(bool checked) {
  if (checked == checked_) return;
  checked_ = checked;
  setChecked(checked);
  SetTabStop(checked);
  if (!checked) return;
  if (toolkit::WinControl* parent = Parent()) {
    for (toolkit::Control* sibling : parent->ControlList()) {
      auto* other = dynamic_cast<TQrRadioButton*>(sibling);
      if (other && other != this) other->SetChecked(false);
    }
  }
  Changed();
  if (!clicks_disabled_ && !IsLoading()) Click();
}

void TQrRadioButton::SetAlignment(TAlignment alignment) {
  alignment_ = alignment == taLeftJustify ? taLeftJustify : taRightJustify;
  setLayoutDirection(alignment_ == taLeftJustify ? Qt::RightToLeft : Qt::LeftToRight);
  update();
}

void TQrRadioButton::SetEnabled(bool enabled) {
  toolkit::WinControl::SetEnabled(enabled);
  update();
}

int TQrRadioButton::CaptionOffset(int points) {
  if (points >= 1 && points <= 8) return 17;
  if (points >= 9 && points <= 15) return 19;
  if (points >= 16 && points <= 17) return 20;
  if (points >= 18 && points <= 23) return 21;
  if (points >= 24 && points <= 29) return 23;
  if (points >= 30 && points <= 35) return 25;
  if (points >= 36 && points <= 41) return 27;
  if (points >= 42 && points <= 43) return 29;
  if (points >= 44 && points <= 60) return 31;
  if (points >= 61 && points <= 80) return 39;
  return 44;
}

void TQrRadioButton::TextChanged() {
  // Qt keeps the text for its size hint and the accelerator; the drawing is the button's own.
  setText(ToScreen(Caption()));
  update();
}

void TQrRadioButton::FontChanged() {
  toolkit::WinControl::FontChanged();
  update();
}

bool TQrRadioButton::event(QEvent* event) {
  if (event->type() == QEvent::Shortcut) {
    Dispatch([this] {
      if (CanFocus()) SetFocus();
    });
    return true;
  }
  return QRadioButton::event(event);
}

void TQrRadioButton::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionButton option;
  initStyleOption(&option);
  option.text.clear();
  style()->drawControl(QStyle::CE_RadioButton, &option, &painter, this);

  const int d = CaptionOffset(Font()->Size());
  const int w = ClientWidth();
  const int h = ClientHeight();
  const bool mirrored = alignment_ == taLeftJustify;
  const QRect band = mirrored ? QRect(QPoint(-4, -4), QPoint(w - d + 4 - 1, h + 4 - 1))
                              : QRect(QPoint(d - 4, -4), QPoint(w + 4 - 1, h + 4 - 1));
  painter.fillRect(band, toolkit::ToQColor(Color()));
  const QRect textArea = mirrored ? QRect(0, 0, w - d, h) : QRect(d, 0, w - d, h);
  const QColor color = toolkit::ToQColor(Font()->Color());
  painter.setPen(color.isValid() ? color : palette().color(QPalette::Active, QPalette::WindowText));
  painter.setFont(font());
  painter.drawText(textArea,
                   (mirrored ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter |
                       Qt::TextSingleLine | Qt::TextShowMnemonic,
                   text());
}

TOOLKIT_REGISTER_CLASS(TQrRadioButton, "TQrRadioButton");

#include "controls/BtChkBox.h"

#include <QEvent>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeySequence>
#include <QPainter>
#include <QShortcutEvent>
#include <QStyle>
#include <QStyleOption>
#include <algorithm>

#include "controls/ModuleRes.h"

using toolkit::CheckBox;

namespace {

const char* DefaultGlyphName(TBitCheckBox::TCheckBoxState state) {
  switch (state) {
    case CheckBox::cbChecked:
      return "CHECKED";
    case CheckBox::cbGrayed:
      return "GRAYED";
    default:
      return "UNCHECKED";
  }
}

constexpr TBitCheckBox::TCheckBoxState kStates[] = {CheckBox::cbUnchecked, CheckBox::cbChecked,
                                                    CheckBox::cbGrayed};

}  // namespace

TBitCheckBox::TBitCheckBox(toolkit::Component* owner)
    : QWidget(nullptr), toolkit::WinControl(this, owner) {
  SetTabStop(true);
  SetBounds(0, 0, 97, 17);
  for (TCheckBoxState state : kStates) {
    glyphs_[state] = std::make_unique<toolkit::Bitmap>();
    glyphs_[state]->Assign(ModulePicture(DefaultGlyphName(state)));
    glyphs_[state]->SetOnChange([this, state] { GlyphChanged(state); });
  }
}

TBitCheckBox::~TBitCheckBox() {
  for (auto& glyph : glyphs_) glyph->SetOnChange(nullptr);
}

void TBitCheckBox::SetState(TCheckBoxState state) {
  if (state == state_) return;
  state_ = state;
  update();
}

void TBitCheckBox::SetChecked(bool checked) {
  SetState(checked ? CheckBox::cbChecked : CheckBox::cbUnchecked);
}

void TBitCheckBox::SetAlignment(TAlignment alignment) {
  alignment_ = alignment == taLeftJustify ? taLeftJustify : taRightJustify;
  update();
}

void TBitCheckBox::SetCtl3D(bool ctl3d) {
  ctl3d_ = ctl3d;
  update();
}

void TBitCheckBox::SetGlyph(TCheckBoxState state, toolkit::Bitmap* glyph) {
  if (glyph == glyphs_[state].get()) return;
  if (glyph) {
    glyphs_[state]->Assign(*glyph);
  } else {
    glyphs_[state]->Assign(ModulePicture(DefaultGlyphName(state)));
  }
}

void TBitCheckBox::SetGlyphPicture(TCheckBoxState state, const toolkit::Picture* picture) {
  glyphs_[state]->Assign(picture ? *picture : ModulePicture(DefaultGlyphName(state)));
}

void TBitCheckBox::GlyphChanged(TCheckBoxState state) {
  const toolkit::Picture& picture = glyphs_[state]->GetPicture();
  if (!picture.IsEmpty() && picture.Width() % picture.Height() == 0) {
    SetNumGlyphs(state, picture.Width() / picture.Height());
  }
  update();
}

void TBitCheckBox::SetNumGlyphs(TCheckBoxState state, int count) {
  num_glyphs_[state] = std::clamp(count, 1, 2);
  update();
}

void TBitCheckBox::SetPopupMenu(toolkit::PopupMenu* menu) {
  popup_menu_ = menu;
  toolkit::AttachPopupMenu(this, menu);
}

void TBitCheckBox::Toggle() {
  switch (state_) {
    case CheckBox::cbUnchecked:
      SetState(allow_grayed_ ? CheckBox::cbGrayed : CheckBox::cbChecked);
      break;
    case CheckBox::cbChecked:
      SetState(CheckBox::cbUnchecked);
      break;
    case CheckBox::cbGrayed:
      SetState(CheckBox::cbChecked);
      break;
  }
}

void TBitCheckBox::Click() {
  Toggle();
  toolkit::WinControl::Click();
  if (CanFocus()) SetFocus();
}

void TBitCheckBox::SetEnabled(bool enabled) {
  toolkit::WinControl::SetEnabled(enabled);
  update();
}

void TBitCheckBox::KeyPress(char& key) {
  toolkit::WinControl::KeyPress(key);
  if (key == ' ') Click();
}

void TBitCheckBox::TextChanged() {
  if (shortcut_id_ != 0) releaseShortcut(shortcut_id_);
  shortcut_id_ = 0;
  const QKeySequence mnemonic = QKeySequence::mnemonic(ToScreen(Caption()));
  if (!mnemonic.isEmpty()) shortcut_id_ = grabShortcut(mnemonic);
  update();
}

void TBitCheckBox::FontChanged() {
  toolkit::WinControl::FontChanged();
  update();
}

void TBitCheckBox::Accelerator() {
  if (!Enabled() || !CanFocus()) return;
  SetFocus();
  if (Focused()) Toggle();
}

bool TBitCheckBox::event(QEvent* event) {
  switch (event->type()) {
    case QEvent::Shortcut:
      if (static_cast<QShortcutEvent*>(event)->shortcutId() == shortcut_id_) {
        Dispatch([this] { Accelerator(); });
        return true;
      }
      break;
    case QEvent::PaletteChange:
    case QEvent::StyleChange:
    case QEvent::EnabledChange:
      update();
      break;
    default:
      break;
  }
  return QWidget::event(event);
}

void TBitCheckBox::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update();
}

void TBitCheckBox::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update();
}

QRect TBitCheckBox::CaptionRect() const {
  const toolkit::Picture& picture = glyphs_[state_]->GetPicture();
  const int w = picture.Width() / num_glyphs_[state_];
  const QFontMetrics metrics(font());
  const int textHeight = metrics.height();
  int textWidth = TextWidth(Caption());
  if (Caption().find('&') != std::string::npos) textWidth -= TextWidth("&");
  const int left = alignment_ == taRightJustify ? w + 4 : 1;
  const int top = (ClientHeight() - textHeight) / 2 - 2;
  // Right and bottom are exclusive edges, as the desktop's rectangles have them.
  const QRect area(QPoint(left, top), QPoint(left + textWidth - 1, top + textHeight + 3 - 1));
  return area.intersected(QRect(0, 0, ClientWidth(), ClientHeight()));
}

QPoint TBitCheckBox::ImagePosition() const {
  const toolkit::Picture& picture = glyphs_[state_]->GetPicture();
  const int w = picture.Width() / num_glyphs_[state_];
  const int left = alignment_ == taRightJustify ? 0 : ClientWidth() - w;
  return QPoint(left, (ClientHeight() - picture.Height()) / 2);
}

int TBitCheckBox::ImageIndex() const {
  return !Enabled() && num_glyphs_[state_] == 2 ? 1 : 0;
}

void TBitCheckBox::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), toolkit::ToQColor(Color()));

  const QRect caption = CaptionRect();
  const QString text = ToScreen(Caption());
  const int flags = Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine | Qt::TextShowMnemonic;
  painter.setFont(font());
  if (Enabled()) {
    const QColor color = toolkit::ToQColor(Font()->Color());
    painter.setPen(color.isValid() ? color : palette().color(QPalette::WindowText));
    painter.drawText(caption, flags, text);
  } else {
    if (ctl3d_) {
      painter.setPen(toolkit::ToQColor(toolkit::clBtnHighlight));
      painter.drawText(caption.translated(1, 1), flags, text);
    }
    painter.setPen(toolkit::ToQColor(toolkit::clGrayText));
    painter.drawText(caption, flags, text);
  }
  if (hasFocus()) {
    const QRect around =
        caption.adjusted(-1, -1, 1, 1).intersected(QRect(0, 0, ClientWidth(), ClientHeight()));
    QStyleOptionFocusRect option;
    option.initFrom(this);
    option.rect = around;
    option.backgroundColor = toolkit::ToQColor(Color());
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
  }

  const toolkit::Picture& picture = glyphs_[state_]->GetPicture();
  if (!picture.IsEmpty()) {
    const int w = picture.Width() / num_glyphs_[state_];
    const toolkit::Picture image = picture.Copy(ImageIndex() * w, 0, w, picture.Height());
    const QPoint at = ImagePosition();
    image.Draw(painter, at.x(), at.y());
  }
}

TOOLKIT_REGISTER_CLASS(TBitCheckBox, "TBitCheckBox");
TOOLKIT_REGISTER_CLASS(TZelCheckBox, "TZelCheckBox");

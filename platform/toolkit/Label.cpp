#include "toolkit/Label.h"

#include <QFontMetrics>

namespace toolkit {
namespace {

// The caption as shown: single "&" marks disappear, "&&" shows one "&".
QString WithoutAccelerators(const QString& text) {
  QString shown;
  shown.reserve(text.size());
  for (qsizetype i = 0; i < text.size(); ++i) {
    if (text[i] == u'&') {
      if (i + 1 < text.size() && text[i + 1] == u'&') {
        shown += u'&';
        ++i;
      }
      continue;
    }
    shown += text[i];
  }
  return shown;
}

}  // namespace

Label::Label(Component* owner) : QLabel(nullptr), Control(this, owner) {
  setFocusPolicy(Qt::NoFocus);
  SetBounds(0, 0, 65, 13);
  ApplyAlignment();
  ColorChanged();
}

void Label::SetColor(TColor color) {
  parent_color_ = false;
  Control::SetColor(color);
  ColorChanged();
}

void Label::Loaded() {
  AdjustBounds();
}

void Label::SetParentColor(bool parentColor) {
  parent_color_ = parentColor;
  ColorChanged();
}

void Label::SetTransparent(bool transparent) {
  transparent_ = transparent;
  ColorChanged();
}

void Label::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  ApplyAlignment();
}

void Label::SetLayout(TTextLayout layout) {
  layout_ = layout;
  ApplyAlignment();
}

void Label::SetAutoSize(bool autoSize) {
  auto_size_ = autoSize;
  AdjustBounds();
}

void Label::SetWordWrap(bool wordWrap) {
  word_wrap_ = wordWrap;
  setWordWrap(wordWrap);
  AdjustBounds();
}

void Label::SetFocusControl(WinControl* control) {
  focus_control_ = control;
  TextChanged();
}

QWidget* Label::FocusControlWidget() const {
  return focus_control_ ? focus_control_->Widget() : nullptr;
}

void Label::SetFocusControlWidget(QWidget* widget) {
  SetFocusControl(dynamic_cast<WinControl*>(ControlOf(widget)));
}

void Label::ApplyAlignment() {
  Qt::Alignment flags;
  switch (alignment_) {
    case taLeftJustify:
      flags = Qt::AlignLeft;
      break;
    case taRightJustify:
      flags = Qt::AlignRight;
      break;
    case taCenter:
      flags = Qt::AlignHCenter;
      break;
  }
  switch (layout_) {
    case tlTop:
      flags |= Qt::AlignTop;
      break;
    case tlCenter:
      flags |= Qt::AlignVCenter;
      break;
    case tlBottom:
      flags |= Qt::AlignBottom;
      break;
  }
  setAlignment(flags);
}

void Label::TextChanged() {
  const QString text = ToScreen(Caption());
  if (focus_control_) {
    // With a focus control the accelerator letter is a real shortcut to that control.
    setText(text);
    setBuddy(focus_control_->Widget());
  } else {
    setBuddy(nullptr);
    setText(WithoutAccelerators(text));
  }
  AdjustBounds();
}

void Label::FontChanged() {
  Control::FontChanged();
  AdjustBounds();
}

void Label::ColorChanged() {
  if (parent_color_ || transparent_) {
    setAutoFillBackground(false);
  } else {
    Control::ColorChanged();
  }
}

void Label::AdjustBounds() {
  if (!auto_size_ || IsLoading()) return;
  const QFontMetrics metrics(font());
  const QString shown = WithoutAccelerators(ToScreen(Caption()));
  if (word_wrap_) {
    const QRect r = metrics.boundingRect(QRect(0, 0, Width(), 10000), Qt::TextWordWrap, shown);
    SetBounds(Left(), Top(), Width(), r.height());
  } else {
    const int w = shown.isEmpty() ? 0 : metrics.horizontalAdvance(shown);
    SetBounds(Left(), Top(), w, metrics.height());
  }
}

TOOLKIT_REGISTER_CLASS(Label, "TLabel");

}  // namespace toolkit

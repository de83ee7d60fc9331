#include "toolkit/Panel.h"

#include <QPainter>

namespace toolkit {
namespace {

void DrawBevel(QPainter& painter, QRect& rect, Panel::TPanelBevel bevel, int width,
               const QPalette& palette) {
  if (bevel == Panel::bvNone) return;
  for (int i = 0; i < width; ++i) {
    if (bevel != Panel::bvSpace) {
      const QColor topLeft =
          bevel == Panel::bvRaised ? palette.color(QPalette::Light) : palette.color(QPalette::Dark);
      const QColor bottomRight =
          bevel == Panel::bvRaised ? palette.color(QPalette::Dark) : palette.color(QPalette::Light);
      painter.setPen(topLeft);
      painter.drawLine(rect.topLeft(), rect.topRight());
      painter.drawLine(rect.topLeft(), rect.bottomLeft());
      painter.setPen(bottomRight);
      painter.drawLine(rect.bottomLeft(), rect.bottomRight());
      painter.drawLine(rect.topRight(), rect.bottomRight());
    }
    rect.adjust(1, 1, -1, -1);
  }
}

}  // namespace

Panel::Panel(Component* owner) : QFrame(nullptr), WinControl(this, owner) {
  setFocusPolicy(Qt::NoFocus);
  SetBounds(0, 0, 185, 41);
  ColorChanged();
  UpdateMargins();
}

void Panel::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  update();
}

void Panel::SetBevelInner(TPanelBevel bevel) {
  bevel_inner_ = bevel;
  UpdateMargins();
}

void Panel::SetBevelOuter(TPanelBevel bevel) {
  bevel_outer_ = bevel;
  UpdateMargins();
}

void Panel::SetBevelWidth(int width) {
  bevel_width_ = std::max(1, width);
  UpdateMargins();
}

void Panel::SetBorderWidth(int width) {
  border_width_ = std::max(0, width);
  UpdateMargins();
}

void Panel::UpdateMargins() {
  // Aligned children fill the area inside the bevels and the border.
  int margin = border_width_;
  if (bevel_outer_ != bvNone) margin += bevel_width_;
  if (bevel_inner_ != bvNone) margin += bevel_width_;
  setContentsMargins(margin, margin, margin, margin);
  AlignControls();
  update();
}

void Panel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect rect = this->rect().adjusted(0, 0, -1, -1);
  DrawBevel(painter, rect, bevel_outer_, bevel_width_, palette());
  rect.adjust(border_width_, border_width_, -border_width_, -border_width_);
  DrawBevel(painter, rect, bevel_inner_, bevel_width_, palette());
  if (Caption().empty()) return;
  Qt::Alignment flags = Qt::AlignVCenter;
  switch (alignment_) {
    case taLeftJustify:
      flags |= Qt::AlignLeft;
      break;
    case taRightJustify:
      flags |= Qt::AlignRight;
      break;
    case taCenter:
      flags |= Qt::AlignHCenter;
      break;
  }
  painter.setPen(palette().color(QPalette::WindowText));
  painter.setFont(font());
  painter.drawText(rect, static_cast<int>(flags), ToScreen(Caption()));
}

TOOLKIT_REGISTER_CLASS(Panel, "TPanel");

}  // namespace toolkit

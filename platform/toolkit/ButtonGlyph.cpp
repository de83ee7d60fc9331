#include "toolkit/ButtonGlyph.h"

#include <QApplication>
#include <QFontMetrics>
#include <QIcon>
#include <QPainter>
#include <QPalette>
#include <QStyle>

namespace toolkit {

int ButtonGlyph::ImagesIn(const Picture& picture) {
  if (picture.IsEmpty() || picture.Width() % picture.Height() != 0) return 1;
  const int count = picture.Width() / picture.Height();
  return count >= 1 && count <= 4 ? count : 1;
}

QPixmap ButtonGlyph::StateImage(const Picture& picture, int numGlyphs, TButtonState state) {
  if (picture.IsEmpty()) return {};
  Picture images = picture;
  images.SetNumGlyphs(std::clamp(numGlyphs, 1, 4));
  int index = 0;
  switch (state) {
    case bsDisabled:
      index = 1;
      break;
    case bsDown:
      index = 2;
      break;
    case bsExclusive:
      index = 3;
      break;
    default:
      break;
  }
  if (index >= images.NumGlyphs()) {
    // A latched button without its own image shows the pressed one when there is one.
    index = state == bsExclusive && images.NumGlyphs() >= 3 ? 2 : 0;
    if (state == bsDisabled) {
      const QPixmap up = images.Glyph(0).ToPixmap();
      return QApplication::style()->generatedIconPixmap(QIcon::Disabled, up, nullptr);
    }
  }
  return images.Glyph(index).ToPixmap();
}

void ButtonGlyph::Draw(QPainter& painter, const QRect& area, const QPixmap& image,
                       const QString& caption, TButtonLayout layout, int margin, int spacing,
                       bool enabled, const QPalette& palette, int offset) {
  const QRect rect = area.translated(offset, offset);
  const QFontMetrics metrics(painter.font());
  QString shown;
  int underline = -1;
  for (qsizetype i = 0; i < caption.size(); ++i) {
    if (caption[i] == u'&' && i + 1 < caption.size()) {
      ++i;
      if (caption[i] != u'&') underline = static_cast<int>(shown.size());
    }
    shown += caption[i];
  }
  const QSize text =
      shown.isEmpty() ? QSize() : QSize(metrics.horizontalAdvance(shown), metrics.height());
  const QSize glyph = image.isNull() ? QSize() : image.deviceIndependentSize().toSize();
  const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;
  const int gap = glyph.isEmpty() || text.isEmpty() ? 0 : spacing;
  // The block of picture and caption, centred unless a margin holds the picture to its edge.
  const int blockW =
      horizontal ? glyph.width() + gap + text.width() : std::max(glyph.width(), text.width());
  const int blockH =
      horizontal ? std::max(glyph.height(), text.height()) : glyph.height() + gap + text.height();
  int x = rect.left() + (rect.width() - blockW) / 2;
  int y = rect.top() + (rect.height() - blockH) / 2;
  if (margin >= 0) {
    switch (layout) {
      case blGlyphLeft:
        x = rect.left() + margin;
        break;
      case blGlyphRight:
        x = rect.right() + 1 - margin - blockW;
        break;
      case blGlyphTop:
        y = rect.top() + margin;
        break;
      case blGlyphBottom:
        y = rect.bottom() + 1 - margin - blockH;
        break;
    }
  }
  QPoint glyphAt, textAt;
  switch (layout) {
    case blGlyphLeft:
      glyphAt = {x, y + (blockH - glyph.height()) / 2};
      textAt = {x + glyph.width() + gap, y + (blockH - text.height()) / 2};
      break;
    case blGlyphRight:
      textAt = {x, y + (blockH - text.height()) / 2};
      glyphAt = {x + text.width() + gap, y + (blockH - glyph.height()) / 2};
      break;
    case blGlyphTop:
      glyphAt = {x + (blockW - glyph.width()) / 2, y};
      textAt = {x + (blockW - text.width()) / 2, y + glyph.height() + gap};
      break;
    case blGlyphBottom:
      textAt = {x + (blockW - text.width()) / 2, y};
      glyphAt = {x + (blockW - glyph.width()) / 2, y + text.height() + gap};
      break;
  }
  if (!image.isNull()) painter.drawPixmap(glyphAt, image);
  if (shown.isEmpty()) return;
  auto drawText = [&](const QPoint& at, const QColor& color) {
    painter.setPen(color);
    const QPoint base(at.x(), at.y() + metrics.ascent());
    painter.drawText(base, shown);
    if (underline >= 0) {
      const int ux = at.x() + metrics.horizontalAdvance(shown.left(underline));
      const int uw = metrics.horizontalAdvance(shown.mid(underline, 1));
      const int uy = base.y() + metrics.underlinePos();
      painter.drawLine(ux, uy, ux + uw - 1, uy);
    }
  };
  if (enabled) {
    drawText(textAt, palette.color(QPalette::ButtonText));
  } else {
    // The desktop's engraved look: a light copy one pixel down and right, the grey text above.
    drawText(textAt + QPoint(1, 1), palette.color(QPalette::Light));
    drawText(textAt, palette.color(QPalette::Disabled, QPalette::ButtonText));
  }
}

}  // namespace toolkit

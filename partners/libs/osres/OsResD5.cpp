#include "OsResD5.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <exception>

#include "toolkit/Picture.h"

namespace {

constexpr int kSide = 23;
constexpr int kMaxBmpId = 47;

// Background of every picture, shown as the button's own face through the transparent colour.
const int kKeyColor = toolkit::Picture::Rgb(255, 0, 255);
// Anti-aliased edges are blended with the usual button face, so that they look smooth on a
// button without leaving magenta fringes.
constexpr int kFaceGrey = 240;
// Edge pixels that are mostly background become background.
constexpr int kMinAlpha = 80;

// A drawing surface of one image: transparent, anti-aliased, in the picture's own pixels.
class Canvas {
 public:
  explicit Canvas(int width = kSide, int height = kSide)
      : image_(width, height, QImage::Format_ARGB32_Premultiplied) {
    image_.fill(Qt::transparent);
    painter_.begin(&image_);
    painter_.setRenderHint(QPainter::Antialiasing, true);
  }
  QPainter& P() { return painter_; }

  // The drawing as a picture on the key colour.
  toolkit::Picture Flatten() {
    painter_.end();
    toolkit::Picture picture(image_.width(), image_.height(), kKeyColor);
    for (int y = 0; y < image_.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(image_.constScanLine(y));
      for (int x = 0; x < image_.width(); ++x) {
        const QRgb c = line[x];  // premultiplied
        const int a = qAlpha(c);
        if (a < kMinAlpha) continue;
        const int rest = (255 - a) * kFaceGrey / 255;
        picture.SetPixel(
            x, y,
            toolkit::Picture::Rgb(std::min(255, qRed(c) + rest), std::min(255, qGreen(c) + rest),
                                  std::min(255, qBlue(c) + rest)));
      }
    }
    picture.SetTransparentColor(kKeyColor);
    return picture;
  }

 private:
  QImage image_;
  QPainter painter_;
};

QPen Pen(const QColor& color, double width = 1.0) {
  QPen pen(color, width);
  pen.setJoinStyle(Qt::RoundJoin);
  pen.setCapStyle(Qt::RoundCap);
  return pen;
}

// 1: save — a blue diskette with a white label and a metal shutter.
toolkit::Picture DrawSave() {
  Canvas c;
  QPainter& p = c.P();
  QPainterPath body;
  body.moveTo(3.5, 3.5);
  body.lineTo(17.5, 3.5);
  body.lineTo(19.5, 5.5);
  body.lineTo(19.5, 19.5);
  body.lineTo(3.5, 19.5);
  body.closeSubpath();
  p.setPen(Pen(QColor(0x1A, 0x3A, 0x78)));
  p.setBrush(QColor(0x2E, 0x66, 0xC0));
  p.drawPath(body);
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(Qt::NoPen);
  p.setBrush(Qt::white);
  p.drawRect(6, 4, 11, 7);
  p.setBrush(QColor(0x9A, 0xA8, 0xC0));
  p.drawRect(8, 6, 7, 1);
  p.drawRect(8, 8, 7, 1);
  p.setBrush(QColor(0xD0, 0xD4, 0xDA));
  p.drawRect(7, 14, 9, 5);
  p.setBrush(QColor(0x40, 0x48, 0x58));
  p.drawRect(12, 15, 2, 3);
  return c.Flatten();
}

// 2: open — a yellow folder with its front flap opened.
toolkit::Picture DrawOpen() {
  Canvas c;
  QPainter& p = c.P();
  const QColor edge(0x8A, 0x5E, 0x10);
  QPolygonF back;
  back << QPointF(2.5, 5.5) << QPointF(8.0, 5.5) << QPointF(10.0, 7.5) << QPointF(18.5, 7.5)
       << QPointF(18.5, 18.5) << QPointF(2.5, 18.5);
  p.setPen(Pen(edge));
  p.setBrush(QColor(0xE2, 0xA8, 0x30));
  p.drawPolygon(back);
  QPolygonF flap;
  flap << QPointF(5.5, 10.5) << QPointF(21.5, 10.5) << QPointF(18.5, 18.5) << QPointF(2.5, 18.5);
  p.setBrush(QColor(0xFA, 0xD4, 0x62));
  p.drawPolygon(flap);
  return c.Flatten();
}

// 3: delete — a grey waste bin with a lid.
toolkit::Picture DrawDelete() {
  Canvas c;
  QPainter& p = c.P();
  const QColor edge(0x48, 0x50, 0x58);
  p.setPen(Pen(edge));
  p.setBrush(QColor(0xC8, 0xCE, 0xD4));
  QPolygonF body;
  body << QPointF(6.0, 7.5) << QPointF(17.0, 7.5) << QPointF(15.8, 20.5) << QPointF(7.2, 20.5);
  p.drawPolygon(body);
  p.setBrush(QColor(0x9C, 0xA4, 0xAC));
  p.drawRoundedRect(QRectF(4.5, 4.5, 14, 3), 1, 1);
  p.setBrush(Qt::NoBrush);
  p.drawRoundedRect(QRectF(9.5, 2.5, 4, 2), 0.8, 0.8);
  p.setPen(Pen(QColor(0x70, 0x78, 0x80)));
  for (double x : {9.5, 11.5, 13.5}) p.drawLine(QPointF(x, 10.0), QPointF(x, 18.0));
  return c.Flatten();
}

// The list of picture 4: a sheet with three bulleted rows and a small red cross (clear it).
toolkit::Picture DrawList() {
  Canvas c;
  QPainter& p = c.P();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(0x60, 0x64, 0x6A));
  p.setBrush(Qt::white);
  p.drawRect(2, 2, 15, 17);
  for (int y : {5, 9, 13}) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2E, 0x66, 0xC0));
    p.drawRect(4, y, 3, 3);
    p.setBrush(QColor(0x50, 0x54, 0x5A));
    p.drawRect(8, y + 1, 7, 1);
  }
  p.setRenderHint(QPainter::Antialiasing, true);
  p.setPen(Pen(QColor(0xFF, 0xFF, 0xFF), 4.2));
  p.drawLine(QPointF(14.5, 14.5), QPointF(19.5, 19.5));
  p.drawLine(QPointF(19.5, 14.5), QPointF(14.5, 19.5));
  p.setPen(Pen(QColor(0xD0, 0x20, 0x20), 2.2));
  p.drawLine(QPointF(14.5, 14.5), QPointF(19.5, 19.5));
  p.drawLine(QPointF(19.5, 14.5), QPointF(14.5, 19.5));
  return c.Flatten();
}

// The disabled look of an image: its dark parts etched in grey with a white shadow one pixel
// right and down, everything else background.
toolkit::Picture Etched(const toolkit::Picture& image) {
  toolkit::Picture out(image.Width(), image.Height(), kKeyColor);
  const int key = image.TransparentColor();
  auto dark = [&](int x, int y) {
    if (x < 0 || y < 0 || x >= image.Width() || y >= image.Height()) return false;
    const int c = image.Pixel(x, y);
    if (c == key) return false;
    const int luminance = (toolkit::Picture::Red(c) * 30 + toolkit::Picture::Green(c) * 59 +
                           toolkit::Picture::Blue(c) * 11) /
                          100;
    return luminance < 200;
  };
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (dark(x - 1, y - 1)) out.SetPixel(x, y, toolkit::Picture::Rgb(255, 255, 255));
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (dark(x, y)) out.SetPixel(x, y, toolkit::Picture::Rgb(128, 128, 128));
  out.SetPixel(0, image.Height() - 1, kKeyColor);
  out.SetTransparentColor(kKeyColor);
  return out;
}

// 4: the list, normal and disabled side by side (46 × 23).
toolkit::Picture DrawListPair() {
  toolkit::Picture normal = DrawList();
  toolkit::Picture pair(2 * kSide, kSide, kKeyColor);
  pair.Paste(normal, 0, 0);
  pair.Paste(Etched(normal), kSide, 0);
  pair.SetTransparentColor(kKeyColor);
  pair.SetNumGlyphs(2);
  return pair;
}

// 8: lookup — a magnifier with a light blue glass.
toolkit::Picture DrawLookup() {
  Canvas c;
  QPainter& p = c.P();
  p.setPen(Pen(QColor(0x6B, 0x46, 0x22), 3.6));
  p.drawLine(QPointF(13.8, 13.8), QPointF(19.6, 19.6));
  p.setPen(Pen(QColor(0x2C, 0x44, 0x6C), 2.0));
  p.setBrush(QColor(0xCC, 0xE4, 0xFF));
  p.drawEllipse(QPointF(9.5, 9.5), 6.0, 6.0);
  p.setPen(Pen(QColor(0xFF, 0xFF, 0xFF), 1.4));
  p.setBrush(Qt::NoBrush);
  p.drawArc(QRectF(6.0, 6.0, 7.0, 7.0), 100 * 16, 70 * 16);
  return c.Flatten();
}

// 9: date picker — a calendar sheet with a red head, two rings and a grid of days.
toolkit::Picture DrawCalendar() {
  Canvas c;
  QPainter& p = c.P();
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setPen(QColor(0x50, 0x50, 0x50));
  p.setBrush(Qt::white);
  p.drawRect(2, 4, 18, 16);
  p.setPen(Qt::NoPen);
  p.setBrush(QColor(0xD0, 0x30, 0x30));
  p.drawRect(3, 5, 17, 4);
  p.setBrush(QColor(0x40, 0x40, 0x40));
  p.drawRect(6, 2, 2, 5);
  p.drawRect(15, 2, 2, 5);
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 4; ++col) {
      const bool today = row == 1 && col == 2;
      p.setBrush(today ? QColor(0x2E, 0x66, 0xC0) : QColor(0x90, 0x90, 0x90));
      p.drawRect(4 + col * 4, 11 + row * 3, 3, 2);
    }
  }
  return c.Flatten();
}

// One person of picture 39: a head and rounded shoulders.
void Person(QPainter& p, double cx, double headY, double bottom, const QColor& fill,
            const QColor& edge) {
  p.setPen(Pen(edge));
  p.setBrush(fill);
  QPainterPath shoulders;
  shoulders.moveTo(cx - 5.5, bottom);
  shoulders.lineTo(cx - 5.5, headY + 7.5);
  shoulders.quadTo(cx - 5.5, headY + 4.5, cx - 2.0, headY + 4.5);
  shoulders.lineTo(cx + 2.0, headY + 4.5);
  shoulders.quadTo(cx + 5.5, headY + 4.5, cx + 5.5, headY + 7.5);
  shoulders.lineTo(cx + 5.5, bottom);
  shoulders.closeSubpath();
  p.drawPath(shoulders);
  p.setBrush(QColor(0xF6, 0xD2, 0xA8));
  p.drawEllipse(QPointF(cx, headY), 3.0, 3.0);
}

// 39: notification users — two persons, one behind the other.
toolkit::Picture DrawUsers() {
  Canvas c;
  QPainter& p = c.P();
  Person(p, 14.5, 6.0, 17.5, QColor(0x3C, 0x9C, 0x3C), QColor(0x1E, 0x5A, 0x1E));
  Person(p, 8.5, 9.0, 20.5, QColor(0x2E, 0x66, 0xC0), QColor(0x1A, 0x3A, 0x78));
  return c.Flatten();
}

// 47: delete a row — a red cross with a dark rim.
toolkit::Picture DrawCross() {
  Canvas c;
  QPainter& p = c.P();
  for (const auto& [color, width] :
       {std::pair{QColor(0x78, 0x10, 0x10), 5.6}, std::pair{QColor(0xE0, 0x28, 0x28), 3.6}}) {
    p.setPen(Pen(color, width));
    p.drawLine(QPointF(6.0, 6.0), QPointF(17.0, 17.0));
    p.drawLine(QPointF(17.0, 6.0), QPointF(6.0, 17.0));
  }
  return c.Flatten();
}

bool Draw(int index, toolkit::Picture& out) {
  switch (index) {
    case 1:
      out = DrawSave();
      return true;
    case 2:
      out = DrawOpen();
      return true;
    case 3:
      out = DrawDelete();
      return true;
    case 4:
      out = DrawListPair();
      return true;
    case 8:
      out = DrawLookup();
      return true;
    case 9:
      out = DrawCalendar();
      return true;
    case 39:
      out = DrawUsers();
      return true;
    case 47:
      out = DrawCross();
      return true;
    default:
      return false;
  }
}

}  // namespace

int GetMaxBmpID() {
  return kMaxBmpId;
}

bool LoadBmp(toolkit::Picture& bitmap, int index) {
  try {
    toolkit::Picture picture;
    if (!Draw(index, picture)) return false;
    bitmap = std::move(picture);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

#include "OsResD5.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <string>

#include "toolkit/Picture.h"

namespace {

using toolkit::Picture;

const int kMagenta = Picture::Rgb(255, 0, 255);

struct Held {
  int index;
  int width;
  int height;
  int numGlyphs;
};
constexpr Held kHeld[] = {
    {1, 23, 23, 1}, {2, 23, 23, 1}, {3, 23, 23, 1},  {4, 46, 23, 2},
    {8, 23, 23, 1}, {9, 23, 23, 1}, {39, 23, 23, 1}, {47, 23, 23, 1},
};

TEST(OsResD5, HighestNumberIsTheDeleteCross) {
  EXPECT_EQ(GetMaxBmpID(), 47);
}

TEST(OsResD5, HeldPicturesHaveTheirSizeAndAMagentaBackground) {
  for (const Held& h : kHeld) {
    Picture p;
    ASSERT_TRUE(LoadBmp(p, h.index)) << h.index;
    EXPECT_EQ(p.Width(), h.width) << h.index;
    EXPECT_EQ(p.Height(), h.height) << h.index;
    EXPECT_EQ(p.NumGlyphs(), h.numGlyphs) << h.index;
    EXPECT_EQ(p.TransparentColor(), kMagenta) << h.index;
    // Corners are background, so the button face shows around the drawing ...
    EXPECT_EQ(p.Pixel(0, 0), kMagenta) << h.index;
    EXPECT_EQ(p.Pixel(p.Width() - 1, 0), kMagenta) << h.index;
    EXPECT_EQ(p.Pixel(0, p.Height() - 1), kMagenta) << h.index;
    // ... and a real drawing covers a good part of each image.
    for (int g = 0; g < h.numGlyphs; ++g) {
      const Picture image = p.Glyph(g);
      int drawn = 0;
      for (int y = 0; y < image.Height(); ++y)
        for (int x = 0; x < image.Width(); ++x) drawn += image.Pixel(x, y) != kMagenta;
      EXPECT_GT(drawn, 60) << h.index << " image " << g;
    }
  }
}

TEST(OsResD5, DisabledImageOfTheListIsGreyOnly) {
  Picture p;
  ASSERT_TRUE(LoadBmp(p, 4));
  const Picture normal = p.Glyph(0);
  const Picture disabled = p.Glyph(1);
  EXPECT_FALSE(normal == disabled);
  bool colourful = false;
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 23; ++x) {
      const int c = disabled.Pixel(x, y);
      if (c == kMagenta) continue;
      EXPECT_TRUE(Picture::Red(c) == Picture::Green(c) && Picture::Green(c) == Picture::Blue(c))
          << x << "," << y;
      const int n = normal.Pixel(x, y);
      colourful |= Picture::Red(n) != Picture::Blue(n) && n != kMagenta;
    }
  EXPECT_TRUE(colourful);
}

TEST(OsResD5, NumbersWithoutAPictureLeaveTheBitmapAlone) {
  Picture keep(5, 7, Picture::Rgb(1, 2, 3));
  for (int index : {0, -1, 5, 7, 10, 46, 48, 1000}) {
    Picture p = keep;
    EXPECT_FALSE(LoadBmp(p, index)) << index;
    EXPECT_TRUE(p == keep) << index;
  }
}

// The numbers on the sheet are text: drawn in the tests' shared Qt application, which goes, and
// its font database with it, before the process exits.
TEST(OsResD5, ContactSheetOfEveryPicture) {
  ASSERT_NE(QGuiApplication::instance(), nullptr);
  constexpr int kScale = 4;
  constexpr int kCell = 46 * kScale + 16;
  QImage sheet(kCell * 4, (23 * kScale + 36) * 2 * 2, QImage::Format_RGB32);
  sheet.fill(QColor(240, 240, 240));
  QPainter painter(&sheet);
  int i = 0;
  for (const Held& h : kHeld) {
    Picture p;
    ASSERT_TRUE(LoadBmp(p, h.index));
    for (int band = 0; band < 2; ++band) {
      // Upper band on the button face, lower band on white: the background must vanish on both.
      const int x = (i % 4) * kCell + 8;
      const int y = ((i / 4) * 2 + band) * (23 * kScale + 36) + 4;
      const QColor back = band == 0 ? QColor(240, 240, 240) : Qt::white;
      painter.fillRect(x - 4, y, kCell - 8, 23 * kScale + 32, back);
      painter.drawText(x, y + 14, QString::number(h.index));
      painter.drawImage(QRect(x, y + 20, p.Width() * kScale, p.Height() * kScale), p.ToImage());
      painter.drawImage(x + p.Width() * kScale + 6, y + 20, p.ToImage());
    }
    ++i;
  }
  painter.end();
  const QString dir = QString(QZLB27_BUILD_DIR) + "/pictures";
  QDir().mkpath(dir);
  EXPECT_TRUE(sheet.save(dir + "/osres_pictures.png"));
}

}  // namespace

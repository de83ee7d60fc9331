#include "toolkit/Picture.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

namespace {

using toolkit::Picture;

constexpr int kRed = 0x0000FF;
constexpr int kGreen = 0x00FF00;
constexpr int kBlue = 0xFF0000;
constexpr int kWhite = 0xFFFFFF;
constexpr int kMagenta = 0xFF00FF;

// A 24-bit BMP file of the given rows (top row first), written by hand so that the reader is
// tested against the file layout rather than against our own writer.
std::string Bmp24(const std::vector<std::vector<int>>& rows, bool topDown = false) {
  const int h = static_cast<int>(rows.size());
  const int w = static_cast<int>(rows[0].size());
  const int stride = (w * 3 + 3) / 4 * 4;
  std::string out = "BM";
  auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
  };
  auto u16 = [&](std::uint16_t v) {
    out.push_back(static_cast<char>(v));
    out.push_back(static_cast<char>(v >> 8));
  };
  u32(54 + stride * h);
  u32(0);
  u32(54);
  u32(40);
  u32(w);
  u32(topDown ? static_cast<std::uint32_t>(-h) : h);
  u16(1);
  u16(24);
  u32(0);
  u32(stride * h);
  u32(0);
  u32(0);
  u32(0);
  u32(0);
  for (int r = 0; r < h; ++r) {
    const auto& row = rows[topDown ? r : h - 1 - r];
    for (int c : row) {
      out.push_back(static_cast<char>(Picture::Blue(c)));
      out.push_back(static_cast<char>(Picture::Green(c)));
      out.push_back(static_cast<char>(Picture::Red(c)));
    }
    out.append(stride - w * 3, '\x5A');  // padding bytes must be skipped, whatever they hold
  }
  return out;
}

TEST(Picture, PixelsAndSize) {
  Picture p(3, 2, kWhite);
  EXPECT_EQ(p.Width(), 3);
  EXPECT_EQ(p.Height(), 2);
  EXPECT_FALSE(p.IsEmpty());
  p.SetPixel(2, 1, kRed);
  p.SetPixel(3, 0, kBlue);   // outside: ignored
  p.SetPixel(-1, 0, kBlue);  // outside: ignored
  EXPECT_EQ(p.Pixel(2, 1), kRed);
  EXPECT_EQ(p.Pixel(0, 0), kWhite);
  EXPECT_EQ(p.Pixel(5, 5), 0);
  p.SetSize(4, 3, kGreen);  // grows: old pixels stay, new ones take the fill
  EXPECT_EQ(p.Pixel(2, 1), kRed);
  EXPECT_EQ(p.Pixel(3, 0), kGreen);
  EXPECT_EQ(p.Pixel(0, 2), kGreen);
  EXPECT_TRUE(Picture(0, 5).IsEmpty());
  EXPECT_TRUE(Picture(-3, 5).IsEmpty());
}

TEST(Picture, TransparentColourIsTheLowerLeftPixelUntilSet) {
  Picture p(2, 2, kWhite);
  p.SetPixel(0, 1, kMagenta);
  EXPECT_TRUE(p.TransparentColorIsAuto());
  EXPECT_EQ(p.TransparentColor(), kMagenta);
  p.SetPixel(0, 1, kGreen);  // follows the pixel
  EXPECT_EQ(p.TransparentColor(), kGreen);
  p.SetTransparentColor(kWhite);
  p.SetPixel(0, 1, kBlue);
  EXPECT_EQ(p.TransparentColor(), kWhite);
  p.SetTransparentColorAuto();
  EXPECT_EQ(p.TransparentColor(), kBlue);
  EXPECT_EQ(Picture().TransparentColor(), 0);
}

TEST(Picture, ReadsTwentyFourBitBmpFiles) {
  const std::vector<std::vector<int>> rows = {{kRed, kGreen, kBlue}, {kWhite, kMagenta, 0x123456}};
  for (bool topDown : {false, true}) {
    std::string error = "x";
    const Picture p = Picture::FromBmp(Bmp24(rows, topDown), &error);
    ASSERT_EQ(p.Width(), 3) << topDown;
    ASSERT_EQ(p.Height(), 2);
    EXPECT_EQ(error, "");
    for (int y = 0; y < 2; ++y)
      for (int x = 0; x < 3; ++x) EXPECT_EQ(p.Pixel(x, y), rows[y][x]) << x << "," << y;
    EXPECT_EQ(p.TransparentColor(), kWhite);  // lower-left
  }
}

TEST(Picture, BmpRoundTrip) {
  Picture p(5, 3, kWhite);  // 15 bytes a row: padded to 16
  p.SetPixel(4, 0, kRed);
  p.SetPixel(0, 2, kBlue);
  const Picture back = Picture::FromBmp(p.ToBmp());
  EXPECT_TRUE(back == p);
  EXPECT_EQ(Picture().ToBmp(), "");
}

TEST(Picture, RefusesDamagedBmpFiles) {
  const std::string good = Bmp24({{kRed, kGreen}, {kBlue, kWhite}});
  std::string hugeWidth = good;
  hugeWidth[21] = '\x7F';  // width 0x7F000002
  struct {
    const char* what;
    std::string bytes;
  } cases[] = {
      {"empty", ""},
      {"not a BMP", "GIF89a" + std::string(60, '\0')},
      {"cut short", good.substr(0, good.size() - 4)},
      {"header only", good.substr(0, 30)},
      {"huge width", hugeWidth},
  };
  for (const auto& c : cases) {
    std::string error;
    const Picture p = Picture::FromBmp(c.bytes, &error);
    EXPECT_TRUE(p.IsEmpty()) << c.what;
    EXPECT_NE(error, "") << c.what;
  }
}

TEST(Picture, ReadsPaletteBmpFilesAsTwentyFourBit) {
  // An 8-bit picture 2 × 1 with a palette of two entries: red and blue.
  std::string out = "BM";
  auto u32 = [&](std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>(v >> (8 * i)));
  };
  auto u16 = [&](std::uint16_t v) {
    out.push_back(static_cast<char>(v));
    out.push_back(static_cast<char>(v >> 8));
  };
  u32(54 + 8 + 4);
  u32(0);
  u32(54 + 8);
  u32(40);
  u32(2);
  u32(1);
  u16(1);
  u16(8);
  u32(0);
  u32(4);
  u32(0);
  u32(0);
  u32(2);
  u32(0);
  out += std::string("\x00\x00\xFF\x00\xFF\x00\x00\x00", 8);  // blue, green, red, reserved
  out += std::string("\x01\x00\x00\x00", 4);
  const Picture p = Picture::FromBmp(out);
  ASSERT_EQ(p.Width(), 2);
  EXPECT_EQ(p.Pixel(0, 0), kBlue);
  EXPECT_EQ(p.Pixel(1, 0), kRed);
}

TEST(Picture, FromRawRows) {
  // Two rows of two pixels with one byte of padding per row.
  const std::string rgb("\xFF\x00\x00\x00\xFF\x00-\x00\x00\xFF\x10\x20\x30-", 14);
  const Picture p = Picture::FromRgbRows(2, 2, rgb, 7);
  EXPECT_EQ(p.Pixel(0, 0), kRed);
  EXPECT_EQ(p.Pixel(1, 0), kGreen);
  EXPECT_EQ(p.Pixel(0, 1), kBlue);
  EXPECT_EQ(p.Pixel(1, 1), Picture::Rgb(0x10, 0x20, 0x30));
  // Short data leaves the rest black.
  const Picture q = Picture::FromRgbRows(2, 2, std::string("\xFF\xFF\xFF", 3));
  EXPECT_EQ(q.Pixel(0, 0), kWhite);
  EXPECT_EQ(q.Pixel(1, 1), 0);
}

TEST(Picture, SideBySideImages) {
  struct {
    int width, height;
    int squareImages;
  } cases[] = {{46, 23, 2}, {16, 16, 1}, {38, 14, 2}, {28, 14, 2}, {10, 20, 1}, {0, 0, 0}};
  for (const auto& c : cases)
    EXPECT_EQ(Picture(c.width, c.height).SquareImageCount(), c.squareImages) << c.width;

  Picture p(4, 2, kWhite);
  p.FillRect(2, 0, 2, 2, kRed);
  p.SetNumGlyphs(2);
  EXPECT_EQ(p.GlyphWidth(), 2);
  const Picture second = p.Glyph(1);
  EXPECT_EQ(second.Width(), 2);
  EXPECT_EQ(second.Pixel(0, 0), kRed);
  // The images share the whole picture's transparent colour.
  EXPECT_EQ(second.TransparentColor(), kWhite);
  EXPECT_TRUE(p.Glyph(2).IsEmpty());
  EXPECT_TRUE(p.Glyph(-1).IsEmpty());
  p.SetNumGlyphs(0);
  EXPECT_EQ(p.NumGlyphs(), 1);
  p.SetNumGlyphs(99);
  EXPECT_EQ(p.NumGlyphs(), 4);
}

TEST(Picture, AppendingAnImageDoublesTheWidth) {
  Picture glyph(16, 16, kMagenta);
  glyph.SetPixel(5, 5, kBlue);
  Picture disabled(16, 16, kMagenta);
  disabled.SetPixel(6, 6, 0x808080);
  glyph.AppendImage(disabled);
  EXPECT_EQ(glyph.Width(), 32);
  EXPECT_EQ(glyph.Height(), 16);
  EXPECT_EQ(glyph.Pixel(5, 5), kBlue);
  EXPECT_EQ(glyph.Pixel(22, 6), 0x808080);
  // A taller image: the new area takes the transparent colour, which so stays the same.
  Picture small(2, 1, kMagenta);
  small.AppendImage(Picture(2, 3, kRed));
  EXPECT_EQ(small.Height(), 3);
  EXPECT_EQ(small.Pixel(0, 2), kMagenta);
  EXPECT_EQ(small.TransparentColor(), kMagenta);
  EXPECT_EQ(small.Pixel(3, 2), kRed);
}

TEST(Picture, CopyAndPasteClipToThePicture) {
  Picture p(4, 4, kWhite);
  p.FillRect(1, 1, 10, 10, kRed);  // clipped
  EXPECT_EQ(p.Pixel(3, 3), kRed);
  EXPECT_EQ(p.Pixel(0, 3), kWhite);
  const Picture part = p.Copy(2, 2, 5, 5);
  EXPECT_EQ(part.Width(), 2);
  EXPECT_EQ(part.Height(), 2);
  Picture target(3, 3, kBlue);
  target.Paste(part, 2, 2);
  EXPECT_EQ(target.Pixel(2, 2), kRed);
  EXPECT_EQ(target.Pixel(1, 1), kBlue);
}

TEST(Picture, DrawsWithTheTransparentColourMaskedOut) {
  Picture p(3, 1, kMagenta);
  p.SetPixel(1, 0, kRed);
  p.SetTransparentColor(kMagenta);
  const QImage masked = p.ToImage();
  EXPECT_EQ(qAlpha(masked.pixel(0, 0)), 0);
  EXPECT_EQ(masked.pixel(1, 0), qRgb(255, 0, 0));
  const QImage plain = p.ToImage(false);
  EXPECT_EQ(plain.pixel(0, 0), qRgb(255, 0, 255));

  // Image 1 of a two-image picture drawn on a green background.
  Picture two(4, 1, kMagenta);
  two.SetPixel(3, 0, kBlue);
  two.SetNumGlyphs(2);
  QImage canvas(4, 1, QImage::Format_RGB32);
  canvas.fill(qRgb(0, 255, 0));
  {
    QPainter painter(&canvas);
    two.Draw(painter, 1, 0, 1);
  }
  EXPECT_EQ(canvas.pixel(1, 0), qRgb(0, 255, 0));  // transparent: background shows
  EXPECT_EQ(canvas.pixel(2, 0), qRgb(0, 0, 255));  // image 1's second pixel
  EXPECT_EQ(canvas.pixel(3, 0), qRgb(0, 255, 0));  // nothing drawn beyond the image

  const Picture back = Picture::FromImage(p.ToImage(false));
  EXPECT_EQ(back.Pixel(1, 0), kRed);
  EXPECT_EQ(back.Pixel(0, 0), kMagenta);
}

}  // namespace

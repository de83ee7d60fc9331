// Pictures: 24-bit images with a transparent colour, as buttons, check boxes and image lists
// show them.
//
// A Picture holds width × height pixels of 24 bits and a transparent colour: by default the
// colour of its lower-left pixel, as desktop toolkits take it for the pictures on buttons, or a
// colour set explicitly. Colours are the toolkit's colour values: 0x00BBGGRR, red in the lowest
// byte. A picture may hold several images of equal width side by side (`NumGlyphs`): buttons
// show image 0 when enabled and image 1, when there is one, when disabled.
//
// Pictures are values (copying copies the pixels). They load from BMP files held in memory
// (24-bit BMPs exactly; other depths through Qt's reader, made 24-bit) and from raw RGB rows,
// save as 24-bit BMP, and draw through Qt with the transparent colour masked out. The header
// itself needs no Qt; the drawing functions take Qt types by reference.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class QImage;
class QPixmap;
class QPainter;

namespace toolkit {

class Picture {
 public:
  // An empty picture (0 × 0).
  Picture() = default;
  // A picture of the given size filled with `fill`; a size below 1 in either direction gives an
  // empty picture.
  Picture(int width, int height, int fill = 0);

  // A picture from the bytes of a BMP file (file header included). An unreadable file gives an
  // empty picture and, when `error` is given, a short reason.
  static Picture FromBmp(std::string_view bytes, std::string* error = nullptr);
  // A picture from raw rows, top row first, three bytes per pixel in the order red, green, blue;
  // `rowStride` bytes per row (0 = 3 × width). Rows missing from `rgb` stay black.
  static Picture FromRgbRows(int width, int height, std::string_view rgb, int rowStride = 0);
  // A picture from a Qt image (alpha is dropped; a fully transparent pixel keeps its colour).
  static Picture FromImage(const QImage& image);

  // The picture as a 24-bit BMP file (bottom-up rows, padded to four bytes); "" when empty.
  std::string ToBmp() const;

  bool IsEmpty() const { return width_ == 0 || height_ == 0; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  // Changes the size, keeping the pixels that stay inside and filling new ones with `fill`.
  void SetSize(int width, int height, int fill = 0);

  // The colour of a pixel; 0 outside the picture. Setting a pixel outside does nothing.
  int Pixel(int x, int y) const;
  void SetPixel(int x, int y, int color);
  void Fill(int color);
  // Fills the part of the rectangle that lies inside the picture.
  void FillRect(int x, int y, int width, int height, int color);
  // The part of the picture inside the rectangle, as a picture of its own (with this picture's
  // transparent colour, fixed).
  Picture Copy(int x, int y, int width, int height) const;
  // Copies `source` onto this picture with its top-left corner at (x, y), every pixel (no
  // transparency); what falls outside is cut off.
  void Paste(const Picture& source, int x, int y);

  // The transparent colour: the lower-left pixel's colour until one is set (0 for an empty
  // picture).
  int TransparentColor() const;
  bool TransparentColorIsAuto() const { return transparentAuto_; }
  void SetTransparentColor(int color);
  // Back to the lower-left pixel.
  void SetTransparentColorAuto();

  // Images side by side: their number (1 by default; held to 1 .. width, at least 1) and the
  // width of one (width div number).
  int NumGlyphs() const { return numGlyphs_; }
  void SetNumGlyphs(int count);
  int GlyphWidth() const;
  // Image `index` (0-based) of NumGlyphs(); an empty picture when there is no such image.
  Picture Glyph(int index) const;
  // The number of square images the picture holds (width div height), at least 1; 0 when empty.
  int SquareImageCount() const;
  // Puts `image` to the right of the picture, which grows by its width; a taller image makes the
  // picture taller, the new area first filled with the transparent colour.
  void AppendImage(const Picture& image);

  // Drawing through Qt. The image is ARGB32 with the transparent colour's pixels fully
  // transparent (when `masked`), otherwise RGB32.
  QImage ToImage(bool masked = true) const;
  QPixmap ToPixmap(bool masked = true) const;
  // Draws image `index` of NumGlyphs() with its top-left corner at (x, y), transparent colour
  // masked out.
  void Draw(QPainter& painter, int x, int y, int index = 0) const;

  // The toolkit's colour value of red, green and blue, and back.
  static int Rgb(int red, int green, int blue) {
    return (red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16);
  }
  static int Red(int color) { return color & 0xFF; }
  static int Green(int color) { return (color >> 8) & 0xFF; }
  static int Blue(int color) { return (color >> 16) & 0xFF; }

  // Same size, pixels, number of images and transparent colour.
  bool operator==(const Picture& other) const;

 private:
  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < width_ && y < height_; }

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint8_t> rgb_;  // top row first, red, green, blue
  bool transparentAuto_ = true;
  int transparentColor_ = 0;
  int numGlyphs_ = 1;
};

}  // namespace toolkit

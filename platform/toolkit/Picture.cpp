#include "toolkit/Picture.h"

#include <QByteArray>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace toolkit {

namespace {

// Largest side a loaded picture may have; a header claiming more is taken as damaged rather
// than trusted with a huge allocation.
constexpr int kMaxSide = 16384;

std::uint32_t ReadU32(std::string_view b, size_t at) {
  return static_cast<std::uint32_t>(static_cast<unsigned char>(b[at])) |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 1])) << 8 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 2])) << 16 |
         static_cast<std::uint32_t>(static_cast<unsigned char>(b[at + 3])) << 24;
}

std::uint16_t ReadU16(std::string_view b, size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[at]) |
                                    static_cast<unsigned char>(b[at + 1]) << 8);
}

void PutU32(std::string& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
}

void PutU16(std::string& out, std::uint16_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>(v >> 8));
}

void Fail(std::string* error, const char* reason) {
  if (error) *error = reason;
}

}  // namespace

Picture::Picture(int width, int height, int fill) {
  SetSize(width, height, fill);
}

Picture Picture::FromBmp(std::string_view bytes, std::string* error) {
  if (error) error->clear();
  if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M') {
    Fail(error, "not a BMP file");
    return {};
  }
  const std::uint32_t dataOffset = ReadU32(bytes, 10);
  const std::uint32_t headerSize = ReadU32(bytes, 14);
  if (headerSize >= 40 && bytes.size() >= 14 + 40) {
    const std::int32_t width = static_cast<std::int32_t>(ReadU32(bytes, 18));
    const std::int32_t rawHeight = static_cast<std::int32_t>(ReadU32(bytes, 22));
    const std::uint16_t bitCount = ReadU16(bytes, 28);
    const std::uint32_t compression = ReadU32(bytes, 30);
    if (bitCount == 24 && compression == 0) {
      // The common case read exactly: rows of blue, green, red, padded to four bytes, bottom row
      // first unless the height is negative.
      if (width <= 0 || rawHeight == 0 || rawHeight == std::numeric_limits<std::int32_t>::min() ||
          width > kMaxSide || std::abs(rawHeight) > kMaxSide) {
        Fail(error, "BMP size out of range");
        return {};
      }
      const int height = std::abs(rawHeight);
      const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
      if (dataOffset > bytes.size() ||
          bytes.size() - dataOffset < stride * (height - 1) + static_cast<size_t>(width) * 3) {
        Fail(error, "BMP pixel data cut short");
        return {};
      }
      Picture p(width, height);
      for (int row = 0; row < height; ++row) {
        const int y = rawHeight > 0 ? height - 1 - row : row;
        const size_t at = dataOffset + stride * row;
        for (int x = 0; x < width; ++x) {
          const size_t px = at + static_cast<size_t>(x) * 3;
          std::uint8_t* d = &p.rgb_[(static_cast<size_t>(y) * width + x) * 3];
          d[0] = static_cast<unsigned char>(bytes[px + 2]);
          d[1] = static_cast<unsigned char>(bytes[px + 1]);
          d[2] = static_cast<unsigned char>(bytes[px]);
        }
      }
      return p;
    }
  }
  // Palette, 16-bit, 32-bit and compressed pictures: Qt's reader, then made 24-bit.
  QImage image;
  if (!image.loadFromData(reinterpret_cast<const uchar*>(bytes.data()),
                          static_cast<int>(std::min<size_t>(bytes.size(), INT32_MAX)), "BMP") ||
      image.isNull()) {
    Fail(error, "unreadable BMP file");
    return {};
  }
  if (image.width() > kMaxSide || image.height() > kMaxSide) {
    Fail(error, "BMP size out of range");
    return {};
  }
  return FromImage(image);
}

Picture Picture::FromRgbRows(int width, int height, std::string_view rgb, int rowStride) {
  Picture p(width, height);
  if (p.IsEmpty()) return p;
  const size_t stride =
      rowStride > 0 ? static_cast<size_t>(rowStride) : static_cast<size_t>(width) * 3;
  const size_t rowBytes = static_cast<size_t>(width) * 3;
  for (int y = 0; y < height; ++y) {
    const size_t at = stride * y;
    if (at >= rgb.size()) break;
    const size_t n = std::min(rowBytes, rgb.size() - at);
    std::memcpy(&p.rgb_[rowBytes * y], rgb.data() + at, n);
  }
  return p;
}

Picture Picture::FromImage(const QImage& image) {
  if (image.isNull()) return {};
  const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
  Picture p(rgb.width(), rgb.height());
  const size_t rowBytes = static_cast<size_t>(p.width_) * 3;
  for (int y = 0; y < p.height_; ++y)
    std::memcpy(&p.rgb_[rowBytes * y], rgb.constScanLine(y), rowBytes);
  return p;
}

std::string Picture::ToBmp() const {
  if (IsEmpty()) return {};
  const size_t stride = (static_cast<size_t>(width_) * 3 + 3) / 4 * 4;
  const std::uint32_t dataSize = static_cast<std::uint32_t>(stride * height_);
  std::string out;
  out.reserve(54 + dataSize);
  out += "BM";
  PutU32(out, 54 + dataSize);
  PutU32(out, 0);
  PutU32(out, 54);
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(width_));
  PutU32(out, static_cast<std::uint32_t>(height_));
  PutU16(out, 1);
  PutU16(out, 24);
  PutU32(out, 0);  // uncompressed
  PutU32(out, dataSize);
  PutU32(out, 2835);  // 72 dots per inch
  PutU32(out, 2835);
  PutU32(out, 0);
  PutU32(out, 0);
  for (int row = height_ - 1; row >= 0; --row) {
    const std::uint8_t* s = &rgb_[static_cast<size_t>(row) * width_ * 3];
    for (int x = 0; x < width_; ++x) {
      out.push_back(static_cast<char>(s[x * 3 + 2]));
      out.push_back(static_cast<char>(s[x * 3 + 1]));
      out.push_back(static_cast<char>(s[x * 3]));
    }
    out.append(stride - static_cast<size_t>(width_) * 3, '\0');
  }
  return out;
}

void Picture::SetSize(int width, int height, int fill) {
  width = std::clamp(width, 0, kMaxSide);
  height = std::clamp(height, 0, kMaxSide);
  if (width == 0 || height == 0) width = height = 0;
  std::vector<std::uint8_t> rgb(static_cast<size_t>(width) * height * 3);
  for (size_t i = 0; i < rgb.size(); i += 3) {
    rgb[i] = static_cast<std::uint8_t>(Red(fill));
    rgb[i + 1] = static_cast<std::uint8_t>(Green(fill));
    rgb[i + 2] = static_cast<std::uint8_t>(Blue(fill));
  }
  const int keepW = std::min(width, width_), keepH = std::min(height, height_);
  for (int y = 0; y < keepH; ++y)
    std::memcpy(&rgb[static_cast<size_t>(y) * width * 3],
                &rgb_[static_cast<size_t>(y) * width_ * 3], static_cast<size_t>(keepW) * 3);
  rgb_ = std::move(rgb);
  width_ = width;
  height_ = height;
  numGlyphs_ = std::clamp(numGlyphs_, 1, std::max(width_, 1));
}

int Picture::Pixel(int x, int y) const {
  if (!Inside(x, y)) return 0;
  const std::uint8_t* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
  return Rgb(p[0], p[1], p[2]);
}

void Picture::SetPixel(int x, int y, int color) {
  if (!Inside(x, y)) return;
  std::uint8_t* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
  p[0] = static_cast<std::uint8_t>(Red(color));
  p[1] = static_cast<std::uint8_t>(Green(color));
  p[2] = static_cast<std::uint8_t>(Blue(color));
}

void Picture::Fill(int color) {
  FillRect(0, 0, width_, height_, color);
}

void Picture::FillRect(int x, int y, int width, int height, int color) {
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = static_cast<int>(std::min<long long>(static_cast<long long>(x) + width, width_));
  const int y1 = static_cast<int>(std::min<long long>(static_cast<long long>(y) + height, height_));
  for (int yy = y0; yy < y1; ++yy)
    for (int xx = x0; xx < x1; ++xx) SetPixel(xx, yy, color);
}

Picture Picture::Copy(int x, int y, int width, int height) const {
  const int x0 = std::max(x, 0), y0 = std::max(y, 0);
  const int x1 = static_cast<int>(std::min<long long>(static_cast<long long>(x) + width, width_));
  const int y1 = static_cast<int>(std::min<long long>(static_cast<long long>(y) + height, height_));
  Picture p(x1 - x0, y1 - y0);
  for (int yy = 0; yy < p.height_; ++yy)
    std::memcpy(&p.rgb_[static_cast<size_t>(yy) * p.width_ * 3],
                &rgb_[(static_cast<size_t>(y0 + yy) * width_ + x0) * 3],
                static_cast<size_t>(p.width_) * 3);
  p.SetTransparentColor(TransparentColor());
  return p;
}

void Picture::Paste(const Picture& source, int x, int y) {
  for (int sy = 0; sy < source.height_; ++sy)
    for (int sx = 0; sx < source.width_; ++sx) SetPixel(x + sx, y + sy, source.Pixel(sx, sy));
}

int Picture::TransparentColor() const {
  if (!transparentAuto_) return transparentColor_;
  return IsEmpty() ? 0 : Pixel(0, height_ - 1);
}

void Picture::SetTransparentColor(int color) {
  transparentAuto_ = false;
  transparentColor_ = color & 0xFFFFFF;
}

void Picture::SetTransparentColorAuto() {
  transparentAuto_ = true;
  transparentColor_ = 0;
}

void Picture::SetNumGlyphs(int count) {
  numGlyphs_ = std::clamp(count, 1, std::max(width_, 1));
}

int Picture::GlyphWidth() const {
  return width_ / numGlyphs_;
}

Picture Picture::Glyph(int index) const {
  if (index < 0 || index >= numGlyphs_ || IsEmpty()) return {};
  return Copy(index * GlyphWidth(), 0, GlyphWidth(), height_);
}

int Picture::SquareImageCount() const {
  if (IsEmpty()) return 0;
  return std::max(width_ / height_, 1);
}

void Picture::AppendImage(const Picture& image) {
  if (image.IsEmpty()) return;
  if (IsEmpty()) {
    const int glyphs = numGlyphs_;
    const bool autoColor = transparentAuto_;
    const int color = transparentColor_;
    *this = image;
    numGlyphs_ = std::clamp(glyphs, 1, width_);
    transparentAuto_ = autoColor;
    transparentColor_ = color;
    return;
  }
  // The new area takes the transparent colour, so that the lower-left pixel of a picture grown
  // in height still gives the same transparent colour.
  const int oldWidth = width_;
  SetSize(width_ + image.width_, std::max(height_, image.height_), TransparentColor());
  Paste(image, oldWidth, 0);
}

QImage Picture::ToImage(bool masked) const {
  if (IsEmpty()) return {};
  QImage image(width_, height_, masked ? QImage::Format_ARGB32 : QImage::Format_RGB32);
  const int transparent = TransparentColor();
  for (int y = 0; y < height_; ++y) {
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width_; ++x) {
      const std::uint8_t* p = &rgb_[(static_cast<size_t>(y) * width_ + x) * 3];
      const bool clear = masked && Rgb(p[0], p[1], p[2]) == transparent;
      line[x] = clear ? qRgba(p[0], p[1], p[2], 0) : qRgb(p[0], p[1], p[2]);
    }
  }
  return image;
}

QPixmap Picture::ToPixmap(bool masked) const {
  return QPixmap::fromImage(ToImage(masked));
}

void Picture::Draw(QPainter& painter, int x, int y, int index) const {
  const Picture glyph = numGlyphs_ == 1 && index == 0 ? *this : Glyph(index);
  if (glyph.IsEmpty()) return;
  painter.drawImage(x, y, glyph.ToImage(true));
}

bool Picture::operator==(const Picture& other) const {
  return width_ == other.width_ && height_ == other.height_ && rgb_ == other.rgb_ &&
         numGlyphs_ == other.numGlyphs_ && TransparentColor() == other.TransparentColor();
}

}  // namespace toolkit

#include "toolkit/ImageList.h"

#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QString>
#include <algorithm>
#include <set>
#include <string>

#include "os/CodePage.h"

namespace toolkit {

namespace {

// A strip with an alpha channel as a picture with one transparent colour: the pixels of less than
// half opacity take a colour no other pixel has (fuchsia, the usual key colour, unless the strip
// uses it), fixed as the transparent colour so that every image cut from the strip keeps it.
Picture PictureWithKeyColor(const QImage& image) {
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  std::set<QRgb> used;
  for (int y = 0; y < argb.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x) {
      if (qAlpha(row[x]) >= 128) used.insert(row[x] & 0xFFFFFF);
    }
  }
  // A strip has far fewer pixels than there are colours, so the search ends soon.
  QRgb key = 0xFF00FF;
  while (used.count(key) != 0) key = (key + 1) & 0xFFFFFF;
  Picture picture = Picture::FromImage(argb);
  const int keyColor = Picture::Rgb(qRed(key), qGreen(key), qBlue(key));
  for (int y = 0; y < argb.height(); ++y) {
    const QRgb* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x) {
      if (qAlpha(row[x]) < 128) picture.SetPixel(x, y, keyColor);
    }
  }
  picture.SetTransparentColor(keyColor);
  return picture;
}

}  // namespace

ImageList::ImageList(Component* owner) : NonVisualComponent(owner) {}

void ImageList::SetBitmap(const std::string& resource) {
  if (resource.empty()) {
    Clear();
    return;
  }
  const QString name = QString::fromStdU16String(os::AnsiToWide(resource, os::CP_GBK));
  // Only the program's own resources: a picture on disk would make a window depend on where the
  // program was started.
  if (!name.startsWith(QLatin1String(":/"))) {
    throw Error("Image list picture \"" + resource + "\" is not a resource");
  }
  QImageReader reader(name);
  const QImage image = reader.read();
  if (image.isNull()) {
    throw Error("Cannot load the image list picture \"" + resource +
                "\": " + reader.errorString().toStdString());
  }
  const Picture strip =
      image.hasAlphaChannel() ? PictureWithKeyColor(image) : Picture::FromImage(image);
  images_.clear();
  Add(strip);
  bitmap_ = resource;
}

void ImageList::SetWidth(int width) {
  width = std::max(1, width);
  if (width == width_) return;
  width_ = width;
  Clear();
}

void ImageList::SetHeight(int height) {
  height = std::max(1, height);
  if (height == height_) return;
  height_ = height;
  Clear();
}

void ImageList::SetMasked(bool masked) {
  masked_ = masked;
  emit Changed();
}

Picture ImageList::Fit(const Picture& picture, int left, int width) const {
  Picture part = picture.Copy(left, 0, width, picture.Height());
  if (part.Width() == width_ && part.Height() == height_) return part;
  // Another size: scaled through Qt without smoothing, so that the transparent colour stays
  // exactly that colour.
  const QImage scaled = part.ToImage(false).scaled(width_, height_);
  Picture fitted = Picture::FromImage(scaled);
  fitted.SetTransparentColor(part.TransparentColor());
  return fitted;
}

int ImageList::Add(const Picture& picture) {
  if (picture.IsEmpty()) return -1;
  const int first = Count();
  const int count = std::max(1, picture.Width() / width_);
  const int each = picture.Width() >= width_ ? width_ : picture.Width();
  for (int i = 0; i < count; ++i) images_.push_back(Fit(picture, i * each, each));
  emit Changed();
  return first;
}

int ImageList::AddMasked(const Picture& picture, TColor maskColor) {
  Picture masked = picture;
  masked.SetTransparentColor(ColorToRGB(maskColor));
  return Add(masked);
}

void ImageList::Replace(int index, const Picture& picture) {
  if (index < 0 || index >= Count()) {
    throw Error("Invalid ImageList index (" + std::to_string(index) + ")");
  }
  if (picture.IsEmpty()) return;
  images_[static_cast<size_t>(index)] = Fit(picture, 0, std::min(picture.Width(), width_));
  emit Changed();
}

void ImageList::Delete(int index) {
  if (index < 0 || index >= Count()) {
    throw Error("Invalid ImageList index (" + std::to_string(index) + ")");
  }
  images_.erase(images_.begin() + index);
  emit Changed();
}

void ImageList::Clear() {
  bitmap_.clear();
  if (images_.empty()) return;
  images_.clear();
  emit Changed();
}

Picture ImageList::GetPicture(int index) const {
  if (index < 0 || index >= Count()) return {};
  return images_[static_cast<size_t>(index)];
}

QPixmap ImageList::Pixmap(int index) const {
  if (index < 0 || index >= Count()) return {};
  return images_[static_cast<size_t>(index)].ToPixmap(masked_);
}

QIcon ImageList::Icon(int index) const {
  const QPixmap pixmap = Pixmap(index);
  return pixmap.isNull() ? QIcon() : QIcon(pixmap);
}

void ImageList::Draw(QPainter& painter, int x, int y, int index, bool enabled) const {
  if (index < 0 || index >= Count()) return;
  if (enabled) {
    painter.drawImage(x, y, images_[static_cast<size_t>(index)].ToImage(masked_));
  } else {
    painter.drawPixmap(x, y, Icon(index).pixmap(width_, height_, QIcon::Disabled));
  }
}

TOOLKIT_REGISTER_CLASS(ImageList, "TImageList");

}  // namespace toolkit

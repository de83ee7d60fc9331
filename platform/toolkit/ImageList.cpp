#include "toolkit/ImageList.h"

#include <QImage>
#include <QPainter>
#include <algorithm>
#include <string>

namespace toolkit {

ImageList::ImageList(Component* owner) : NonVisualComponent(owner) {}

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

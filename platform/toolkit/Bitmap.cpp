#include "toolkit/Bitmap.h"

#include <QFile>

namespace toolkit {

Bitmap::Bitmap(QObject* parent) : QObject(parent) {}

void Bitmap::Change() {
  if (on_change_) on_change_();
  emit Changed();
}

void Bitmap::Assign(const Picture& picture) {
  picture_ = picture;
  Change();
}

void Bitmap::SetTransparentColor(TColor color) {
  picture_.SetTransparentColor(ColorToRGB(color));
  Change();
}

bool Bitmap::LoadFromBmp(std::string_view bytes) {
  Picture picture = Picture::FromBmp(bytes);
  if (picture.IsEmpty()) return false;
  Assign(picture);
  return true;
}

bool Bitmap::LoadFromFile(const std::string& path) {
  QFile file(QString::fromStdString(path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  const QByteArray bytes = file.readAll();
  return LoadFromBmp(std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
}

std::string Bitmap::Data() const {
  static const char digits[] = "0123456789ABCDEF";
  const std::string bytes = picture_.ToBmp();
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (unsigned char b : bytes) {
    hex.push_back(digits[b >> 4]);
    hex.push_back(digits[b & 15]);
  }
  return hex;
}

void Bitmap::SetData(std::string_view hex) {
  std::string bytes;
  int high = -1;
  for (char c : hex) {
    int v;
    if (c >= '0' && c <= '9')
      v = c - '0';
    else if (c >= 'a' && c <= 'f')
      v = c - 'a' + 10;
    else if (c >= 'A' && c <= 'F')
      v = c - 'A' + 10;
    else if (static_cast<unsigned char>(c) <= ' ')
      continue;  // line breaks of long data
    else
      throw Error("Invalid picture data");
    if (high < 0) {
      high = v;
    } else {
      bytes.push_back(static_cast<char>(high * 16 + v));
      high = -1;
    }
  }
  if (high >= 0) throw Error("Invalid picture data");
  if (bytes.empty()) {
    Clear();
    return;
  }
  std::string reason;
  Picture picture = Picture::FromBmp(bytes, &reason);
  if (picture.IsEmpty()) throw Error("Invalid picture data: " + reason);
  Assign(picture);
}

namespace {
[[maybe_unused]] const bool class_names = [] {
  RegisterClassName("TBitmap", &Bitmap::staticMetaObject);
  return true;
}();
}  // namespace

}  // namespace toolkit

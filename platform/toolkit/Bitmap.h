// Bitmap ("TBitmap"): the object behind a picture property, such as the Glyph of a button with a
// picture, so that the module reaches pictures by property name like any other object.
//
// Published: Width, Height and Empty (read only), TransparentColor (the lower-left pixel's colour
// until set), Data (the picture as a BMP file written in hexadecimal digits, as form descriptions
// hold pictures; "" when empty). The picture itself is a toolkit::Picture (toolkit/Picture.h);
// the control that holds the bitmap repaints after each change.
#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <string_view>

#include "toolkit/Component.h"
#include "toolkit/Graphics.h"
#include "toolkit/Picture.h"

namespace toolkit {

class Bitmap : public QObject, public Persistent {
  Q_OBJECT
  Q_PROPERTY(int Width READ Width)
  Q_PROPERTY(int Height READ Height)
  Q_PROPERTY(bool Empty READ Empty)
  Q_PROPERTY(toolkit::TColor TransparentColor READ TransparentColor WRITE SetTransparentColor)
  Q_PROPERTY(std::string Data READ Data WRITE SetData)

 public:
  explicit Bitmap(QObject* parent = nullptr);
  QObject* Object() override { return this; }

  const Picture& GetPicture() const { return picture_; }
  // Replaces the picture (one change notification).
  void Assign(const Picture& picture);
  void Assign(const Bitmap& other) { Assign(other.picture_); }
  void Clear() { Assign(Picture()); }

  int Width() const { return picture_.Width(); }
  int Height() const { return picture_.Height(); }
  bool Empty() const { return picture_.IsEmpty(); }
  TColor TransparentColor() const { return TColor(picture_.TransparentColor()); }
  // A system colour is resolved to its value now.
  void SetTransparentColor(TColor color);

  // The picture from the bytes of a BMP file; false (and the picture unchanged) when they are
  // not one.
  bool LoadFromBmp(std::string_view bytes);
  // The same from a file (UTF-8 path).
  bool LoadFromFile(const std::string& path);

  // Hexadecimal digits of a BMP file; setting an unreadable text raises Error.
  std::string Data() const;
  void SetData(std::string_view hex);

  // Called after each change (the holding control's repaint; not for module code).
  void SetOnChange(std::function<void()> onChange) { on_change_ = std::move(onChange); }

 signals:
  void Changed();

 private:
  void Change();
  Picture picture_;
  std::function<void()> on_change_;
};

}  // namespace toolkit

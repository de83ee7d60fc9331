// What buttons with pictures share: the arrangement of picture and caption (`TButtonLayout`) and
// the choice of the image for a button state among the images side by side in the picture.
//
// A picture holds up to four images (NumGlyphs): 0 up, 1 disabled, 2 pressed, 3 down (latched).
// A state whose image the picture lacks shows image 0; a disabled button without a disabled
// image shows image 0 greyed. Picture and caption are centred together in the button, picture
// `Spacing` pixels from the caption; with `Margin` >= 0 the picture keeps that distance from the
// edge it is laid against instead.
#pragma once

#include <QObject>
#include <QPixmap>
#include <QString>

#include "toolkit/Picture.h"

class QPainter;
class QRect;
class QFont;
class QPalette;

namespace toolkit {

class ButtonGlyph {
  Q_GADGET
 public:
  enum TButtonLayout { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
  Q_ENUM(TButtonLayout)
  enum TButtonState { bsUp, bsDisabled, bsDown, bsExclusive };
  Q_ENUM(TButtonState)

  // The number of images a newly assigned picture holds: width div height when the width is a
  // multiple of the height and that gives 1 to 4 images, otherwise 1.
  static int ImagesIn(const Picture& picture);
  // The image of `state` among `numGlyphs` images of `picture`, ready to draw (transparent
  // colour masked out, greyed when the disabled image is missing); null for an empty picture.
  static QPixmap StateImage(const Picture& picture, int numGlyphs, TButtonState state);

  // Draws `image` and `caption` ("&" marks an underlined accelerator letter, "&&" one "&") in
  // `rect`, moved by `offset` pixels right and down (a pressed button), greyed when disabled.
  static void Draw(QPainter& painter, const QRect& rect, const QPixmap& image,
                   const QString& caption, TButtonLayout layout, int margin, int spacing,
                   bool enabled, const QPalette& palette, int offset = 0);
};

}  // namespace toolkit

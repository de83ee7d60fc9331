// GSpdBtn: `TGSpeedButton`, a tool button whose picture comes by number from the picture library
// OsResD5 (GetMaxBmpID, LoadBmp), so that windows store a picture number instead of a picture.
//
// Published (initial values in brackets): GlyphIndex (0; the picture number, 0 = none), HintIndex
// (0; stored with the window, no behaviour), and everything of the toolkit's speed button (Glyph
// holds the loaded picture; a window's description does not store it).
//
// Setting GlyphIndex to a new number G writes G as the caption; for 0 or a number above
// GetMaxBmpID() the picture is emptied; otherwise the library's picture G is loaded, and then the
// caption is emptied and NumGlyphs becomes picture width div height (a 46 × 23 picture gives two
// images). A number the library holds no picture for leaves the button without a picture, showing
// the number. An error while loading shows "读取 BMP 发生错误" (error, OK); the number is kept.
#pragma once

#include "toolkit/SpeedButton.h"

class TGSpeedButton : public toolkit::SpeedButton {
  Q_OBJECT
  Q_PROPERTY(int GlyphIndex READ GlyphIndex WRITE SetGlyphIndex)
  Q_PROPERTY(int HintIndex READ HintIndex WRITE SetHintIndex)

 public:
  // A new button, 23 × 22, without a picture.
  explicit TGSpeedButton(toolkit::Component* owner);

  int GlyphIndex() const { return glyph_index_; }
  // See the header comment; setting the number the button has already does nothing.
  void SetGlyphIndex(int index);
  // Whether the last GlyphIndex raised an error while its picture was loaded.
  bool GlyphLoadFailed() const { return load_failed_; }
  int HintIndex() const { return hint_index_; }
  void SetHintIndex(int index) { hint_index_ = index; }

 private:
  int glyph_index_ = 0;
  int hint_index_ = 0;
  bool load_failed_ = false;
};

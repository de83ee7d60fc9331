// Button with a picture ("TBitBtn"): a push button showing a picture beside its caption.
//
// Published, beyond those of TButton (Caption, ModalResult, Default, Cancel): Glyph (the picture,
// a TBitmap; assigning one sets NumGlyphs from its shape, see ButtonGlyph::ImagesIn), NumGlyphs
// (1..4 images side by side: up, disabled, pressed, down), Layout (blGlyphLeft), Margin (-1:
// picture and caption centred together), Spacing (4), Kind (bkCustom; bkOK, bkCancel, bkYes, bkNo,
// bkAbort, bkRetry, bkIgnore and bkAll set ModalResult, and Default or Cancel where the desktop
// toolkit does; bkClose closes the form instead of clicking; bkHelp does nothing more). Kind sets
// no caption and no picture: the window gives its own. A new button is 75 × 25.
#pragma once

#include <memory>

#include "toolkit/Bitmap.h"
#include "toolkit/Button.h"
#include "toolkit/ButtonGlyph.h"

namespace toolkit {

class BitBtn : public Button {
  Q_OBJECT
 public:
  enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
  };
  Q_ENUM(TBitBtnKind)

 private:
  Q_PROPERTY(toolkit::Bitmap* Glyph READ Glyph WRITE SetGlyph)
  Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
  Q_PROPERTY(toolkit::ButtonGlyph::TButtonLayout Layout READ Layout WRITE SetLayout)
  Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
  Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
  Q_PROPERTY(TBitBtnKind Kind READ Kind WRITE SetKind)

 public:
  explicit BitBtn(Component* owner);

  Bitmap* Glyph() const { return glyph_.get(); }
  // Copies the picture of `glyph` (null empties it).
  void SetGlyph(Bitmap* glyph);
  int NumGlyphs() const { return num_glyphs_; }
  // Held to 1..4.
  void SetNumGlyphs(int count);
  ButtonGlyph::TButtonLayout Layout() const { return layout_; }
  void SetLayout(ButtonGlyph::TButtonLayout layout);
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);
  TBitBtnKind Kind() const { return kind_; }
  void SetKind(TBitBtnKind kind);

  void Click() override;

 protected:
  void TextChanged() override;
  void paintEvent(QPaintEvent* event) override;

 private:
  std::unique_ptr<Bitmap> glyph_;
  int num_glyphs_ = 1;
  ButtonGlyph::TButtonLayout layout_ = ButtonGlyph::blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  TBitBtnKind kind_ = bkCustom;
};

}  // namespace toolkit

// Speed button ("TSpeedButton"): a button that never takes the focus, showing a picture and a
// caption, used on tool bars and beside edit fields (pressing it leaves the focus where it is).
//
// Published: Caption, Glyph (a TBitmap; assigning sets NumGlyphs from its shape), NumGlyphs (1..4:
// up, disabled, pressed, down), Layout (blGlyphLeft), Margin (-1), Spacing (4), Flat (False: a
// flat button shows its frame only under the mouse or when down), GroupIndex (0), Down (False),
// AllowAllUp (False), and the common control properties and events.
//
// With GroupIndex 0 the button is down only while pressed and Down cannot be set. With a group
// index the buttons of the same parent and group act together: clicking one puts it down and
// releases the others; clicking a down button releases it only when AllowAllUp is set. Setting
// Down in code follows the same rule (False does nothing without AllowAllUp) and fires no click.
// A new button is 23 × 22.
#pragma once

#include <QAbstractButton>
#include <memory>

#include "toolkit/Bitmap.h"
#include "toolkit/ButtonGlyph.h"
#include "toolkit/Control.h"

namespace toolkit {

class SpeedButton : public QAbstractButton, public Control {
  Q_OBJECT
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(toolkit::Bitmap* Glyph READ Glyph WRITE SetGlyph)
  Q_PROPERTY(int NumGlyphs READ NumGlyphs WRITE SetNumGlyphs)
  Q_PROPERTY(toolkit::ButtonGlyph::TButtonLayout Layout READ Layout WRITE SetLayout)
  Q_PROPERTY(int Margin READ Margin WRITE SetMargin)
  Q_PROPERTY(int Spacing READ Spacing WRITE SetSpacing)
  Q_PROPERTY(bool Flat READ Flat WRITE SetFlat)
  Q_PROPERTY(int GroupIndex READ GroupIndex WRITE SetGroupIndex)
  Q_PROPERTY(bool Down READ Down WRITE SetDown)
  Q_PROPERTY(bool AllowAllUp READ AllowAllUp WRITE SetAllowAllUp)

 public:
  explicit SpeedButton(Component* owner);

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }
  Bitmap* Glyph() const { return glyph_.get(); }
  void SetGlyph(Bitmap* glyph);
  int NumGlyphs() const { return num_glyphs_; }
  void SetNumGlyphs(int count);
  ButtonGlyph::TButtonLayout Layout() const { return layout_; }
  void SetLayout(ButtonGlyph::TButtonLayout layout);
  int Margin() const { return margin_; }
  void SetMargin(int margin);
  int Spacing() const { return spacing_; }
  void SetSpacing(int spacing);
  bool Flat() const { return flat_; }
  void SetFlat(bool flat);
  int GroupIndex() const { return group_index_; }
  void SetGroupIndex(int index);
  bool Down() const { return down_; }
  void SetDown(bool down);
  bool AllowAllUp() const { return allow_all_up_; }
  void SetAllowAllUp(bool allow);

 protected:
  void TextChanged() override { update(); }
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  void leaveEvent(QEvent* event) override;
  QSize sizeHint() const override;

 private:
  void UserClicked();
  // The other buttons of the group follow when this one goes down.
  void ReleaseGroup();

  std::unique_ptr<Bitmap> glyph_;
  int num_glyphs_ = 1;
  ButtonGlyph::TButtonLayout layout_ = ButtonGlyph::blGlyphLeft;
  int margin_ = -1;
  int spacing_ = 4;
  bool flat_ = false;
  int group_index_ = 0;
  bool down_ = false;
  bool allow_all_up_ = false;
  bool hovered_ = false;
};

}  // namespace toolkit

// BtChkBox: `TBitCheckBox`, the check box of every option window, drawn from a picture per state
// instead of the desktop's own box.
//
// Published (initial values in brackets): State (cbUnchecked; cbChecked, cbGrayed), Checked
// (False; True exactly when State is cbChecked), AllowGrayed (False: a click on an unchecked box
// leads to grayed instead of checked), Alignment (taRightJustify: picture at the left, caption
// right of it; taLeftJustify: caption from the left edge, picture at the right edge),
// CheckedGlyph, UncheckedGlyph, GrayedGlyph (the module's pictures "CHECKED", "UNCHECKED",
// "GRAYED" of controls/ModuleRes.h), CheckedNumGlyphs, UncheckedNumGlyphs, GrayedNumGlyphs (1;
// images side by side in the picture, held to 1..2: image 1 enabled, image 2 disabled), Caption
// (""), Color (clBtnFace), Ctl3D (True), PopupMenu, TabStop (True), and the common properties
// and events of windowed controls (click, enter, exit, key and mouse events). A new box is
// 97 × 17. The pictures are not stored with a window; a window's description may still set them.
//
// A mouse click and the space bar toggle the state, raise OnClick and focus the box; the caption's
// accelerator ("&" before a letter) focuses the box and toggles it without OnClick. Writing
// State or Checked raises no OnClick: the option framework relies on this when it restores saved
// values.
//
// `TZelCheckBox` is the same control under the name the selection panel uses for its choice box.
#pragma once

#include <QPointer>
#include <QWidget>
#include <memory>

#include "toolkit/Bitmap.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Control.h"
#include "toolkit/Menus.h"

class TBitCheckBox : public QWidget, public toolkit::WinControl {
  Q_OBJECT
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(toolkit::CheckBox::TCheckBoxState State READ State WRITE SetState)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_PROPERTY(bool AllowGrayed READ AllowGrayed WRITE SetAllowGrayed)
  Q_PROPERTY(toolkit::Control::TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(toolkit::Bitmap* CheckedGlyph READ CheckedGlyph WRITE SetCheckedGlyph)
  Q_PROPERTY(toolkit::Bitmap* UncheckedGlyph READ UncheckedGlyph WRITE SetUncheckedGlyph)
  Q_PROPERTY(toolkit::Bitmap* GrayedGlyph READ GrayedGlyph WRITE SetGrayedGlyph)
  Q_PROPERTY(int CheckedNumGlyphs READ CheckedNumGlyphs WRITE SetCheckedNumGlyphs)
  Q_PROPERTY(int UncheckedNumGlyphs READ UncheckedNumGlyphs WRITE SetUncheckedNumGlyphs)
  Q_PROPERTY(int GrayedNumGlyphs READ GrayedNumGlyphs WRITE SetGrayedNumGlyphs)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(bool Ctl3D READ Ctl3D WRITE SetCtl3D)
  Q_PROPERTY(toolkit::PopupMenu* PopupMenu READ GetPopupMenu WRITE SetPopupMenu)

 public:
  using TCheckBoxState = toolkit::CheckBox::TCheckBoxState;

  // A new box, 97 × 17, unchecked, with the module's pictures.
  explicit TBitCheckBox(toolkit::Component* owner);
  ~TBitCheckBox() override;

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }

  TCheckBoxState State() const { return state_; }
  // Stores the state and repaints; no OnClick.
  void SetState(TCheckBoxState state);
  bool Checked() const { return state_ == toolkit::CheckBox::cbChecked; }
  // cbChecked or cbUnchecked; no OnClick.
  void SetChecked(bool checked);
  bool AllowGrayed() const { return allow_grayed_; }
  void SetAllowGrayed(bool allow) { allow_grayed_ = allow; }
  TAlignment Alignment() const { return alignment_; }
  // taCenter counts as taRightJustify.
  void SetAlignment(TAlignment alignment);
  bool Ctl3D() const { return ctl3d_; }
  void SetCtl3D(bool ctl3d);

  // The picture of each state. Setting copies the given bitmap; null restores the module's
  // picture. A picture whose width is a multiple of its height sets the state's number of images
  // to width div height, held to 1..2; other pictures keep the number.
  toolkit::Bitmap* CheckedGlyph() const { return glyphs_[toolkit::CheckBox::cbChecked].get(); }
  toolkit::Bitmap* UncheckedGlyph() const { return glyphs_[toolkit::CheckBox::cbUnchecked].get(); }
  toolkit::Bitmap* GrayedGlyph() const { return glyphs_[toolkit::CheckBox::cbGrayed].get(); }
  void SetCheckedGlyph(toolkit::Bitmap* glyph) { SetGlyph(toolkit::CheckBox::cbChecked, glyph); }
  void SetUncheckedGlyph(toolkit::Bitmap* glyph) {
    SetGlyph(toolkit::CheckBox::cbUnchecked, glyph);
  }
  void SetGrayedGlyph(toolkit::Bitmap* glyph) { SetGlyph(toolkit::CheckBox::cbGrayed, glyph); }
  void SetGlyph(TCheckBoxState state, toolkit::Bitmap* glyph);
  // The same with a picture; null restores the module's picture.
  void SetGlyphPicture(TCheckBoxState state, const toolkit::Picture* picture);

  // Images side by side in each state's picture, held to 1..2.
  int CheckedNumGlyphs() const { return num_glyphs_[toolkit::CheckBox::cbChecked]; }
  int UncheckedNumGlyphs() const { return num_glyphs_[toolkit::CheckBox::cbUnchecked]; }
  int GrayedNumGlyphs() const { return num_glyphs_[toolkit::CheckBox::cbGrayed]; }
  void SetCheckedNumGlyphs(int n) { SetNumGlyphs(toolkit::CheckBox::cbChecked, n); }
  void SetUncheckedNumGlyphs(int n) { SetNumGlyphs(toolkit::CheckBox::cbUnchecked, n); }
  void SetGrayedNumGlyphs(int n) { SetNumGlyphs(toolkit::CheckBox::cbGrayed, n); }
  void SetNumGlyphs(TCheckBoxState state, int count);

  toolkit::PopupMenu* GetPopupMenu() const { return popup_menu_; }
  void SetPopupMenu(toolkit::PopupMenu* menu);

  // Unchecked becomes grayed with AllowGrayed, else checked; checked becomes unchecked; grayed
  // becomes checked. Repaints; no OnClick.
  void Toggle();
  // A click as the user makes it: Toggle, OnClick, then the focus when the box can take it.
  void Click() override;
  void SetEnabled(bool enabled) override;

  // The caption area of the current drawing (client coordinates), for the focus rectangle and
  // for tests of the layout.
  QRect CaptionRect() const;
  // Where the state's image goes and which image of the picture is drawn (0 or 1).
  QPoint ImagePosition() const;
  int ImageIndex() const;

 protected:
  void KeyPress(char& key) override;
  void TextChanged() override;
  void FontChanged() override;
  void ColorChanged() override { update(); }
  bool event(QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void focusOutEvent(QFocusEvent* event) override;

 private:
  void GlyphChanged(TCheckBoxState state);
  void Accelerator();

  TCheckBoxState state_ = toolkit::CheckBox::cbUnchecked;
  bool allow_grayed_ = false;
  TAlignment alignment_ = taRightJustify;
  bool ctl3d_ = true;
  std::unique_ptr<toolkit::Bitmap> glyphs_[3];
  int num_glyphs_[3] = {1, 1, 1};
  bool restoring_default_ = false;
  int shortcut_id_ = 0;
  QPointer<toolkit::PopupMenu> popup_menu_;
};

class TZelCheckBox : public TBitCheckBox {
  Q_OBJECT
 public:
  explicit TZelCheckBox(toolkit::Component* owner) : TBitCheckBox(owner) {}
};

// Label ("TLabel"): a caption on the window that never takes the focus.
//
// Published: Caption, Color (painted only once set; until then the label shows its parent's
// colour, ParentColor), Transparent, Alignment, Layout, AutoSize (on: the label takes the size of
// its caption), WordWrap, FocusControl (the control its accelerator focuses), and the common
// control properties and events. "&" in the caption marks the accelerator letter ("&&" shows one
// "&").
#pragma once

#include <QLabel>

#include "toolkit/Control.h"

namespace toolkit {

class Label : public QLabel, public Control {
  Q_OBJECT
 public:
  enum TTextLayout { tlTop, tlCenter, tlBottom };
  Q_ENUM(TTextLayout)

 private:
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(bool ParentColor READ ParentColor WRITE SetParentColor)
  Q_PROPERTY(bool Transparent READ Transparent WRITE SetTransparent)
  Q_PROPERTY(toolkit::Control::TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(TTextLayout Layout READ Layout WRITE SetLayout)
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
  Q_PROPERTY(bool WordWrap READ WordWrap WRITE SetWordWrap)
  Q_PROPERTY(QWidget* FocusControl READ FocusControlWidget WRITE SetFocusControlWidget)

 public:
  // A new label, 65 × 13, AutoSize on, caption "".
  explicit Label(Component* owner);

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }
  // Setting a colour clears ParentColor.
  void SetColor(TColor color);
  bool ParentColor() const { return parent_color_; }
  void SetParentColor(bool parentColor);
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  TTextLayout Layout() const { return layout_; }
  void SetLayout(TTextLayout layout);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool autoSize);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool wordWrap);
  WinControl* FocusControl() const { return focus_control_; }
  void SetFocusControl(WinControl* control);

 protected:
  void Loaded() override;
  void TextChanged() override;
  void FontChanged() override;
  void ColorChanged() override;

 private:
  QWidget* FocusControlWidget() const;
  void SetFocusControlWidget(QWidget* widget);
  void AdjustBounds();
  void ApplyAlignment();

  bool parent_color_ = true;
  bool transparent_ = false;
  TAlignment alignment_ = taLeftJustify;
  TTextLayout layout_ = tlTop;
  bool auto_size_ = true;
  bool word_wrap_ = false;
  WinControl* focus_control_ = nullptr;
};

}  // namespace toolkit

// Panel ("TPanel"): a container with bevels and a centred caption.
//
// Published: Caption, Color (initially clBtnFace), Alignment of the caption (initially taCenter),
// BevelInner (initially bvNone), BevelOuter (initially bvRaised), BevelWidth (1), BorderWidth (0),
// and the common windowed-control properties and events. A panel takes no focus of its own
// (TabStop off); its children are laid out by their Align.
#pragma once

#include <QFrame>

#include "toolkit/Control.h"

namespace toolkit {

class Panel : public QFrame, public WinControl {
  Q_OBJECT
 public:
  enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
  Q_ENUM(TPanelBevel)

 private:
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(toolkit::Control::TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(TPanelBevel BevelInner READ BevelInner WRITE SetBevelInner)
  Q_PROPERTY(TPanelBevel BevelOuter READ BevelOuter WRITE SetBevelOuter)
  Q_PROPERTY(int BevelWidth READ BevelWidth WRITE SetBevelWidth)
  Q_PROPERTY(int BorderWidth READ BorderWidth WRITE SetBorderWidth)

 public:
  // A new panel, 185 × 41, raised outer bevel, caption "".
  explicit Panel(Component* owner);

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }
  TAlignment Alignment() const { return alignment_; }
  void SetAlignment(TAlignment alignment);
  TPanelBevel BevelInner() const { return bevel_inner_; }
  void SetBevelInner(TPanelBevel bevel);
  TPanelBevel BevelOuter() const { return bevel_outer_; }
  void SetBevelOuter(TPanelBevel bevel);
  int BevelWidth() const { return bevel_width_; }
  void SetBevelWidth(int width);
  int BorderWidth() const { return border_width_; }
  void SetBorderWidth(int width);

 protected:
  void TextChanged() override { update(); }
  void paintEvent(QPaintEvent* event) override;

 private:
  void UpdateMargins();
  TAlignment alignment_ = taCenter;
  TPanelBevel bevel_inner_ = bvNone;
  TPanelBevel bevel_outer_ = bvRaised;
  int bevel_width_ = 1;
  int border_width_ = 0;
};

}  // namespace toolkit

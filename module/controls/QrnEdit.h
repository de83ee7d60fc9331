// QrnEdit: edits with a label of their own. `TQrEdit` is a single-line edit, `TQrDBEdit` an edit
// bound by name to a data field, `TQrBtnDBEdit` a TQrDBEdit with a lookup button beside it.
//
// Each owns a label named "EditLabel" (published as the object property EditLabel) whose focus
// control is the edit. Published (initial values in brackets): Caption (""; the label's text),
// LabelPosition (lpLeft; lpAbove, lpBelow, lpRight: the side of the edit the label goes to),
// LabelSpacing (4; pixels between label and edit, negative values are ignored), and everything of
// the toolkit's edit. The label keeps its size and follows the edit: whenever the edit's bounds
// are set and when Caption, LabelPosition or LabelSpacing change it is moved to (L, T, W, H the
// edit's bounds, lw and lh the label's size, s the spacing)
//   lpAbove (L, T - lh - s)   lpBelow (L, T + H + s)
//   lpLeft  (L - lw - s, T + (H - lh) div 2)   lpRight (L + W + s, T + (H - lh) div 2)
// and takes the edit's parent, enabled state and visibility whenever those of the edit change.
//
// TQrDBEdit adds DataField ("") and DataSource (none), stored for the window; the toolkit offers
// no data-aware edit, so the field's value is not shown or written by the edit itself.
//
// TQrBtnDBEdit also owns a TGSpeedButton named "F2Button" (flat, picture 8; controls/GSpdBtn.h),
// placed at left = edit left + edit width + ButtonSpacing, top = edit top, width and height =
// edit height, following the edit like the label. Published: ButtonSpacing (2), GlyphIndex (8;
// the button's picture number), ButtonHint (""), OnDialog (Sender: the edit; replaces the lookup
// request). Pressing the button raises OnDialog when it is set; otherwise the edit takes the focus
// when it can and, when it then holds it, the lookup request (user message 10) goes to the window
// that owns the edit.
#pragma once

#include <QPointer>

#include "toolkit/Edit.h"
#include "toolkit/Label.h"

class TGSpeedButton;

// The label handling shared by the three edits.
class TQrLabeledEdit : public toolkit::Edit {
  Q_OBJECT
 public:
  enum TLabelPosition { lpAbove, lpBelow, lpLeft, lpRight };
  Q_ENUM(TLabelPosition)

 private:
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(TLabelPosition LabelPosition READ LabelPosition WRITE SetLabelPosition)
  Q_PROPERTY(int LabelSpacing READ LabelSpacing WRITE SetLabelSpacing)
  Q_PROPERTY(toolkit::Label* EditLabel READ EditLabel)

 public:
  explicit TQrLabeledEdit(toolkit::Component* owner);
  ~TQrLabeledEdit() override;

  // The label's caption ("" once the label is gone).
  std::string Caption() const;
  void SetCaption(std::string caption);
  TLabelPosition LabelPosition() const { return label_position_; }
  void SetLabelPosition(TLabelPosition position);
  int LabelSpacing() const { return label_spacing_; }
  // Negative values are ignored.
  void SetLabelSpacing(int spacing);
  // The label; null when it was destroyed before the edit.
  toolkit::Label* EditLabel() const { return label_.data(); }

  void SetBounds(int left, int top, int width, int height) override;
  void SetParent(toolkit::WinControl* parent) override;
  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;

 protected:
  // Moves the label (and whatever else follows the edit) to its place.
  virtual void PlacePartners();

 private:
  QPointer<toolkit::Label> label_;
  TLabelPosition label_position_ = lpLeft;
  int label_spacing_ = 4;
};

class TQrEdit : public TQrLabeledEdit {
  Q_OBJECT
 public:
  explicit TQrEdit(toolkit::Component* owner) : TQrLabeledEdit(owner) {}
};

class TQrDBEdit : public TQrLabeledEdit {
  Q_OBJECT
  Q_PROPERTY(std::string DataField READ DataField WRITE SetDataField)
  Q_PROPERTY(QObject* DataSource READ DataSource WRITE SetDataSource)

 public:
  explicit TQrDBEdit(toolkit::Component* owner) : TQrLabeledEdit(owner) {}

  const std::string& DataField() const { return data_field_; }
  void SetDataField(std::string field) { data_field_ = std::move(field); }
  QObject* DataSource() const { return data_source_.data(); }
  void SetDataSource(QObject* source) { data_source_ = source; }

 private:
  std::string data_field_;
  QPointer<QObject> data_source_;
};

class TQrBtnDBEdit : public TQrDBEdit {
  Q_OBJECT
  Q_PROPERTY(int ButtonSpacing READ ButtonSpacing WRITE SetButtonSpacing)
  Q_PROPERTY(int GlyphIndex READ GlyphIndex WRITE SetGlyphIndex)
  Q_PROPERTY(std::string ButtonHint READ ButtonHint WRITE SetButtonHint)
  Q_PROPERTY(toolkit::NotifyEvent OnDialog MEMBER FOnDialog)

 public:
  explicit TQrBtnDBEdit(toolkit::Component* owner);
  ~TQrBtnDBEdit() override;

  int ButtonSpacing() const { return button_spacing_; }
  void SetButtonSpacing(int spacing);
  int GlyphIndex() const;
  void SetGlyphIndex(int index);
  std::string ButtonHint() const;
  void SetButtonHint(std::string hint);
  // The button; null when it was destroyed before the edit.
  TGSpeedButton* Button() const;

  void SetEnabled(bool enabled) override;
  void SetVisible(bool visible) override;
  void SetParent(toolkit::WinControl* parent) override;

  // What pressing the button does (see the header comment); the button's OnClick handler.
  void F2ButtonClick(toolkit::Component* sender);

 protected:
  void PlacePartners() override;
  toolkit::NotifyEvent FOnDialog;

 private:
  QPointer<QObject> button_;
  int button_spacing_ = 2;
};

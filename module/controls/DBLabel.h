// DBLabel: `TDBLabel`, a label bound to one control of the window. It places itself above, left
// of, right of or below that control, and can take its caption from the display label of the
// database field the control shows.
//
// Published (initial values in brackets): FocusControl (none; the bound control, whose focus the
// label's accelerator gives), AutoAlign (True: the label places itself next to FocusControl),
// AutoCaption (True: the caption comes from the bound control's data field), Pos (psLeft; psTop,
// psRight, psBottom: the side of the control), Gap (4; pixels between label and control, 0..255),
// Caption ("挂靠标签"), and everything of the toolkit's label.
//
// Among the components owned by the label's parent control at most one TDBLabel is bound to a
// given control: a second binding is refused with the message "不能同时有两个 DBLabel 指到同一个
// Control." (error, OK), and binding a label again to its own control is ignored silently.
//
// The label aligns only when one of its properties is set; it does not follow later moves of the
// control (a window that moves the control sets AutoAlign off and on again).
//
// The caption is taken from a data field when the bound control publishes an object property
// "DataSource" that is set and whose "DataSet" object property holds a client data set
// (toolkit/DataSet.h): the display label of the data set's field named by the control's
// "DataField" text becomes the caption. When any of this is missing the caption stays as it is.
#pragma once

#include <QPointer>

#include "toolkit/Label.h"

class TDBLabel : public toolkit::Label {
  Q_OBJECT
 public:
  enum TPos { psTop, psLeft, psRight, psBottom };
  Q_ENUM(TPos)

 private:
  Q_PROPERTY(QWidget* FocusControl READ FocusControlWidget WRITE SetFocusControlWidget)
  Q_PROPERTY(bool AutoAlign READ AutoAlign WRITE SetAutoAlign)
  Q_PROPERTY(bool AutoCaption READ AutoCaption WRITE SetAutoCaption)
  Q_PROPERTY(TPos Pos READ Pos WRITE SetPos)
  Q_PROPERTY(int Gap READ Gap WRITE SetGap)

 public:
  // A new label with the caption "挂靠标签", bound to nothing.
  explicit TDBLabel(toolkit::Component* owner);

  toolkit::WinControl* FocusControl() const {
    return bound_ ? toolkit::Label::FocusControl() : nullptr;
  }
  // Binds the label to `control` (null unbinds) after the uniqueness check; a refused binding
  // changes nothing. Then the caption is refreshed and the label aligned.
  void SetFocusControl(toolkit::WinControl* control);
  bool AutoAlign() const { return auto_align_; }
  void SetAutoAlign(bool autoAlign);
  bool AutoCaption() const { return auto_caption_; }
  void SetAutoCaption(bool autoCaption);
  TPos Pos() const { return pos_; }
  void SetPos(TPos pos);
  int Gap() const { return gap_; }
  // Held to 0..255.
  void SetGap(int gap);

  // Takes the caption from the bound control's data field (see the header comment).
  void RefreshCaption();
  // Places the label next to the bound control by Pos and Gap (only while bound and AutoAlign).
  void AlignToControl();

 private:
  QWidget* FocusControlWidget() const;
  void SetFocusControlWidget(QWidget* widget);
  // False when another TDBLabel of the parent's components is bound to `control` (after the
  // message, when that is not this label) or this label is bound to it already.
  bool MayBindTo(toolkit::WinControl* control) const;
  void Changed();

  QPointer<QWidget> bound_;
  bool auto_align_ = true;
  bool auto_caption_ = true;
  TPos pos_ = psLeft;
  int gap_ = 4;
};

// Splitter ("TSplitter"): a thin bar between aligned controls that the user drags to resize the
// control it follows.
//
// Published: Align (alLeft; alLeft/alRight bars resize sideways, alTop/alBottom up and down),
// MinSize (30: the smallest size the resized control and the rest of the parent keep), Beveled
// (False), Color (the parent's), OnCanResize (NewSize, var Accept; before each size change, may
// change the size or refuse it), OnMoved (after the user let go), and the common control
// properties. The resized control is the one aligned to the same side that lies right before the
// splitter (left of an alLeft bar, above an alTop bar, ...). A new splitter is 3 pixels wide.
#pragma once

#include <QWidget>

#include "toolkit/Control.h"

namespace toolkit {

using CanResizeEvent = Event<int&, bool&>;

class Splitter : public QWidget, public Control {
  Q_OBJECT
  Q_PROPERTY(int MinSize READ MinSize WRITE SetMinSize)
  Q_PROPERTY(bool Beveled READ Beveled WRITE SetBeveled)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(toolkit::CanResizeEvent OnCanResize MEMBER FOnCanResize)
  Q_PROPERTY(toolkit::NotifyEvent OnMoved MEMBER FOnMoved)

 public:
  explicit Splitter(Component* owner);

  int MinSize() const { return min_size_; }
  void SetMinSize(int size) { min_size_ = std::max(1, size); }
  bool Beveled() const { return beveled_; }
  void SetBeveled(bool beveled);

  // The cursor follows the direction of the bar.
  void SetBounds(int left, int top, int width, int height) override;

  // The control the splitter resizes now, or null.
  Control* ResizeControl() const;
  // Resizes that control by `delta` pixels in the splitter's direction (positive: towards the
  // splitter's far side), within MinSize, asking OnCanResize; answers whether it changed.
  bool MoveBy(int delta);

 protected:
  virtual bool CanResize(int& newSize);
  virtual void Moved() { FOnMoved(this); }
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void enterEvent(QEnterEvent* event) override;
  bool FilterEvent(QObject* watched, QEvent* event) override;

  CanResizeEvent FOnCanResize;
  NotifyEvent FOnMoved;

 private:
  bool Horizontal() const { return Align() == alLeft || Align() == alRight; }
  // The size the resize control gets for a drag of `delta` from `startSize`.
  int SizeFor(int startSize, int delta) const;
  bool ResizeTo(Control* target, int newSize);
  void UpdateCursor();

  int min_size_ = 30;
  bool beveled_ = false;
  bool dragging_ = false;
  QPoint drag_start_;
  int start_size_ = 0;
};

}  // namespace toolkit

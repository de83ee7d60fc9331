#include "toolkit/Splitter.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>

namespace toolkit {

Splitter::Splitter(Component* owner) : QWidget(nullptr), Control(this, owner) {
  setFocusPolicy(Qt::NoFocus);
  SetBounds(0, 0, 3, 100);
  SetAlign(alLeft);
  SetClickOnMouseUp(false);
  UpdateCursor();
}

void Splitter::SetBeveled(bool beveled) {
  beveled_ = beveled;
  update();
}

void Splitter::SetBounds(int left, int top, int width, int height) {
  Control::SetBounds(left, top, width, height);
  UpdateCursor();
}

void Splitter::enterEvent(QEnterEvent* event) {
  UpdateCursor();
  QWidget::enterEvent(event);
}

void Splitter::UpdateCursor() {
  const TCursor wanted = Horizontal() ? crHSplit : crVSplit;
  if (Cursor() == crHSplit || Cursor() == crVSplit || Cursor() == crDefault) SetCursor(wanted);
}

Control* Splitter::ResizeControl() const {
  WinControl* parent = Parent();
  if (!parent || Align() == alNone || Align() == alClient) return nullptr;
  Control* best = nullptr;
  int bestGap = 0;
  for (Control* c : parent->ControlList()) {
    if (c == this || c->Align() != Align() || !c->Visible()) continue;
    // The distance from the control's edge facing the splitter to the splitter.
    int gap = -1;
    switch (Align()) {
      case alLeft:
        gap = Left() - (c->Left() + c->Width());
        break;
      case alRight:
        gap = c->Left() - (Left() + Width());
        break;
      case alTop:
        gap = Top() - (c->Top() + c->Height());
        break;
      case alBottom:
        gap = c->Top() - (Top() + Height());
        break;
      default:
        break;
    }
    if (gap >= 0 && (!best || gap < bestGap)) {
      best = c;
      bestGap = gap;
    }
  }
  return best;
}

int Splitter::SizeFor(int startSize, int delta) const {
  const bool grows = Align() == alLeft || Align() == alTop;
  return grows ? startSize + delta : startSize - delta;
}

bool Splitter::ResizeTo(Control* target, int newSize) {
  WinControl* parent = Parent();
  if (!target || !parent) return false;
  // What the other controls aligned along the same direction leave over; the rest keeps MinSize.
  const QRect area = parent->Widget()->contentsRect();
  int others = 0;
  for (Control* c : parent->ControlList()) {
    if (c == target || !c->Visible()) continue;
    if (Horizontal() && (c->Align() == alLeft || c->Align() == alRight)) others += c->Width();
    if (!Horizontal() && (c->Align() == alTop || c->Align() == alBottom)) others += c->Height();
  }
  const int room = (Horizontal() ? area.width() : area.height()) - others - min_size_;
  newSize = std::clamp(newSize, min_size_, std::max(min_size_, room));
  if (!CanResize(newSize)) return false;
  const int current = Horizontal() ? target->Width() : target->Height();
  if (newSize == current) return false;
  if (Horizontal()) {
    target->SetWidth(newSize);
  } else {
    target->SetHeight(newSize);
  }
  return true;
}

bool Splitter::MoveBy(int delta) {
  Control* target = ResizeControl();
  if (!target) return false;
  const int current = Horizontal() ? target->Width() : target->Height();
  return ResizeTo(target, SizeFor(current, delta));
}

bool Splitter::CanResize(int& newSize) {
  bool accept = true;
  FOnCanResize(this, newSize, accept);
  return accept;
}

void Splitter::mousePressEvent(QMouseEvent* event) {
  Control* target = ResizeControl();
  if (event->button() != Qt::LeftButton || !target) return;
  dragging_ = true;
  drag_start_ = event->globalPosition().toPoint();
  start_size_ = Horizontal() ? target->Width() : target->Height();
}

void Splitter::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  const QPoint moved = event->globalPosition().toPoint() - drag_start_;
  Control* target = ResizeControl();
  Dispatch([&] { ResizeTo(target, SizeFor(start_size_, Horizontal() ? moved.x() : moved.y())); });
}

void Splitter::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return;
  dragging_ = false;
  Dispatch([this] { Moved(); });
}

bool Splitter::FilterEvent(QObject* watched, QEvent* event) {
  if (watched == this && event->type() == QEvent::Resize) UpdateCursor();
  return Control::FilterEvent(watched, event);
}

void Splitter::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.fillRect(rect(), palette().color(QPalette::Window));
  if (!beveled_) return;
  const QRect r = rect().adjusted(0, 0, -1, -1);
  painter.setPen(palette().color(QPalette::Light));
  painter.drawLine(r.topLeft(), Horizontal() ? r.bottomLeft() : r.topRight());
  painter.setPen(palette().color(QPalette::Dark));
  painter.drawLine(Horizontal() ? r.topRight() : r.bottomLeft(), r.bottomRight());
}

TOOLKIT_REGISTER_CLASS(Splitter, "TSplitter");

}  // namespace toolkit

#include "toolkit/WindowPicture.h"

#include <QCoreApplication>
#include <QImage>
#include <QPainter>
#include <QResizeEvent>
#include <QWidget>

#include "toolkit/Control.h"

namespace toolkit {
namespace {

// Aligned children are laid out on resize events, which a window that was never shown has not
// had yet.
void Realign(Control* control) {
  auto* win = dynamic_cast<WinControl*>(control);
  if (!win) return;
  QResizeEvent resize(win->Widget()->size(), win->Widget()->size());
  QCoreApplication::sendEvent(win->Widget(), &resize);
  for (Control* child : win->ControlList()) Realign(child);
}

}  // namespace

bool SaveWindowPicture(Control* window, const std::string& path) {
  if (!window) return false;
  QWidget* widget = window->Widget();
  widget->ensurePolished();
  Realign(window);
  QImage image(widget->size(), QImage::Format_RGB32);
  image.fill(widget->palette().color(QPalette::Window));
  {
    QPainter painter(&image);
    widget->render(&painter, QPoint(), QRegion(),
                   QWidget::DrawWindowBackground | QWidget::DrawChildren);
  }
  return image.save(QString::fromStdString(path), "PNG");
}

}  // namespace toolkit

#include "toolkit/Application.h"

#include <QApplication>
#include <QCursor>
#include <QHelpEvent>
#include <QToolTip>
#include <QWidget>

#include "toolkit/Control.h"

namespace toolkit {

Application& Application::Instance() {
  static Application* application = new Application();
  return *application;
}

Application::Application()
    : hint_font_(std::make_unique<toolkit::Font>()),
      icon_font_(std::make_unique<toolkit::Font>()),
      menu_font_(std::make_unique<toolkit::Font>()) {
  QObject::connect(hint_font_.get(), &Font::Changed, this, [this] {
    if (qApp) QToolTip::setFont(hint_font_->ToQFont());
  });
  QObject::connect(menu_font_.get(), &Font::Changed, this, [this] {
    if (qApp) QApplication::setFont(menu_font_->ToQFont(), "QMenu");
  });
  if (qApp) qApp->installEventFilter(this);
}

void Application::SetCursor(TCursor cursor) {
  if (cursor == cursor_) return;
  if (qApp && cursor_ != crDefault) QApplication::restoreOverrideCursor();
  cursor_ = cursor;
  if (qApp && cursor != crDefault) QApplication::setOverrideCursor(QCursor(CursorShape(cursor)));
}

bool Application::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() != QEvent::ToolTip) return false;
  // Hints follow the application's settings: off altogether, or shown for HintHidePause.
  if (!show_hint_) return true;
  auto* widget = qobject_cast<QWidget*>(watched);
  if (!widget || widget->toolTip().isEmpty()) return false;
  auto* help = static_cast<QHelpEvent*>(event);
  QToolTip::showText(help->globalPos(), widget->toolTip(), widget, QRect(), hint_hide_pause_);
  return true;
}

namespace {
[[maybe_unused]] const bool registered = [] {
  RegisterClassName("TApplication", &Application::staticMetaObject);
  return true;
}();
}  // namespace

}  // namespace toolkit

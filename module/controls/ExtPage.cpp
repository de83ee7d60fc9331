#include "controls/ExtPage.h"

#include <QEvent>
#include <QTabBar>

TExtPageControl::TExtPageControl(toolkit::Component* owner) : toolkit::PageControl(owner) {
  QtTabBar()->installEventFilter(this);
}

bool TExtPageControl::eventFilter(QObject* watched, QEvent* event) {
  if (watched == QtTabBar() && event->type() == QEvent::Paint) {
    Dispatch([this] { PaintTabs(); });
    return true;
  }
  return toolkit::PageControl::eventFilter(watched, event);
}

void TExtPageControl::PaintTabs() {
  QTabBar* tabs = QtTabBar();
  QPainter painter(tabs);
  painter.setFont(font());
  for (int i = 0; i < tabs->count(); ++i) {
    if (!tabs->isTabVisible(i)) continue;
    DrawTab(painter, i, tabs->tabRect(i), i == tabs->currentIndex());
  }
}

void TExtPageControl::DrawTab(QPainter& painter, int tabIndex, const QRect& rect, bool active) {
  if (!FOnDrawTab.IsEmpty()) {
    canvas_ = &painter;
    try {
      FOnDrawTab(this, tabIndex, rect, active);
    } catch (...) {
      canvas_ = nullptr;
      throw;
    }
    canvas_ = nullptr;
    return;
  }
  QRect r = rect;
  QFont font = painter.font();
  QColor text;
  QColor back;
  if (active) {
    r.adjust(2, 2, -2, -2);
    text = toolkit::ToQColor(toolkit::clCaptionText);
    back = toolkit::ToQColor(toolkit::clActiveCaption);
    font.setBold(true);
  } else {
    text = toolkit::ToQColor(toolkit::clInactiveCaptionText);
    back = toolkit::ToQColor(toolkit::clInactiveCaption);
    font.setBold(false);
  }
  painter.fillRect(r, back);
  if (!active) r.setTop(r.top() + 2);
  toolkit::TabSheet* page = PageOfTab(tabIndex);
  if (!page) return;
  painter.save();
  painter.setFont(font);
  painter.setPen(text);
  painter.drawText(r, Qt::AlignCenter | Qt::TextSingleLine | Qt::TextShowMnemonic,
                   page->ToScreen(page->Caption()));
  painter.restore();
}

TOOLKIT_REGISTER_CLASS(TExtPageControl, "TExtPageControl");

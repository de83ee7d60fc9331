// ExtPage: `TExtPageControl`, the page control of the option pages (pgOption): the toolkit's page
// control with tabs drawn by the control itself.
//
// Published: OnDrawTab (TDrawTabEvent: Control, TabIndex, Rect, Active), which replaces the
// built-in tab drawing when it is set: it is called for every visible tab with the tab's
// rectangle (in the coordinates of Canvas()) and whether it is the active tab, and draws through
// Canvas(). Everything else is the toolkit's page control (ActivePage, TabSheets, OnChange, ...).
//
// Built-in tab drawing, for the tab rectangle R: the active tab shrinks R by 2 pixels on every
// side and uses the active caption colours (clCaptionText on clActiveCaption), bold; an inactive
// tab uses the inactive caption colours (clInactiveCaptionText on clInactiveCaption), not bold.
// R is filled with the background; for an inactive tab R's top then moves down 2 pixels. The
// caption of the tab's page (counting only pages whose tab is visible) is drawn on one line,
// centred both ways.
#pragma once

#include <QPainter>
#include <QRect>

#include "toolkit/PageControl.h"

using TDrawTabEvent = toolkit::Event<int, const QRect&, bool>;

class TExtPageControl : public toolkit::PageControl {
  Q_OBJECT
  Q_PROPERTY(TDrawTabEvent OnDrawTab MEMBER FOnDrawTab)

 public:
  explicit TExtPageControl(toolkit::Component* owner);

  // The painter of the tabs while OnDrawTab runs; null otherwise.
  QPainter* Canvas() const { return canvas_; }

  // Draws tab `tabIndex` as OnDrawTab or the built-in drawing does.
  void DrawTab(QPainter& painter, int tabIndex, const QRect& rect, bool active);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

  TDrawTabEvent FOnDrawTab;

 private:
  void PaintTabs();
  QPainter* canvas_ = nullptr;
};

#include "toolkit/PageControl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QSignalBlocker>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <algorithm>
#include <string>

namespace toolkit {

// ---------------------------------------------------------------------------------------------
// TabSheet

TabSheet::TabSheet(Component* owner) : QWidget(nullptr), WinControl(this, owner) {
  setFocusPolicy(Qt::NoFocus);
  Control::SetBounds(0, 0, 281, 165);
  ColorChanged();
}

TabSheet::~TabSheet() {
  if (page_control_) page_control_->RemovePage(this);
}

void TabSheet::SetTabVisible(bool visible) {
  if (visible == tab_visible_) return;
  tab_visible_ = visible;
  if (page_control_) page_control_->TabVisibilityChanged(this);
}

int TabSheet::PageIndex() const {
  return page_control_ ? page_control_->IndexOfPage(this) : -1;
}

void TabSheet::SetPageIndex(int index) {
  if (page_control_) page_control_->MovePage(this, index);
}

int TabSheet::TabIndex() const {
  if (!page_control_ || !tab_visible_) return -1;
  int tab = 0;
  for (const TabSheet* page : page_control_->pages_) {
    if (page == this) return tab;
    if (page->tab_visible_) ++tab;
  }
  return -1;
}

void TabSheet::SetImageIndex(int index) {
  image_index_ = index;
  if (page_control_) page_control_->UpdateTabs();
}

void TabSheet::SetPageControl(toolkit::PageControl* control) {
  SetParent(control);
}

QWidget* TabSheet::PageControlWidget() const {
  return page_control_;
}

void TabSheet::SetPageControlWidget(QWidget* widget) {
  auto* control = dynamic_cast<toolkit::PageControl*>(widget);
  if (widget && !control) throw Error("A tab sheet belongs on a page control");
  SetPageControl(control);
}

void TabSheet::SetParent(WinControl* parent) {
  auto* control = dynamic_cast<toolkit::PageControl*>(parent);
  if (page_control_ && page_control_ != control) page_control_->RemovePage(this);
  WinControl::SetParent(parent);
  if (control && page_control_ != control) control->InsertPage(this);
}

void TabSheet::SetBounds(int left, int top, int width, int height) {
  if (page_control_) {
    const QRect r = page_control_->PageRect();
    Control::SetBounds(r.x(), r.y(), r.width(), r.height());
  } else {
    Control::SetBounds(left, top, width, height);
  }
}

void TabSheet::TextChanged() {
  if (page_control_) page_control_->UpdateTabs();
}

// ---------------------------------------------------------------------------------------------
// PageControl

PageControl::PageControl(Component* owner) : QWidget(nullptr), WinControl(this, owner) {
  tabs_ = new QTabBar(this);
  tabs_->setFocusPolicy(Qt::NoFocus);
  tabs_->setDrawBase(false);
  tabs_->setExpanding(false);
  FeedEventsFrom(tabs_);
  SetTabStop(true);
  SetBounds(0, 0, 289, 193);
  ColorChanged();
}

PageControl::~PageControl() {
  // The tab bar reports its events to this control; it goes while the control is still whole.
  dying_ = true;
  delete tabs_;
  tabs_ = nullptr;
  for (TabSheet* page : pages_) page->page_control_ = nullptr;
}

TabSheet* PageControl::Pages(int index) const {
  if (index < 0 || index >= PageCount()) {
    throw Error("List index out of bounds (" + std::to_string(index) + ")");
  }
  return pages_[static_cast<size_t>(index)];
}

int PageControl::IndexOfPage(const TabSheet* page) const {
  auto it = std::find(pages_.begin(), pages_.end(), page);
  return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

void PageControl::InsertPage(TabSheet* page) {
  page->page_control_ = this;
  pages_.push_back(page);
  // Only the active page shows; the first page becomes the active one.
  if (!active_) {
    SetActivePage(page);
  } else {
    page->SetVisible(false);
  }
  LayoutPages();
  UpdateTabs();
}

void PageControl::RemovePage(TabSheet* page) {
  const int index = IndexOfPage(page);
  if (index < 0) return;
  TabSheet* next = nullptr;
  if (page == active_) {
    next = FindNextPage(page, true, true);
    if (next == page) next = nullptr;
  }
  pages_.erase(pages_.begin() + index);
  page->page_control_ = nullptr;
  if (page == active_) {
    active_ = nullptr;
    SetActivePage(next);
  }
  UpdateTabs();
}

void PageControl::MovePage(TabSheet* page, int index) {
  const int from = IndexOfPage(page);
  if (from < 0) return;
  pages_.erase(pages_.begin() + from);
  index = std::clamp(index, 0, PageCount());
  pages_.insert(pages_.begin() + index, page);
  UpdateTabs();
}

void PageControl::TabVisibilityChanged(TabSheet* page) {
  if (page == active_ && !page->tab_visible_) {
    // The page of the tab that takes its place becomes the active one: the next visible tab, or
    // the previous when it was the last.
    TabSheet* next = nullptr;
    const int at = IndexOfPage(page);
    for (int i = at + 1; i < PageCount() && !next; ++i) {
      if (pages_[static_cast<size_t>(i)]->tab_visible_) next = pages_[static_cast<size_t>(i)];
    }
    for (int i = at - 1; i >= 0 && !next; --i) {
      if (pages_[static_cast<size_t>(i)]->tab_visible_) next = pages_[static_cast<size_t>(i)];
    }
    if (next) SetActivePage(next);
  }
  UpdateTabs();
}

void PageControl::SetActivePage(TabSheet* page) {
  if (page && page->page_control_ != this) return;
  if (page == active_) return;
  TabSheet* old = active_;
  // The focus does not stay on a page that goes out of sight: it comes to the page control.
  QWidget* focus = QApplication::focusWidget();
  const bool focusOnOld = old && focus && old->Widget()->isAncestorOf(focus);
  active_ = page;
  if (page) {
    page->SetVisible(true);
    page->BringToFront();
    LayoutPages();
  }
  if (old) {
    if (focusOnOld && CanFocus()) setFocus(Qt::OtherFocusReason);
    old->SetVisible(false);
  }
  UpdateTabs();
}

void PageControl::SetActivePageIndex(int index) {
  SetActivePage(index >= 0 && index < PageCount() ? pages_[static_cast<size_t>(index)] : nullptr);
}

QWidget* PageControl::ActivePageWidget() const {
  return active_;
}

void PageControl::SetActivePageWidget(QWidget* widget) {
  auto* page = dynamic_cast<TabSheet*>(widget);
  if (widget && !page) throw Error("The active page must be a tab sheet");
  SetActivePage(page);
}

TabSheet* PageControl::FindNextPage(TabSheet* current, bool goForward, bool checkTabVisible) const {
  if (pages_.empty()) return nullptr;
  const int count = PageCount();
  int start = IndexOfPage(current);
  if (start < 0) start = goForward ? count - 1 : 0;
  int i = start;
  for (int n = 0; n < count; ++n) {
    i = goForward ? (i + 1) % count : (i + count - 1) % count;
    TabSheet* page = pages_[static_cast<size_t>(i)];
    if (!checkTabVisible || page->tab_visible_) return page;
  }
  return nullptr;
}

void PageControl::SelectNextPage(bool goForward, bool checkTabVisible) {
  TabSheet* page = FindNextPage(active_, goForward, checkTabVisible);
  if (page && page != active_) ChangePageByUser(page);
}

TabSheet* PageControl::PageOfTab(int tabIndex) const {
  if (tabIndex < 0) return nullptr;
  int tab = 0;
  for (TabSheet* page : pages_) {
    if (!page->tab_visible_) continue;
    if (tab == tabIndex) return page;
    ++tab;
  }
  return nullptr;
}

bool PageControl::ChangePageByUser(TabSheet* page) {
  if (!page || page == active_) return false;
  if (!CanChange()) return false;
  SetActivePage(page);
  Change();
  return true;
}

bool PageControl::CanChange() {
  bool allow = true;
  FOnChanging(this, allow);
  return allow;
}

void PageControl::Change() {
  FOnChange(this);
}

void PageControl::SetTabPosition(TTabPosition position) {
  tab_position_ = position;
  const QTabBar::Shape shapes[] = {QTabBar::RoundedNorth, QTabBar::RoundedSouth,
                                   QTabBar::RoundedWest, QTabBar::RoundedEast};
  tabs_->setShape(shapes[position]);
  LayoutPages();
}

void PageControl::SetTabHeight(int height) {
  tab_height_ = std::max(0, height);
  UpdateTabs();
}

void PageControl::SetTabWidth(int width) {
  tab_width_ = std::max(0, width);
  UpdateTabs();
}

void PageControl::SetStyle(TTabStyle style) {
  style_ = style;
  update();
}

void PageControl::SetImages(ImageList* images) {
  if (images_) QObject::disconnect(images_, nullptr, this, nullptr);
  images_ = images;
  if (images) QObject::connect(images, &ImageList::Changed, this, [this] { UpdateTabs(); });
  UpdateTabs();
}

void PageControl::SetPopupMenu(toolkit::PopupMenu* menu) {
  popup_menu_ = menu;
  AttachPopupMenu(this, menu);
}

void PageControl::UpdateTabs() {
  if (updating_) return;
  updating_ = true;
  {
    const QSignalBlocker blocker(tabs_);
    while (tabs_->count() > 0) tabs_->removeTab(tabs_->count() - 1);
    for (TabSheet* page : pages_) {
      if (!page->tab_visible_) continue;
      const int tab = tabs_->addTab(page->ToScreen(page->Caption()));
      if (images_ && page->image_index_ >= 0)
        tabs_->setTabIcon(tab, images_->Icon(page->image_index_));
    }
    QString sheet;
    if (tab_height_ > 0) sheet += QString("QTabBar::tab { height: %1px; }").arg(tab_height_);
    if (tab_width_ > 0) sheet += QString("QTabBar::tab { width: %1px; }").arg(tab_width_);
    tabs_->setStyleSheet(sheet);
    const int current = active_ ? active_->TabIndex() : -1;
    if (current >= 0) tabs_->setCurrentIndex(current);
  }
  updating_ = false;
  LayoutPages();
  update();
}

QRect PageControl::PageRect() const {
  const QSize bar = tabs_->count() > 0 ? tabs_->sizeHint() : QSize(0, 0);
  QRect r = rect();
  switch (tab_position_) {
    case tpTop:
      r.setTop(bar.height());
      break;
    case tpBottom:
      r.setBottom(r.bottom() - bar.height());
      break;
    case tpLeft:
      r.setLeft(bar.width());
      break;
    case tpRight:
      r.setRight(r.right() - bar.width());
      break;
  }
  // Inside the frame drawn around the pages.
  return r.adjusted(2, 2, -2, -2);
}

void PageControl::LayoutPages() {
  const QSize bar = tabs_->sizeHint();
  switch (tab_position_) {
    case tpTop:
      tabs_->setGeometry(2, 0, std::min(bar.width(), width() - 4), bar.height());
      break;
    case tpBottom:
      tabs_->setGeometry(2, height() - bar.height(), std::min(bar.width(), width() - 4),
                         bar.height());
      break;
    case tpLeft:
      tabs_->setGeometry(0, 2, bar.width(), std::min(bar.height(), height() - 4));
      break;
    case tpRight:
      tabs_->setGeometry(width() - bar.width(), 2, bar.width(),
                         std::min(bar.height(), height() - 4));
      break;
  }
  tabs_->setVisible(tabs_->count() > 0);
  const QRect r = PageRect();
  for (TabSheet* page : pages_) page->Control::SetBounds(r.x(), r.y(), r.width(), r.height());
}

void PageControl::KeyDown(Word& key, ShiftState shift) {
  WinControl::KeyDown(key, shift);
  if (key == 0 || shift != 0 || !Focused()) return;
  if (key == VK_LEFT || key == VK_UP || key == VK_RIGHT || key == VK_DOWN) {
    SelectNextPage(key == VK_RIGHT || key == VK_DOWN);
    key = 0;
  }
}

void PageControl::FontChanged() {
  WinControl::FontChanged();
  UpdateTabs();
}

bool PageControl::FilterEvent(QObject* watched, QEvent* event) {
  if (dying_) return false;
  if (watched == tabs_ && event->type() == QEvent::MouseButtonPress) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      TabSheet* page = PageOfTab(tabs_->tabAt(mouse->position().toPoint()));
      // The page changes here, through OnChanging; the tab bar does not change on its own.
      WinControl::FilterEvent(watched, event);
      if (page && page != active_) Dispatch([&] { ChangePageByUser(page); });
      return true;
    }
  }
  return WinControl::FilterEvent(watched, event);
}

void PageControl::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QStyleOptionTabWidgetFrame frame;
  frame.initFrom(this);
  frame.rect = PageRect().adjusted(-2, -2, 2, 2);
  frame.shape = tabs_->shape();
  frame.tabBarSize = tabs_->size();
  style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
}

void PageControl::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  LayoutPages();
}

TOOLKIT_REGISTER_CLASS(TabSheet, "TTabSheet");
TOOLKIT_REGISTER_CLASS(PageControl, "TPageControl");

}  // namespace toolkit

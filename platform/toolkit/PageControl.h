// Page control ("TPageControl") and its pages ("TTabSheet").
//
// A page control shows one page at a time and a tab for every page whose TabVisible is set. Pages
// are the tab sheets placed on it (in a form description: written inside it), in page order.
//
// TPageControl publishes ActivePage (the page shown; a component reference), ActivePageIndex (its
// position in page order, -1 for none), PageCount (read only), TabPosition (tpTop), TabHeight and
// TabWidth (0: as the captions need), MultiLine (False), HotTrack (False), Style (tsTabs), Color,
// PopupMenu, OnChanging (Sender, var AllowChange: before the user's change of page; False keeps
// the page), OnChange (after the user changed the page), and the common windowed-control
// properties and events. A user's change is a click on a tab, the arrow keys while the control
// has the focus, and SelectNextPage; setting ActivePage or ActivePageIndex in code fires neither
// event, as on the desktop.
//
// TTabSheet publishes Caption (the tab's text), TabVisible (True), PageIndex (its position in page
// order; setting moves it), TabIndex (read only: its position among the visible tabs, -1 while its
// tab is hidden), ImageIndex, PageControl (the page control it belongs to), Color, and the common
// windowed-control properties and events. Only the active page is Visible; hiding the active
// page's tab makes the page of the next visible tab (or the previous, at the end) the active one.
#pragma once

#include <QPointer>
#include <QWidget>
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menus.h"

class QTabBar;

namespace toolkit {

class PageControl;

class TabSheet : public QWidget, public WinControl {
  Q_OBJECT
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(bool TabVisible READ TabVisible WRITE SetTabVisible)
  Q_PROPERTY(int PageIndex READ PageIndex WRITE SetPageIndex)
  Q_PROPERTY(int TabIndex READ TabIndex)
  Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
  Q_PROPERTY(QWidget* PageControl READ PageControlWidget WRITE SetPageControlWidget)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)

 public:
  explicit TabSheet(Component* owner);
  ~TabSheet() override;

  const std::string& Caption() const { return GetText(); }
  void SetCaption(std::string caption) { SetTextValue(std::move(caption)); }
  bool TabVisible() const { return tab_visible_; }
  void SetTabVisible(bool visible);
  int PageIndex() const;
  void SetPageIndex(int index);
  int TabIndex() const;
  int ImageIndex() const { return image_index_; }
  void SetImageIndex(int index);
  toolkit::PageControl* GetPageControl() const { return page_control_; }
  // Moves the page to another page control (or takes it off with null).
  void SetPageControl(toolkit::PageControl* control);

  // A page placed on a page control becomes one of its pages.
  void SetParent(WinControl* parent) override;
  // A page takes the page area of its page control, whatever bounds it is given.
  void SetBounds(int left, int top, int width, int height) override;

 protected:
  void TextChanged() override;

 private:
  friend class PageControl;
  QWidget* PageControlWidget() const;
  void SetPageControlWidget(QWidget* widget);

  toolkit::PageControl* page_control_ = nullptr;
  bool tab_visible_ = true;
  int image_index_ = -1;
};

using TabChangingEvent = Event<bool&>;

class PageControl : public QWidget, public WinControl {
  Q_OBJECT
 public:
  enum TTabPosition { tpTop, tpBottom, tpLeft, tpRight };
  Q_ENUM(TTabPosition)
  enum TTabStyle { tsTabs, tsButtons, tsFlatButtons };
  Q_ENUM(TTabStyle)

 private:
  Q_PROPERTY(QWidget* ActivePage READ ActivePageWidget WRITE SetActivePageWidget)
  Q_PROPERTY(int ActivePageIndex READ ActivePageIndex WRITE SetActivePageIndex)
  Q_PROPERTY(int PageCount READ PageCount)
  Q_PROPERTY(TTabPosition TabPosition READ TabPosition WRITE SetTabPosition)
  Q_PROPERTY(int TabHeight READ TabHeight WRITE SetTabHeight)
  Q_PROPERTY(int TabWidth READ TabWidth WRITE SetTabWidth)
  Q_PROPERTY(bool MultiLine READ MultiLine WRITE SetMultiLine)
  Q_PROPERTY(bool HotTrack READ HotTrack WRITE SetHotTrack)
  Q_PROPERTY(TTabStyle Style READ Style WRITE SetStyle)
  Q_PROPERTY(toolkit::ImageList* Images READ Images WRITE SetImages)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(toolkit::PopupMenu* PopupMenu READ GetPopupMenu WRITE SetPopupMenu)
  Q_PROPERTY(toolkit::TabChangingEvent OnChanging MEMBER FOnChanging)
  Q_PROPERTY(toolkit::NotifyEvent OnChange MEMBER FOnChange)

 public:
  // A new page control, 289 × 193, no pages, TabStop on.
  explicit PageControl(Component* owner);
  ~PageControl() override;

  int PageCount() const { return static_cast<int>(pages_.size()); }
  // Page `index` in page order; Error outside 0..PageCount-1.
  TabSheet* Pages(int index) const;
  int IndexOfPage(const TabSheet* page) const;
  TabSheet* ActivePage() const { return active_; }
  // Shows the page (null: none); no OnChanging or OnChange. A page of another control is ignored.
  void SetActivePage(TabSheet* page);
  int ActivePageIndex() const { return IndexOfPage(active_); }
  void SetActivePageIndex(int index);
  // The next (or previous) page after the active one, wrapping around, among the pages with a
  // visible tab when `checkTabVisible`; null when there is none.
  TabSheet* FindNextPage(TabSheet* current, bool goForward, bool checkTabVisible) const;
  // Moves to that page as the user would: OnChanging may refuse, OnChange follows.
  void SelectNextPage(bool goForward, bool checkTabVisible = true);
  // The page of visible tab `tabIndex`, or null.
  TabSheet* PageOfTab(int tabIndex) const;
  // Changes to `page` as a click on its tab does (OnChanging, then OnChange); false when refused.
  bool ChangePageByUser(TabSheet* page);

  TTabPosition TabPosition() const { return tab_position_; }
  void SetTabPosition(TTabPosition position);
  int TabHeight() const { return tab_height_; }
  void SetTabHeight(int height);
  int TabWidth() const { return tab_width_; }
  void SetTabWidth(int width);
  bool MultiLine() const { return multi_line_; }
  void SetMultiLine(bool multiLine) { multi_line_ = multiLine; }
  bool HotTrack() const { return hot_track_; }
  void SetHotTrack(bool hotTrack) { hot_track_ = hotTrack; }
  TTabStyle Style() const { return style_; }
  void SetStyle(TTabStyle style);
  toolkit::ImageList* Images() const { return images_; }
  void SetImages(toolkit::ImageList* images);
  toolkit::PopupMenu* GetPopupMenu() const { return popup_menu_; }
  void SetPopupMenu(toolkit::PopupMenu* menu);

  // The area pages take, in the control's coordinates.
  QRect PageRect() const;
  // For this layer and its tests: the Qt tab bar.
  QTabBar* QtTabBar() const { return tabs_; }

 protected:
  // OnChanging: whether the user's change of page may happen.
  virtual bool CanChange();
  // OnChange.
  virtual void Change();
  void KeyDown(Word& key, ShiftState shift) override;
  void FontChanged() override;
  bool FilterEvent(QObject* watched, QEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  TabChangingEvent FOnChanging;
  NotifyEvent FOnChange;

 private:
  friend class TabSheet;
  void InsertPage(TabSheet* page);
  void RemovePage(TabSheet* page);
  void MovePage(TabSheet* page, int index);
  void TabVisibilityChanged(TabSheet* page);
  // Shows the tabs again (captions, order, visibility, the active tab).
  void UpdateTabs();
  void LayoutPages();
  QWidget* ActivePageWidget() const;
  void SetActivePageWidget(QWidget* widget);

  std::vector<TabSheet*> pages_;
  TabSheet* active_ = nullptr;
  QTabBar* tabs_ = nullptr;
  TTabPosition tab_position_ = tpTop;
  int tab_height_ = 0;
  int tab_width_ = 0;
  bool multi_line_ = false;
  bool hot_track_ = false;
  TTabStyle style_ = tsTabs;
  QPointer<toolkit::ImageList> images_;
  QPointer<toolkit::PopupMenu> popup_menu_;
  bool updating_ = false;
  // Set while the control is being destroyed: its inner widgets go first and report nothing.
  bool dying_ = false;
};

}  // namespace toolkit

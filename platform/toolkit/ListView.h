// List view ("TListView"): items with a caption, a picture and sub-items, shown as large icons,
// small icons, a list or a report with columns.
//
// TListView publishes ViewStyle (vsIcon; vsSmallIcon, vsList, vsReport), Columns (the report's
// columns, a collection of TListColumn), Items (a collection of TListItem), LargeImages and
// SmallImages (image lists: icon view, other views), SortType (stNone; stText and stBoth keep the
// items sorted by caption, through OnCompare when it is set), MultiSelect (False), RowSelect
// (False: only the caption shows selected in the report), ReadOnly (False: the caption of a
// selected item can be edited in place, by a click on it or F2), ShowColumnHeaders (True),
// ColumnClick (True: headers can be clicked), HideSelection (True: the selection is not shown
// while the list has no focus), GridLines (False), Checkboxes (False), AutoArrange (True), Color
// (clWindow), PopupMenu, and the events below, plus the common windowed-control properties and
// events (OnClick, OnDblClick, OnKeyDown, ...). A new list view is 250 × 150.
//
//   OnChange (Item, Change)                 an item's text, picture or state changed
//   OnChanging (Item, Change, var Allow)    before an in-place edit of a caption is applied
//   OnSelectItem (Item, Selected)           an item was selected or deselected (user or program)
//   OnColumnClick (Column)                  a column header was clicked
//   OnCompare (Item1, Item2, Data, var Compare)   order of two items for sorting (< 0, 0, > 0)
//   OnEditing (Item, var AllowEdit)         before in-place editing starts
//   OnEdited (Item, var S)                  after in-place editing: S is the new caption; the
//                                           handler may change it (back to the old caption)
//
// TListItem publishes Caption, SubItems (a string list: the texts of columns 1, 2, ...),
// ImageIndex (-1), Selected, Focused, Checked and Index (read only); Data is a pointer the program
// keeps with the item. TListColumn publishes Caption, Width (50; -1 fits the contents, -2 the
// contents and the caption; reading gives the width shown), Alignment (taLeftJustify), AutoSize
// (False: True shares the free width among such columns), MinWidth, MaxWidth and Tag.
//
// Items keep their identity: sorting changes the order they are shown in (Items(i), Index), so
// that an item added to a sorted list can still be filled after Add. "Items_2" of a language pack
// reaches the third item created (see ListItems).
#pragma once

#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "toolkit/Classes.h"
#include "toolkit/Control.h"
#include "toolkit/ImageList.h"
#include "toolkit/Menus.h"

class QAbstractItemView;
class QListView;
class QTreeView;

namespace toolkit {

class ListView;
class ListItems;
class ListViewModel;

class ListColumn : public CollectionItem {
  Q_OBJECT
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(int Width READ Width WRITE SetWidth)
  Q_PROPERTY(toolkit::Control::TAlignment Alignment READ Alignment WRITE SetAlignment)
  Q_PROPERTY(bool AutoSize READ AutoSize WRITE SetAutoSize)
  Q_PROPERTY(int MinWidth READ MinWidth WRITE SetMinWidth)
  Q_PROPERTY(int MaxWidth READ MaxWidth WRITE SetMaxWidth)
  Q_PROPERTY(int Tag READ Tag WRITE SetTag)

 public:
  explicit ListColumn(Collection* columns);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  // The width shown (the requested one while the list is not in the report view).
  int Width() const;
  void SetWidth(int width);
  Control::TAlignment Alignment() const { return alignment_; }
  void SetAlignment(Control::TAlignment alignment);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool autoSize);
  int MinWidth() const { return min_width_; }
  void SetMinWidth(int width);
  int MaxWidth() const { return max_width_; }
  void SetMaxWidth(int width);
  int Tag() const { return tag_; }
  void SetTag(int tag) { tag_ = tag; }
  // The width asked for (-1 and -2 as given).
  int RequestedWidth() const { return width_; }

 private:
  friend class ListView;
  friend class ListColumns;
  ListView* view_ = nullptr;
  std::string caption_;
  int width_ = 50;
  Control::TAlignment alignment_ = Control::taLeftJustify;
  bool auto_size_ = false;
  int min_width_ = 0;
  int max_width_ = 0;
  int tag_ = 0;
};

class ListColumns : public Collection {
  Q_OBJECT
 public:
  explicit ListColumns(ListView* view);
  ListColumn* Add() { return static_cast<ListColumn*>(Collection::Add()); }
  ListColumn* Items(int index) const { return static_cast<ListColumn*>(Collection::Items(index)); }
  ListView* Owner() const { return view_; }

 private:
  ListView* view_;
};

// What changed in an item (OnChange, OnChanging).
enum TItemChange { ctText, ctImage, ctState };

class ListItem : public CollectionItem {
  Q_OBJECT
  Q_PROPERTY(std::string Caption READ Caption WRITE SetCaption)
  Q_PROPERTY(toolkit::Strings* SubItems READ SubItems)
  Q_PROPERTY(int ImageIndex READ ImageIndex WRITE SetImageIndex)
  Q_PROPERTY(bool Selected READ Selected WRITE SetSelected)
  Q_PROPERTY(bool Focused READ Focused WRITE SetFocused)
  Q_PROPERTY(bool Checked READ Checked WRITE SetChecked)
  Q_PROPERTY(int Index READ Index)

 public:
  explicit ListItem(Collection* items);
  ~ListItem() override;

  // Position in the order the list shows its items.
  int Index() const;
  const std::string& Caption() const;
  void SetCaption(std::string caption);
  Strings* SubItems() const;
  int ImageIndex() const;
  void SetImageIndex(int index);
  bool Selected() const;
  void SetSelected(bool selected);
  bool Focused() const;
  void SetFocused(bool focused);
  bool Checked() const;
  void SetChecked(bool checked);
  void* Data() const;
  void SetData(void* data);

  ListView* GetListView() const;
  // Starts in-place editing of the caption (false when the list is read only or OnEditing
  // refuses); scrolls the item into sight; removes the item.
  bool EditCaption();
  void MakeVisible();
  void Delete();

 private:
  friend class ListView;
  friend class ListItems;
  struct Contents;
  std::unique_ptr<Contents> d_;
};

// The items of a list view in the order it shows them. Sorting and Insert change that order,
// not the order the collection created its entries in (which is what IndexedEntry, "Items_2",
// reaches); the two agree until the list is sorted or an item is inserted.
class ListItems : public Collection {
  Q_OBJECT
 public:
  explicit ListItems(ListView* view);

  // A new item, last (or where a sorted list puts it once its caption is set).
  ListItem* Add();
  // A new item at `index` (the items from there on move down one place).
  ListItem* Insert(int index);
  // Item `index` in the order shown; null outside 0..Count-1.
  ListItem* Items(int index) const;
  ListItem* operator[](int index) const { return Items(index); }
  // Position of `item` in the order shown; -1 for an item of another list (or none).
  int IndexOf(const ListItem* item) const;
  // Removes and destroys item `index` (in the order shown); Error outside 0..Count-1.
  void Delete(int index);
  ListView* Owner() const { return view_; }
  // Groups changes: the list shows them once, at the last EndUpdate.
  void BeginUpdate();
  void EndUpdate();
  bool Updating() const { return update_count_ > 0; }

 private:
  friend class ListView;
  friend class ListViewModel;
  // Brings the order up to date with the collection's entries: entries gone leave it, new ones
  // come last. Runs at every change of the collection, so that the order never lags more than
  // one change behind it.
  void Reconcile();
  // Replaces the order by a permutation of it (sorting).
  void Reorder(std::vector<ListItem*> order);
  // Makes the positions of the items in `rows_` right from `indexed_` on.
  void Reindex() const;
  // What a batch did, so that its end can show it in one step: items inserted at `row`, or
  // removed from it, and anything else.
  void NoteInserted(int row);
  void NoteRemoved(int row);
  void NoteMoved();
  // The rows inserted by the batch just ended when that is all it did to the order (a run of
  // `count` rows from `first`); false otherwise. Forgets the batch.
  bool TakeInsertedRun(int& first, int& count);

  ListView* view_;
  int update_count_ = 0;
  std::vector<ListItem*> order_;
  // The position of every item of `order_`; the positions are right for the first `indexed_`
  // places of the order (inserting, deleting and sorting only lower that mark, and the next
  // lookup beyond it renumbers once, however many changes there were).
  mutable std::unordered_map<const ListItem*, int> rows_;
  mutable int indexed_ = 0;
  // The current batch: a run of inserted rows, or moved_ once it did anything else.
  int run_first_ = 0;
  int run_count_ = 0;
  bool moved_ = false;
  bool inserting_ = false;
};

using LVChangeEvent = Event<ListItem*, TItemChange>;
using LVChangingEvent = Event<ListItem*, TItemChange, bool&>;
using LVSelectItemEvent = Event<ListItem*, bool>;
using LVColumnClickEvent = Event<ListColumn*>;
using LVCompareEvent = Event<ListItem*, ListItem*, int, int&>;
using LVEditingEvent = Event<ListItem*, bool&>;
using LVEditedEvent = Event<ListItem*, std::string&>;

class ListView : public QWidget, public WinControl {
  Q_OBJECT
 public:
  enum TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };
  Q_ENUM(TViewStyle)
  enum TSortType { stNone, stData, stText, stBoth };
  Q_ENUM(TSortType)

 private:
  Q_PROPERTY(TViewStyle ViewStyle READ ViewStyle WRITE SetViewStyle)
  Q_PROPERTY(toolkit::ListColumns* Columns READ Columns)
  Q_PROPERTY(toolkit::ListItems* Items READ Items)
  Q_PROPERTY(toolkit::ImageList* LargeImages READ LargeImages WRITE SetLargeImages)
  Q_PROPERTY(toolkit::ImageList* SmallImages READ SmallImages WRITE SetSmallImages)
  Q_PROPERTY(TSortType SortType READ SortType WRITE SetSortType)
  Q_PROPERTY(bool MultiSelect READ MultiSelect WRITE SetMultiSelect)
  Q_PROPERTY(bool RowSelect READ RowSelect WRITE SetRowSelect)
  Q_PROPERTY(bool ReadOnly READ ReadOnly WRITE SetReadOnly)
  Q_PROPERTY(bool ShowColumnHeaders READ ShowColumnHeaders WRITE SetShowColumnHeaders)
  Q_PROPERTY(bool ColumnClick READ ColumnClick WRITE SetColumnClick)
  Q_PROPERTY(bool HideSelection READ HideSelection WRITE SetHideSelection)
  Q_PROPERTY(bool GridLines READ GridLines WRITE SetGridLines)
  Q_PROPERTY(bool Checkboxes READ Checkboxes WRITE SetCheckboxes)
  Q_PROPERTY(bool AutoArrange READ AutoArrange WRITE SetAutoArrange)
  Q_PROPERTY(int SelCount READ SelCount)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(toolkit::PopupMenu* PopupMenu READ GetPopupMenu WRITE SetPopupMenu)
  Q_PROPERTY(toolkit::LVChangeEvent OnChange MEMBER FOnChange)
  Q_PROPERTY(toolkit::LVChangingEvent OnChanging MEMBER FOnChanging)
  Q_PROPERTY(toolkit::LVSelectItemEvent OnSelectItem MEMBER FOnSelectItem)
  Q_PROPERTY(toolkit::LVColumnClickEvent OnColumnClick MEMBER FOnColumnClick)
  Q_PROPERTY(toolkit::LVCompareEvent OnCompare MEMBER FOnCompare)
  Q_PROPERTY(toolkit::LVEditingEvent OnEditing MEMBER FOnEditing)
  Q_PROPERTY(toolkit::LVEditedEvent OnEdited MEMBER FOnEdited)

 public:
  explicit ListView(Component* owner);
  ~ListView() override;

  TViewStyle ViewStyle() const { return view_style_; }
  void SetViewStyle(TViewStyle style);
  ListColumns* Columns() const { return columns_.get(); }
  ListItems* Items() const { return items_.get(); }
  ImageList* LargeImages() const { return large_images_; }
  void SetLargeImages(ImageList* images);
  ImageList* SmallImages() const { return small_images_; }
  void SetSmallImages(ImageList* images);
  TSortType SortType() const { return sort_type_; }
  void SetSortType(TSortType type);
  bool MultiSelect() const { return multi_select_; }
  void SetMultiSelect(bool multi);
  bool RowSelect() const { return row_select_; }
  void SetRowSelect(bool rowSelect);
  bool ReadOnly() const { return read_only_; }
  void SetReadOnly(bool readOnly);
  bool ShowColumnHeaders() const { return show_column_headers_; }
  void SetShowColumnHeaders(bool show);
  bool ColumnClick() const { return column_click_; }
  void SetColumnClick(bool click);
  bool HideSelection() const { return hide_selection_; }
  void SetHideSelection(bool hide);
  bool GridLines() const { return grid_lines_; }
  void SetGridLines(bool lines);
  bool Checkboxes() const { return checkboxes_; }
  void SetCheckboxes(bool checkboxes);
  bool AutoArrange() const { return auto_arrange_; }
  void SetAutoArrange(bool arrange);
  toolkit::PopupMenu* GetPopupMenu() const { return popup_menu_; }
  void SetPopupMenu(toolkit::PopupMenu* menu);

  // The selected item (the focused one when it is selected, otherwise the first selected), or
  // null; setting selects only that item (null deselects all).
  ListItem* Selected() const;
  void SetSelected(ListItem* item);
  int SelCount() const;
  // The next selected item after `start` (from the first with null), or null.
  ListItem* GetNextSelected(ListItem* start) const;
  ListItem* ItemFocused() const;
  void SetItemFocused(ListItem* item);
  // The item at a point of the control, or null.
  ListItem* GetItemAt(int x, int y) const;
  // Deselects every item.
  void ClearSelection();
  void SelectAll();
  bool IsEditing() const;

  // Sorts the items once: by `compare` (negative, zero, positive as item1 goes before, with,
  // after item2) with `data`; without one, through OnCompare, or by caption (byte order) when
  // OnCompare is not set. The order is stable. True when sorted.
  bool CustomSort(const std::function<int(ListItem*, ListItem*, int)>& compare, int data = 0);
  // By caption, through OnCompare when it is set.
  bool AlphaSort() { return CustomSort(nullptr, 0); }
  // Lays the icons out again.
  void Arrange();

  // For this layer and its tests: the Qt view showing the items now.
  QAbstractItemView* QtView() const;

 protected:
  virtual void Change(ListItem* item, TItemChange change) { FOnChange(this, item, change); }
  virtual bool CanChange(ListItem* item, TItemChange change);
  virtual void SelectItem(ListItem* item, bool selected) { FOnSelectItem(this, item, selected); }
  virtual void ColClick(ListColumn* column) { FOnColumnClick(this, column); }
  virtual bool CanEdit(ListItem* item);
  virtual void Edit(ListItem* item, std::string& text) { FOnEdited(this, item, text); }
  void FontChanged() override;
  void ColorChanged() override;
  bool FilterEvent(QObject* watched, QEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

  LVChangeEvent FOnChange;
  LVChangingEvent FOnChanging;
  LVSelectItemEvent FOnSelectItem;
  LVColumnClickEvent FOnColumnClick;
  LVCompareEvent FOnCompare;
  LVEditingEvent FOnEditing;
  LVEditedEvent FOnEdited;

 private:
  friend class ListItem;
  friend class ListColumn;
  friend class ListItems;
  friend class ListViewModel;
  friend class ListViewDelegate;

  void ItemsChanged();
  void ColumnsChanged();
  void ItemChanged(ListItem* item, TItemChange change);
  void SelectionChangedByUser();
  void SetItemSelected(ListItem* item, bool selected);
  void ShowSelection();
  void ApplyColumns();
  void ApplyViewStyle();
  void ApplyHideSelection();
  void EditedByUser(int row, const QString& text);
  void KeepSorted();
  int RowOf(const ListItem* item) const;

  std::unique_ptr<ListColumns> columns_;
  std::unique_ptr<ListItems> items_;
  std::unique_ptr<ListViewModel> model_;
  QListView* list_ = nullptr;
  QTreeView* tree_ = nullptr;
  TViewStyle view_style_ = vsIcon;
  QPointer<ImageList> large_images_;
  QPointer<ImageList> small_images_;
  TSortType sort_type_ = stNone;
  bool multi_select_ = false;
  bool row_select_ = false;
  bool read_only_ = false;
  bool show_column_headers_ = true;
  bool column_click_ = true;
  bool hide_selection_ = true;
  bool grid_lines_ = false;
  bool checkboxes_ = false;
  bool auto_arrange_ = true;
  QPointer<toolkit::PopupMenu> popup_menu_;
  bool syncing_ = false;
  bool sorting_ = false;
  int editing_ = 0;
  // Set while the control is being destroyed: its inner widgets go first and report nothing.
  bool dying_ = false;
};

}  // namespace toolkit

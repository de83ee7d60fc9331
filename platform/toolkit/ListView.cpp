#include "toolkit/ListView.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QListView>
#include <QStyledItemDelegate>
#include <QTreeView>
#include <algorithm>
#include <numeric>
#include <unordered_set>

namespace toolkit {

// ---------------------------------------------------------------------------------------------
// Items and columns

struct ListItem::Contents {
  std::string caption;
  std::unique_ptr<Strings> subItems = std::make_unique<Strings>();
  int imageIndex = -1;
  bool selected = false;
  bool focused = false;
  bool checked = false;
  void* data = nullptr;
};

ListItem::ListItem(Collection* items) : CollectionItem(items), d_(std::make_unique<Contents>()) {
  d_->subItems->SetOnChange([this] {
    if (ListView* view = GetListView()) view->ItemChanged(this, ctText);
  });
}

int ListItem::Index() const {
  auto* items = static_cast<ListItems*>(GetCollection());
  return items ? items->IndexOf(this) : -1;
}

ListItem::~ListItem() = default;

ListView* ListItem::GetListView() const {
  auto* items = static_cast<ListItems*>(GetCollection());
  return items ? items->Owner() : nullptr;
}

const std::string& ListItem::Caption() const {
  return d_->caption;
}

void ListItem::SetCaption(std::string caption) {
  if (caption == d_->caption) return;
  d_->caption = std::move(caption);
  if (ListView* view = GetListView()) view->ItemChanged(this, ctText);
}

Strings* ListItem::SubItems() const {
  return d_->subItems.get();
}

int ListItem::ImageIndex() const {
  return d_->imageIndex;
}

void ListItem::SetImageIndex(int index) {
  if (index == d_->imageIndex) return;
  d_->imageIndex = index;
  if (ListView* view = GetListView()) view->ItemChanged(this, ctImage);
}

bool ListItem::Selected() const {
  return d_->selected;
}

void ListItem::SetSelected(bool selected) {
  if (ListView* view = GetListView()) {
    view->SetItemSelected(this, selected);
  } else {
    d_->selected = selected;
  }
}

bool ListItem::Focused() const {
  return d_->focused;
}

void ListItem::SetFocused(bool focused) {
  ListView* view = GetListView();
  if (!view) return;
  if (focused) {
    view->SetItemFocused(this);
  } else if (d_->focused) {
    view->SetItemFocused(nullptr);
  }
}

bool ListItem::Checked() const {
  return d_->checked;
}

void ListItem::SetChecked(bool checked) {
  if (checked == d_->checked) return;
  d_->checked = checked;
  if (ListView* view = GetListView()) view->ItemChanged(this, ctState);
}

void* ListItem::Data() const {
  return d_->data;
}
void ListItem::SetData(void* data) {
  d_->data = data;
}

bool ListItem::EditCaption() {
  ListView* view = GetListView();
  if (!view || view->read_only_) return false;
  const int row = view->RowOf(this);
  if (row < 0) return false;
  QAbstractItemView* qt = view->QtView();
  const QModelIndex index = qt->model()->index(row, 0);
  qt->setCurrentIndex(index);
  qt->edit(index);
  return view->IsEditing();
}

void ListItem::MakeVisible() {
  ListView* view = GetListView();
  if (!view) return;
  const int row = view->RowOf(this);
  if (row >= 0) view->QtView()->scrollTo(view->QtView()->model()->index(row, 0));
}

void ListItem::Delete() {
  auto* items = static_cast<ListItems*>(GetCollection());
  if (items) items->Delete(Index());
}

ListItems::ListItems(ListView* view)
    : Collection([](Collection* c) { return std::make_unique<ListItem>(c); }), view_(view) {}

void ListItems::Reconcile() {
  // Runs on every change of the collection, one change at a time, so the common ones are
  // recognised without a pass over the items: a list filled or emptied row by row costs no more
  // than its length. Delete takes its item out of the order itself, before the collection lets
  // it go.
  const size_t count = static_cast<size_t>(Count());
  if (count == order_.size()) return;
  if (count == 0) {
    NoteMoved();
    order_.clear();
    rows_.clear();
    indexed_ = 0;
    return;
  }
  if (count == order_.size() + 1) {
    // Add: the new entry is the collection's last one.
    auto* added = static_cast<ListItem*>(Collection::Items(Count() - 1));
    const int row = static_cast<int>(order_.size());
    if (rows_.emplace(added, row).second) {
      if (indexed_ == row) ++indexed_;
      order_.push_back(added);
      if (!inserting_) NoteInserted(row);
      return;
    }
  }
  NoteMoved();
  // Anything else (entries removed through the collection itself): one pass over both.
  std::unordered_set<const CollectionItem*> entries;
  entries.reserve(count);
  for (int i = 0; i < Count(); ++i) entries.insert(Collection::Items(i));
  order_.erase(std::remove_if(order_.begin(), order_.end(),
                              [&](ListItem* i) { return entries.count(i) == 0; }),
               order_.end());
  std::unordered_set<const ListItem*> ordered(order_.begin(), order_.end());
  for (int i = 0; i < Count(); ++i) {
    auto* item = static_cast<ListItem*>(const_cast<CollectionItem*>(Collection::Items(i)));
    if (ordered.insert(item).second) order_.push_back(item);
  }
  rows_.clear();
  rows_.reserve(order_.size());
  for (size_t i = 0; i < order_.size(); ++i) rows_.emplace(order_[i], static_cast<int>(i));
  indexed_ = static_cast<int>(order_.size());
}

void ListItems::Reorder(std::vector<ListItem*> order) {
  order_ = std::move(order);
  indexed_ = 0;
  NoteMoved();
}

void ListItems::NoteInserted(int row) {
  if (!Updating() || moved_) return;
  if (run_count_ == 0) {
    run_first_ = row;
    run_count_ = 1;
  } else if (row >= run_first_ && row <= run_first_ + run_count_) {
    ++run_count_;
  } else {
    moved_ = true;
  }
}

void ListItems::NoteRemoved(int row) {
  if (!Updating() || moved_) return;
  if (row >= run_first_ && row < run_first_ + run_count_) {
    --run_count_;
  } else {
    moved_ = true;
  }
}

void ListItems::NoteMoved() {
  if (Updating()) moved_ = true;
}

bool ListItems::TakeInsertedRun(int& first, int& count) {
  const bool run = !moved_ && run_count_ > 0;
  first = run_first_;
  count = run_count_;
  run_first_ = run_count_ = 0;
  moved_ = false;
  return run;
}

void ListItems::Reindex() const {
  for (size_t i = static_cast<size_t>(indexed_); i < order_.size(); ++i) {
    rows_[order_[i]] = static_cast<int>(i);
  }
  indexed_ = static_cast<int>(order_.size());
}

ListItem* ListItems::Add() {
  return static_cast<ListItem*>(Collection::Add());
}

ListItem* ListItems::Items(int index) const {
  if (index < 0 || index >= static_cast<int>(order_.size())) return nullptr;
  return order_[static_cast<size_t>(index)];
}

int ListItems::IndexOf(const ListItem* item) const {
  const auto it = rows_.find(item);
  if (it == rows_.end()) return -1;
  const auto at = static_cast<size_t>(it->second);
  if (at < order_.size() && order_[at] == item) return it->second;
  Reindex();
  return it->second;
}

void ListItems::Delete(int index) {
  ListItem* item = Items(index);
  if (!item) throw Error("List index out of bounds (" + std::to_string(index) + ")");
  const int entry = Collection::IndexOf(item);
  rows_.erase(item);
  order_.erase(order_.begin() + index);
  indexed_ = std::min(indexed_, index);
  NoteRemoved(index);
  Collection::Delete(entry);
}

ListItem* ListItems::Insert(int index) {
  index = std::clamp(index, 0, Count());
  BeginUpdate();
  inserting_ = true;
  ListItem* added = nullptr;
  try {
    added = Add();
  } catch (...) {
    inserting_ = false;
    throw;
  }
  inserting_ = false;
  if (index < Count() - 1) {
    order_.pop_back();
    order_.insert(order_.begin() + index, added);
    rows_[added] = index;
    indexed_ = std::min(indexed_, index);
  }
  NoteInserted(index);
  EndUpdate();
  return added;
}

void ListItems::BeginUpdate() {
  ++update_count_;
}

void ListItems::EndUpdate() {
  if (update_count_ == 0) return;
  if (--update_count_ == 0) view_->ItemsChanged();
}

ListColumn::ListColumn(Collection* columns) : CollectionItem(columns) {}

void ListColumn::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  Changed();
}

int ListColumn::Width() const {
  if (view_ && view_->tree_) {
    const int index = Index();
    if (index >= 0 && index < view_->tree_->header()->count()) {
      const int shown = view_->tree_->header()->sectionSize(index);
      if (shown > 0) return shown;
    }
  }
  return width_;
}

void ListColumn::SetWidth(int width) {
  width_ = width;
  Changed();
}

void ListColumn::SetAlignment(Control::TAlignment alignment) {
  alignment_ = alignment;
  Changed();
}

void ListColumn::SetAutoSize(bool autoSize) {
  auto_size_ = autoSize;
  Changed();
}

void ListColumn::SetMinWidth(int width) {
  min_width_ = std::max(0, width);
  Changed();
}

void ListColumn::SetMaxWidth(int width) {
  max_width_ = std::max(0, width);
  Changed();
}

ListColumns::ListColumns(ListView* view)
    : Collection([view](Collection* c) {
        auto column = std::make_unique<ListColumn>(c);
        column->view_ = view;
        return column;
      }),
      view_(view) {}

// ---------------------------------------------------------------------------------------------
// The Qt model behind both views

class ListViewModel : public QAbstractTableModel {
 public:
  explicit ListViewModel(ListView* view) : view_(view) {}

  // The rows the views know of: the items' count, except within a batch of changes, which the
  // views hear of when it ends.
  int rowCount(const QModelIndex& parent) const override { return parent.isValid() ? 0 : shown_; }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : std::max(1, view_->Columns()->Count());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    ListItem* item = view_->Items()->Items(index.row());
    if (!item) return {};
    const int column = index.column();
    switch (role) {
      case Qt::DisplayRole:
      case Qt::EditRole:
        if (column == 0) return view_->ToScreen(item->Caption());
        if (column - 1 < item->SubItems()->Count()) {
          return view_->ToScreen(item->SubItems()->At(column - 1));
        }
        return QString();
      case Qt::DecorationRole: {
        if (column != 0 || item->ImageIndex() < 0) return {};
        ImageList* images =
            view_->ViewStyle() == ListView::vsIcon ? view_->LargeImages() : view_->SmallImages();
        if (!images) return {};
        const QPixmap pixmap = images->Pixmap(item->ImageIndex());
        return pixmap.isNull() ? QVariant() : QVariant(pixmap);
      }
      case Qt::CheckStateRole:
        if (column != 0 || !view_->Checkboxes()) return {};
        return item->Checked() ? Qt::Checked : Qt::Unchecked;
      case Qt::TextAlignmentRole: {
        if (view_->ViewStyle() != ListView::vsReport) return {};
        ListColumn* c = view_->Columns()->Items(column);
        if (!c) return {};
        const int h = c->Alignment() == Control::taRightJustify ? Qt::AlignRight
                      : c->Alignment() == Control::taCenter     ? Qt::AlignHCenter
                                                                : Qt::AlignLeft;
        return QVariant(h | Qt::AlignVCenter);
      }
      default:
        return {};
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (orientation != Qt::Horizontal) return {};
    ListColumn* c = view_->Columns()->Items(section);
    if (!c) return {};
    if (role == Qt::DisplayRole) return view_->ToScreen(c->Caption());
    if (role == Qt::TextAlignmentRole) {
      const int h = c->Alignment() == Control::taRightJustify ? Qt::AlignRight
                    : c->Alignment() == Control::taCenter     ? Qt::AlignHCenter
                                                              : Qt::AlignLeft;
      return QVariant(h | Qt::AlignVCenter);
    }
    return {};
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && !view_->ReadOnly()) f |= Qt::ItemIsEditable;
    if (index.column() == 0 && view_->Checkboxes()) f |= Qt::ItemIsUserCheckable;
    return f;
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    ListItem* item = view_->Items()->Items(index.row());
    if (!item) return false;
    if (role == Qt::EditRole && index.column() == 0) {
      view_->EditedByUser(index.row(), value.toString());
      return true;
    }
    if (role == Qt::CheckStateRole && index.column() == 0) {
      ListView* view = view_;
      const bool checked = value.toInt() == Qt::Checked;
      ListView::Dispatch([&] {
        if (view->CanChange(item, ctState)) item->SetChecked(checked);
      });
      return true;
    }
    return false;
  }

  void Reset() {
    // A batch that resets the views on its way is shown by a reset at its end as well.
    view_->Items()->NoteMoved();
    beginResetModel();
    shown_ = view_->Items()->Count();
    endResetModel();
  }
  int ShownRows() const { return shown_; }
  // The items at first .. first + count - 1 are new, the others may show other contents.
  void ShowInserted(int first, int count) {
    beginInsertRows({}, first, first + count - 1);
    shown_ += count;
    endInsertRows();
    if (shown_ > count) emit dataChanged(index(0, 0), index(shown_ - 1, columnCount({}) - 1));
  }
  void RowChanged(int row) { emit dataChanged(index(row, 0), index(row, columnCount({}) - 1)); }

 private:
  ListView* view_;
  int shown_ = 0;
};

// In-place editing asks OnEditing first; without RowSelect only the caption shows selected.
class ListViewDelegate : public QStyledItemDelegate {
 public:
  ListViewDelegate(ListView* view, QObject* parent) : QStyledItemDelegate(parent), view_(view) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    ListItem* item = view_->Items()->Items(index.row());
    bool allow = false;
    ListView::Dispatch([&] { allow = item && view_->CanEdit(item); });
    if (!allow) return nullptr;
    ++view_->editing_;
    return QStyledItemDelegate::createEditor(parent, option, index);
  }
  void destroyEditor(QWidget* editor, const QModelIndex& index) const override {
    view_->editing_ = std::max(0, view_->editing_ - 1);
    QStyledItemDelegate::destroyEditor(editor, index);
  }

 protected:
  void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override {
    QStyledItemDelegate::initStyleOption(option, index);
    if (view_->ViewStyle() == ListView::vsReport && !view_->RowSelect() && index.column() > 0) {
      option->state &= ~QStyle::State_Selected;
    }
  }

 private:
  ListView* view_;
};

// ---------------------------------------------------------------------------------------------
// ListView

ListView::ListView(Component* owner) : QWidget(nullptr), WinControl(this, owner) {
  columns_ = std::make_unique<ListColumns>(this);
  items_ = std::make_unique<ListItems>(this);
  model_ = std::make_unique<ListViewModel>(this);
  list_ = new QListView(this);
  tree_ = new QTreeView(this);
  list_->setModel(model_.get());
  tree_->setModel(model_.get());
  auto* selection = new QItemSelectionModel(model_.get(), this);
  list_->setSelectionModel(selection);
  tree_->setSelectionModel(selection);
  for (QAbstractItemView* view :
       {static_cast<QAbstractItemView*>(list_), static_cast<QAbstractItemView*>(tree_)}) {
    view->setItemDelegate(new ListViewDelegate(this, view));
    FeedEventsFrom(view);
    FeedEventsFrom(view->viewport());
  }
  tree_->setRootIsDecorated(false);
  tree_->setItemsExpandable(false);
  tree_->setUniformRowHeights(true);
  tree_->setSelectionBehavior(QAbstractItemView::SelectRows);
  tree_->header()->setStretchLastSection(false);
  tree_->header()->setSectionsMovable(false);
  FeedEventsFrom(tree_->header());
  list_->setSelectionBehavior(QAbstractItemView::SelectRows);

  columns_->SetOnChange([this] { ColumnsChanged(); });
  items_->SetOnChange([this] {
    items_->Reconcile();
    ItemsChanged();
  });
  QObject::connect(selection, &QItemSelectionModel::selectionChanged, this, [this] {
    if (!syncing_) SelectionChangedByUser();
  });
  QObject::connect(selection, &QItemSelectionModel::currentChanged, this,
                   [this](const QModelIndex& current) {
                     if (syncing_) return;
                     for (int i = 0; i < items_->Count(); ++i) {
                       items_->Items(i)->d_->focused = i == current.row();
                     }
                   });
  QObject::connect(tree_->header(), &QHeaderView::sectionClicked, this, [this](int section) {
    ListColumn* column = columns_->Items(section);
    if (column && column_click_) Dispatch([&] { ColClick(column); });
  });

  SetTabStop(true);
  SetBounds(0, 0, 250, 150);
  SetColor(clWindow);
  SetMultiSelect(false);
  SetReadOnly(false);
  SetColumnClick(true);
  ApplyHideSelection();
  ApplyViewStyle();
}

ListView::~ListView() {
  // The views report their events to this control and ask the model for items: they go while
  // both are still whole.
  dying_ = true;
  list_->setModel(nullptr);
  tree_->setModel(nullptr);
  delete list_;
  delete tree_;
}

QAbstractItemView* ListView::QtView() const {
  return view_style_ == vsReport ? static_cast<QAbstractItemView*>(tree_) : list_;
}

int ListView::RowOf(const ListItem* item) const {
  return items_->IndexOf(item);
}

void ListView::SetViewStyle(TViewStyle style) {
  view_style_ = style;
  ApplyViewStyle();
}

void ListView::ApplyViewStyle() {
  const bool report = view_style_ == vsReport;
  tree_->setVisible(report);
  list_->setVisible(!report);
  switch (view_style_) {
    case vsIcon:
      list_->setViewMode(QListView::IconMode);
      list_->setFlow(QListView::LeftToRight);
      list_->setWrapping(true);
      list_->setWordWrap(true);
      list_->setIconSize(large_images_ ? QSize(large_images_->Width(), large_images_->Height())
                                       : QSize(32, 32));
      list_->setGridSize(QSize(std::max(75, list_->iconSize().width() + 40),
                               list_->iconSize().height() + 2 * fontMetrics().height() + 8));
      break;
    case vsSmallIcon:
    case vsList:
      list_->setViewMode(QListView::ListMode);
      list_->setFlow(view_style_ == vsSmallIcon ? QListView::LeftToRight : QListView::TopToBottom);
      list_->setWrapping(true);
      list_->setWordWrap(false);
      list_->setGridSize(QSize());
      list_->setSpacing(1);
      list_->setIconSize(small_images_ ? QSize(small_images_->Width(), small_images_->Height())
                                       : QSize(16, 16));
      break;
    case vsReport:
      tree_->setIconSize(small_images_ ? QSize(small_images_->Width(), small_images_->Height())
                                       : QSize(16, 16));
      break;
  }
  list_->setMovement(QListView::Static);
  list_->setResizeMode(auto_arrange_ ? QListView::Adjust : QListView::Fixed);
  const bool hadFocus = list_->hasFocus() || tree_->hasFocus();
  setFocusProxy(QtView());
  if (hadFocus) QtView()->setFocus(Qt::OtherFocusReason);
  QtView()->setGeometry(rect());
  model_->Reset();
  ShowSelection();
  ApplyColumns();
}

void ListView::SetLargeImages(ImageList* images) {
  if (large_images_) QObject::disconnect(large_images_, nullptr, this, nullptr);
  large_images_ = images;
  if (images) QObject::connect(images, &ImageList::Changed, this, [this] { ApplyViewStyle(); });
  ApplyViewStyle();
}

void ListView::SetSmallImages(ImageList* images) {
  if (small_images_) QObject::disconnect(small_images_, nullptr, this, nullptr);
  small_images_ = images;
  if (images) QObject::connect(images, &ImageList::Changed, this, [this] { ApplyViewStyle(); });
  ApplyViewStyle();
}

void ListView::SetSortType(TSortType type) {
  sort_type_ = type;
  KeepSorted();
}

void ListView::SetMultiSelect(bool multi) {
  multi_select_ = multi;
  const auto mode =
      multi ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection;
  list_->setSelectionMode(mode);
  tree_->setSelectionMode(mode);
  if (!multi) {
    // One item at most stays selected.
    ListItem* keep = Selected();
    for (int i = 0; i < items_->Count(); ++i) {
      if (items_->Items(i) != keep && items_->Items(i)->Selected()) {
        SetItemSelected(items_->Items(i), false);
      }
    }
  }
}

void ListView::SetRowSelect(bool rowSelect) {
  row_select_ = rowSelect;
  tree_->setAllColumnsShowFocus(rowSelect);
  tree_->viewport()->update();
}

void ListView::SetReadOnly(bool readOnly) {
  read_only_ = readOnly;
  const auto triggers =
      readOnly ? QAbstractItemView::NoEditTriggers
               : QAbstractItemView::SelectedClicked | QAbstractItemView::EditKeyPressed;
  list_->setEditTriggers(triggers);
  tree_->setEditTriggers(triggers);
}

void ListView::SetShowColumnHeaders(bool show) {
  show_column_headers_ = show;
  tree_->setHeaderHidden(!show);
}

void ListView::SetColumnClick(bool click) {
  column_click_ = click;
  tree_->header()->setSectionsClickable(click);
}

void ListView::SetHideSelection(bool hide) {
  hide_selection_ = hide;
  ApplyHideSelection();
}

void ListView::ApplyHideSelection() {
  for (QAbstractItemView* view :
       {static_cast<QAbstractItemView*>(list_), static_cast<QAbstractItemView*>(tree_)}) {
    QPalette p = view->palette();
    const QPalette base = QApplication::palette();
    if (hide_selection_) {
      p.setColor(QPalette::Inactive, QPalette::Highlight,
                 p.color(QPalette::Active, QPalette::Base));
      p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 p.color(QPalette::Active, QPalette::Text));
    } else {
      p.setColor(QPalette::Inactive, QPalette::Highlight,
                 base.color(QPalette::Active, QPalette::Highlight));
      p.setColor(QPalette::Inactive, QPalette::HighlightedText,
                 base.color(QPalette::Active, QPalette::HighlightedText));
    }
    view->setPalette(p);
  }
}

void ListView::SetGridLines(bool lines) {
  grid_lines_ = lines;
  tree_->setStyleSheet(lines ? "QTreeView::item { border-right: 1px solid palette(mid); "
                               "border-bottom: 1px solid palette(mid); }"
                             : QString());
}

void ListView::SetCheckboxes(bool checkboxes) {
  checkboxes_ = checkboxes;
  model_->Reset();
  ShowSelection();
}

void ListView::SetAutoArrange(bool arrange) {
  auto_arrange_ = arrange;
  list_->setResizeMode(arrange ? QListView::Adjust : QListView::Fixed);
}

void ListView::Arrange() {
  list_->doItemsLayout();
}

void ListView::SetPopupMenu(toolkit::PopupMenu* menu) {
  popup_menu_ = menu;
  AttachPopupMenu(this, menu);
}

ListItem* ListView::Selected() const {
  ListItem* focused = ItemFocused();
  if (focused && focused->Selected()) return focused;
  return GetNextSelected(nullptr);
}

void ListView::SetSelected(ListItem* item) {
  for (int i = 0; i < items_->Count(); ++i) {
    ListItem* it = items_->Items(i);
    if (it != item && it->Selected()) SetItemSelected(it, false);
  }
  if (item) {
    SetItemSelected(item, true);
    SetItemFocused(item);
  }
}

int ListView::SelCount() const {
  int count = 0;
  for (int i = 0; i < items_->Count(); ++i) count += items_->Items(i)->Selected() ? 1 : 0;
  return count;
}

ListItem* ListView::GetNextSelected(ListItem* start) const {
  int from = start ? RowOf(start) + 1 : 0;
  for (int i = std::max(0, from); i < items_->Count(); ++i) {
    if (items_->Items(i)->Selected()) return items_->Items(i);
  }
  return nullptr;
}

ListItem* ListView::ItemFocused() const {
  for (int i = 0; i < items_->Count(); ++i) {
    if (items_->Items(i)->d_->focused) return items_->Items(i);
  }
  return nullptr;
}

void ListView::SetItemFocused(ListItem* item) {
  for (int i = 0; i < items_->Count(); ++i)
    items_->Items(i)->d_->focused = items_->Items(i) == item;
  ShowSelection();
}

ListItem* ListView::GetItemAt(int x, int y) const {
  QAbstractItemView* view = QtView();
  const QPoint at = view->viewport()->mapFrom(this, QPoint(x, y));
  const QModelIndex index = view->indexAt(at);
  return index.isValid() ? items_->Items(index.row()) : nullptr;
}

void ListView::ClearSelection() {
  for (int i = 0; i < items_->Count(); ++i) {
    if (items_->Items(i)->Selected()) SetItemSelected(items_->Items(i), false);
  }
}

void ListView::SelectAll() {
  if (!multi_select_) return;
  for (int i = 0; i < items_->Count(); ++i) SetItemSelected(items_->Items(i), true);
}

bool ListView::IsEditing() const {
  return editing_ > 0;
}

bool ListView::CanChange(ListItem* item, TItemChange change) {
  bool allow = true;
  FOnChanging(this, item, change, allow);
  return allow;
}

bool ListView::CanEdit(ListItem* item) {
  if (read_only_) return false;
  bool allow = true;
  FOnEditing(this, item, allow);
  return allow;
}

bool ListView::CustomSort(const std::function<int(ListItem*, ListItem*, int)>& compare, int data) {
  const int count = items_->Count();
  if (count < 2) return true;
  std::function<int(ListItem*, ListItem*, int)> order = compare;
  if (!order) {
    if (!FOnCompare.IsEmpty()) {
      order = [this](ListItem* a, ListItem* b, int d) {
        int result = 0;
        FOnCompare(this, a, b, d, result);
        return result;
      };
    } else {
      order = [](ListItem* a, ListItem* b, int) {
        return a->Caption() < b->Caption() ? -1 : (b->Caption() < a->Caption() ? 1 : 0);
      };
    }
  }
  std::vector<int> rows(static_cast<size_t>(count));
  std::iota(rows.begin(), rows.end(), 0);
  // The comparison sees the items as they stand; the contents move only once the order is known.
  std::stable_sort(rows.begin(), rows.end(), [&](int a, int b) {
    return order(items_->Items(a), items_->Items(b), data) < 0;
  });
  std::vector<ListItem*> sorted;
  sorted.reserve(static_cast<size_t>(count));
  for (int row : rows) sorted.push_back(items_->Items(row));
  items_->Reorder(std::move(sorted));
  model_->Reset();
  ShowSelection();
  return true;
}

void ListView::KeepSorted() {
  if (sorting_ || items_->Updating()) return;
  if (sort_type_ != stText && sort_type_ != stBoth) return;
  sorting_ = true;
  try {
    AlphaSort();
  } catch (...) {
    sorting_ = false;
    throw;
  }
  sorting_ = false;
}

void ListView::ItemsChanged() {
  if (items_->Updating()) return;
  // A batch that only inserted a run of items shows them as inserted rows; anything else shows
  // all items again.
  int first = 0;
  int count = 0;
  if (items_->TakeInsertedRun(first, count) && model_->ShownRows() + count == items_->Count()) {
    // The views move their selection and current row with the rows; the items' own are shown
    // next, so what the views report meanwhile is not the user's doing.
    syncing_ = true;
    try {
      model_->ShowInserted(first, count);
    } catch (...) {
      syncing_ = false;
      throw;
    }
    syncing_ = false;
  } else {
    model_->Reset();
  }
  KeepSorted();
  ShowSelection();
  ApplyColumns();
}

void ListView::ColumnsChanged() {
  model_->Reset();
  ShowSelection();
  ApplyColumns();
}

void ListView::ItemChanged(ListItem* item, TItemChange change) {
  if (items_->Updating()) return;
  const int row = RowOf(item);
  if (row < 0) return;
  model_->RowChanged(row);
  if (change == ctText) KeepSorted();
  if (!IsLoading()) Change(item, change);
}

void ListView::SetItemSelected(ListItem* item, bool selected) {
  if (item->d_->selected == selected) return;
  if (selected && !multi_select_) {
    for (int i = 0; i < items_->Count(); ++i) {
      ListItem* other = items_->Items(i);
      if (other != item && other->d_->selected) {
        other->d_->selected = false;
        if (!IsLoading()) {
          SelectItem(other, false);
          Change(other, ctState);
        }
      }
    }
  }
  item->d_->selected = selected;
  ShowSelection();
  if (!IsLoading()) {
    SelectItem(item, selected);
    Change(item, ctState);
  }
}

void ListView::SelectionChangedByUser() {
  QItemSelectionModel* selection = list_->selectionModel();
  std::vector<std::pair<ListItem*, bool>> changes;
  for (int i = 0; i < items_->Count(); ++i) {
    ListItem* item = items_->Items(i);
    const bool now = selection->isRowSelected(i, QModelIndex());
    if (now != item->d_->selected) {
      item->d_->selected = now;
      changes.emplace_back(item, now);
    }
  }
  // Deselections first, as the desktop control reports them.
  std::stable_sort(changes.begin(), changes.end(),
                   [](const auto& a, const auto& b) { return !a.second && b.second; });
  for (const auto& [item, now] : changes) {
    Dispatch([&, item = item, now = now] {
      SelectItem(item, now);
      Change(item, ctState);
    });
  }
}

void ListView::ShowSelection() {
  QItemSelectionModel* selection = list_->selectionModel();
  if (!selection) return;
  // Within a batch the view still shows the items as they were: the last EndUpdate shows the
  // selection once, with the items.
  if (items_->Updating()) return;
  syncing_ = true;
  QItemSelection wanted;
  int focused = -1;
  for (int i = 0; i < items_->Count(); ++i) {
    ListItem* item = items_->Items(i);
    if (item->d_->selected) {
      wanted.select(model_->index(i, 0), model_->index(i, model_->columnCount({}) - 1));
    }
    if (item->d_->focused) focused = i;
  }
  selection->select(wanted, QItemSelectionModel::ClearAndSelect);
  if (focused >= 0) {
    selection->setCurrentIndex(model_->index(focused, 0), QItemSelectionModel::NoUpdate);
  } else {
    selection->setCurrentIndex(QModelIndex(), QItemSelectionModel::NoUpdate);
  }
  syncing_ = false;
}

void ListView::ApplyColumns() {
  QHeaderView* header = tree_->header();
  QAbstractItemView* view = tree_;
  const int count = columns_->Count();
  tree_->setColumnHidden(0, count == 0);
  for (int i = 0; i < count && i < header->count(); ++i) {
    ListColumn* c = columns_->Items(i);
    int width = c->RequestedWidth();
    if (width == -1) {
      width = view->sizeHintForColumn(i);
    } else if (width == -2) {
      width = std::max(view->sizeHintForColumn(i), header->sectionSizeHint(i));
    }
    if (c->MinWidth() > 0) width = std::max(width, c->MinWidth());
    if (c->MaxWidth() > 0) width = std::min(width, c->MaxWidth());
    header->setSectionResizeMode(i,
                                 c->AutoSize() ? QHeaderView::Stretch : QHeaderView::Interactive);
    if (!c->AutoSize()) header->resizeSection(i, std::max(0, width));
  }
}

void ListView::EditedByUser(int row, const QString& text) {
  ListItem* item = items_->Items(row);
  if (!item) return;
  Dispatch([&] {
    std::string caption = FromScreen(text);
    Edit(item, caption);
    if (caption != item->Caption() && CanChange(item, ctText)) item->SetCaption(caption);
  });
}

void ListView::FontChanged() {
  WinControl::FontChanged();
  model_->Reset();
  ShowSelection();
  ApplyColumns();
}

void ListView::ColorChanged() {
  for (QAbstractItemView* view :
       {static_cast<QAbstractItemView*>(list_), static_cast<QAbstractItemView*>(tree_)}) {
    QPalette p = view->palette();
    p.setColor(QPalette::Base, ToQColor(Color()));
    view->setPalette(p);
  }
  ApplyHideSelection();
}

bool ListView::FilterEvent(QObject* watched, QEvent* event) {
  if (dying_) return false;
  // Moving between the inner widgets (the view and an in-place editor) stays in the control.
  if (event->type() == QEvent::FocusOut && QApplication::focusWidget() &&
      isAncestorOf(QApplication::focusWidget())) {
    return false;
  }
  return WinControl::FilterEvent(watched, event);
}

void ListView::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  list_->setGeometry(rect());
  tree_->setGeometry(rect());
}

TOOLKIT_REGISTER_CLASS(ListView, "TListView");

namespace {
[[maybe_unused]] const bool class_names = [] {
  RegisterClassName("TListItem", &ListItem::staticMetaObject);
  RegisterClassName("TListItems", &ListItems::staticMetaObject);
  RegisterClassName("TListColumn", &ListColumn::staticMetaObject);
  RegisterClassName("TListColumns", &ListColumns::staticMetaObject);
  return true;
}();
}  // namespace

}  // namespace toolkit

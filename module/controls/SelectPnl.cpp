#include "controls/SelectPnl.h"

#include <QAbstractItemModel>
#include <QAbstractItemView>
#include <QEvent>
#include <QMetaObject>
#include <QMouseEvent>
#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "controls/LookupRequest.h"
#include "support/GbkText.h"
#include "toolkit/Properties.h"

namespace {

// The handlers the panel puts into its sub-controls' event properties.
const auto kPublished = toolkit::Publish<TSelectPanel>()
                            .Handler("ChoiceBoxClick", &TSelectPanel::ChoiceBoxClick)
                            .Handler("LookupButtonClick", &TSelectPanel::LookupButtonClick)
                            .Handler("DeleteButtonClick", &TSelectPanel::DeleteButtonClick)
                            .Handler("ClearButtonClick", &TSelectPanel::ClearButtonClick)
                            .Handler("SubClick", &TSelectPanel::SubClick)
                            .Handler("SubDblClick", &TSelectPanel::SubDblClick)
                            .Handler("SubMouseDown", &TSelectPanel::SubMouseDown)
                            .Handler("SubMouseUp", &TSelectPanel::SubMouseUp)
                            .Handler("SubMouseMove", &TSelectPanel::SubMouseMove)
                            .Handler("SubKeyDown", &TSelectPanel::SubKeyDown)
                            .Handler("SubKeyUp", &TSelectPanel::SubKeyUp)
                            .Handler("SubKeyPress", &TSelectPanel::SubKeyPress);

void Bind(toolkit::Persistent* control, const char* event, TSelectPanel* panel,
          const char* handler) {
  toolkit::SetMethodPropOf(control, event, toolkit::FindMethod(panel, handler));
}

std::vector<std::string> CellsOf(const toolkit::ListItem& item) {
  std::vector<std::string> cells{item.Caption()};
  const auto& sub = item.SubItems()->Lines();
  cells.insert(cells.end(), sub.begin(), sub.end());
  return cells;
}

}  // namespace

// ---- TZelMaskEdit -----------------------------------------------------------------------------

void TZelMaskEdit::Change() {
  if (!suppressed_) toolkit::MaskEdit::Change();
}

// ---- TZelListView -----------------------------------------------------------------------------

namespace {

// Up to this many rows the view's items follow every change at once; longer lists take a batch
// of changes when it is over (or when they are read through the list).
constexpr int kEagerRows = 256;

// TextWidth("W") of a control, measured once per font: shaping a text costs more than showing
// one more row, and a short list sizes its columns after every row.
int LetterWidth(const toolkit::Control& control) {
  struct Measured {
    std::string name;
    int charset;
    int height;
    int style;
    int width;
  };
  static std::vector<Measured> measured;
  const toolkit::Font& font = *control.Font();
  const int style = font.Style().toInt();
  for (const Measured& m : measured) {
    if (m.name == font.Name() && m.charset == font.Charset() && m.height == font.Height() &&
        m.style == style) {
      return m.width;
    }
  }
  const int width = control.TextWidth("W");
  if (measured.size() >= 16) measured.clear();
  measured.push_back({font.Name(), font.Charset(), font.Height(), style, width});
  return width;
}

}  // namespace

TZelListView::TZelListView(toolkit::Component* owner) : toolkit::ListView(owner) {
  // Items added, removed or cleared by others reach the rows (a change of the columns resets
  // the model too; the items then are the ones left). A batch of items added by others reaches
  // the view as inserted rows.
  const auto written = [this] {
    if (!flushing_ && !sorting_) Dispatch([this] { ItemsWritten(); });
  };
  reset_connection_ =
      QObject::connect(QtView()->model(), &QAbstractItemModel::modelReset, this, written);
  QObject::connect(QtView()->model(), &QAbstractItemModel::rowsInserted, this, written);
}

TZelListView::~TZelListView() {
  QObject::disconnect(reset_connection_);
  QObject::disconnect(QtView()->model(), &QAbstractItemModel::rowsInserted, this, nullptr);
}

int TZelListView::RowCount() {
  return store_.Count();
}

const std::string& TZelListView::RowCaption(int index) {
  return store_.Row(index).Caption();
}

std::vector<std::string> TZelListView::RowSubItems(int index) {
  const auto& cells = store_.Row(index).Cells;
  return std::vector<std::string>(cells.begin() + 1, cells.end());
}

toolkit::ListItems* TZelListView::Items() {
  Flush();
  return toolkit::ListView::Items();
}

toolkit::ListColumns* TZelListView::Columns() {
  Flush();
  return toolkit::ListView::Columns();
}

void TZelListView::Changed() {
  if (store_.Count() <= kEagerRows) {
    Flush();
    return;
  }
  PostFlush();
}

void TZelListView::PostFlush() {
  if (flush_posted_) return;
  flush_posted_ = true;
  QMetaObject::invokeMethod(
      this, [this] { Dispatch([this] { Flush(); }); }, Qt::QueuedConnection);
}

bool TZelListView::event(QEvent* event) {
  // A list about to be shown shows its rows.
  if (event->type() == QEvent::Show || event->type() == QEvent::Polish) Flush();
  return toolkit::ListView::event(event);
}

bool TZelListView::ItemsAsLeft() const {
  const toolkit::ListItems* items = toolkit::ListView::Items();
  if (items->Count() != static_cast<int>(shown_items_.size())) return false;
  for (int i = 0; i < items->Count(); ++i) {
    if (items->Items(i) != shown_items_[static_cast<size_t>(i)]) return false;
  }
  return true;
}

void TZelListView::RememberItems() {
  const toolkit::ListItems* items = toolkit::ListView::Items();
  shown_items_.resize(static_cast<size_t>(items->Count()));
  for (int i = 0; i < items->Count(); ++i) shown_items_[static_cast<size_t>(i)] = items->Items(i);
}

void TZelListView::ItemsWritten() {
  if (ItemsAsLeft()) return;
  // Items written directly (a window restoring saved rows): they are the rows now, whatever
  // changes had not reached them yet.
  toolkit::ListItems* items = toolkit::ListView::Items();
  std::vector<std::unique_ptr<TZelRow>> rows;
  rows.reserve(static_cast<size_t>(items->Count()));
  row_of_.clear();
  for (int i = 0; i < items->Count(); ++i) {
    toolkit::ListItem* item = items->Items(i);
    auto row = std::make_unique<TZelRow>();
    row->Cells = CellsOf(*item);
    row->Selected = item->Selected();
    row->Focused = item->Focused();
    row_of_[item] = row.get();
    rows.push_back(std::move(row));
  }
  store_.AssignRows(std::move(rows));
  RememberItems();
  // Not at once: the writer may still be filling the item it has just added.
  PostFlush();
}

bool TZelListView::AddRow(const std::vector<std::string>& values) {
  if (values.empty()) return false;
  bool added = false;
  try {
    toolkit::ListColumns* columns = toolkit::ListView::Columns();
    while (columns->Count() < static_cast<int>(values.size())) {
      toolkit::ListColumn* column = columns->Add();
      column->SetCaption("Data" + std::to_string(columns->Count()));
    }
    store_.Add(values);
    store_.PadSubItems();
    if (check_duplicate_ != cd_None) store_.RemoveDuplicates(check_duplicate_);
    if (auto_size_) autosize_pending_ = true;
    added = true;
  } catch (const std::exception&) {
    added = false;
  }
  Changed();
  return added;
}

void TZelListView::ClearRows() {
  store_.Clear();
  Changed();
}

void TZelListView::RemoveDuplicates() {
  if (check_duplicate_ == cd_None) return;
  store_.RemoveDuplicates(check_duplicate_);
  Changed();
}

void TZelListView::SetKeepSorted(bool on) {
  if (on == store_.KeepSorted()) return;
  ApplyStoreSort([this, on] { store_.SetKeepSorted(on); });
}

void TZelListView::SortBy(int column, bool ascending) {
  ApplyStoreSort([this, column, ascending] {
    store_.SetSortOrder(column, ascending);
    if (!store_.KeepSorted()) store_.Sort();
  });
}

void TZelListView::ApplyStoreSort(const std::function<void()>& sortStore) {
  Flush();
  sortStore();
  if (!store_.HasChanges()) return;
  // The view's items move with their selection the way the store's rows move: both sorts are
  // stable and compare the same rows in the same order.
  sorting_ = true;
  try {
    CustomSort([this](toolkit::ListItem* a, toolkit::ListItem* b, int) {
      const auto ra = row_of_.find(a);
      const auto rb = row_of_.find(b);
      if (ra == row_of_.end() || rb == row_of_.end()) return 0;
      return store_.Compare(*ra->second, *rb->second);
    });
  } catch (...) {
    sorting_ = false;
    throw;
  }
  sorting_ = false;
  store_.TakeChanges();
  RememberItems();
  // Rows the sort could not place (the two orders differ) are written again.
  for (int i = 0; i < store_.Count(); ++i) {
    const auto it = row_of_.find(shown_items_[static_cast<size_t>(i)]);
    if (it == row_of_.end() || it->second != &store_.Row(i)) {
      refill_ = true;
      Changed();
      break;
    }
  }
}

void TZelListView::DeleteSelected() {
  Flush();
  toolkit::ListItems* items = toolkit::ListView::Items();
  for (int i = items->Count() - 1; i >= 0; --i) {
    if (items->Items(i)->Selected()) store_.Remove(i);
  }
  Changed();
}

void TZelListView::AssignRows(const toolkit::ListItems& items) {
  std::vector<std::vector<std::string>> rows;
  rows.reserve(static_cast<size_t>(items.Count()));
  for (int i = 0; i < items.Count(); ++i) rows.push_back(CellsOf(*items.Items(i)));
  Flush();
  store_.Assign(std::move(rows));
  if (auto_size_) autosize_pending_ = true;
  Changed();
}

void TZelListView::FillItem(toolkit::ListItem* item, const TZelRow& row) {
  item->SetCaption(row.Caption());
  const std::vector<std::string> sub(row.Cells.begin() + 1, row.Cells.end());
  if (item->SubItems()->Lines() != sub) item->SubItems()->Assign(sub);
}

void TZelListView::Flush() {
  flush_posted_ = false;
  if (flushing_) return;
  if (!store_.HasChanges() && !autosize_pending_ && !refill_) return;
  const bool refill = refill_;
  refill_ = false;
  flushing_ = true;
  // Rewriting the items is not the user's doing: no selection or change events meanwhile.
  const bool wasLoading = IsLoading();
  if (!wasLoading) SetLoading(true);
  toolkit::ListItems* items = toolkit::ListView::Items();
  TZelRowChanges changes = store_.TakeChanges();
  // Items as the last flush (or sort) left them each show the row at their place; after the
  // steps are replayed they still do, so that only the items added for new rows need filling.
  // Otherwise every item is checked against the row at its place.
  bool asLeft = !changes.Reset && !refill && changes.Changed.empty() && ItemsAsLeft();
  // Per place, with asLeft: whether the item there was added by this flush.
  std::vector<char> added;
  if (asLeft) added.assign(static_cast<size_t>(items->Count()), 0);
  const std::unordered_set<const TZelRow*> changed(changes.Changed.begin(), changes.Changed.end());
  const auto drop = [&](int index) {
    toolkit::ListItem* item = items->Items(index);
    // The row keeps the selection and focus as the view holds them.
    if (const auto it = row_of_.find(item); it != row_of_.end()) {
      it->second->Selected = item->Selected();
      it->second->Focused = item->Focused();
      row_of_.erase(it);
    }
    items->Delete(index);
    if (asLeft) added.erase(added.begin() + index);
  };
  items->BeginUpdate();
  try {
    if (store_.Count() == 0 && items->Count() > 0) {
      row_of_.clear();
      items->Clear();
      added.clear();
    } else if (!changes.Reset) {
      // The items stand in the rows' order of the last time: replay the steps.
      for (const TZelRowChanges::Step& step : changes.Steps) {
        if (step.Inserted) {
          const int at = std::clamp(step.Index, 0, items->Count());
          items->Insert(at);
          if (asLeft) added.insert(added.begin() + at, 1);
        } else {
          drop(step.Index);
        }
      }
    }
    if (items->Count() != store_.Count()) asLeft = false;
    if (!asLeft) {
      // Selection and focus as the view holds them, by row.
      for (int i = 0; i < items->Count(); ++i) {
        toolkit::ListItem* item = items->Items(i);
        if (const auto it = row_of_.find(item); it != row_of_.end()) {
          it->second->Selected = item->Selected();
          it->second->Focused = item->Focused();
        }
      }
    }
    while (items->Count() > store_.Count()) drop(items->Count() - 1);
    while (items->Count() < store_.Count()) items->Add();
    toolkit::ListItem* focused = nullptr;
    int focusedAt = -1;
    for (int i = 0; i < store_.Count(); ++i) {
      // An item that shows its row already has the selection and focus the view holds.
      if (asLeft && !added[static_cast<size_t>(i)]) continue;
      toolkit::ListItem* item = items->Items(i);
      TZelRow* row = &store_.Row(i);
      const auto it = asLeft ? row_of_.end() : row_of_.find(item);
      if (it == row_of_.end() || it->second != row || (!changed.empty() && changed.count(row))) {
        FillItem(item, *row);
        row_of_[item] = row;
      }
      if (item->Selected() != row->Selected) item->SetSelected(row->Selected);
      if (row->Focused) {
        focused = item;
        focusedAt = i;
      }
    }
    // The last row that has the focus takes it; an item left as it was, after the last such row
    // among those filled, may be that row.
    if (asLeft && focused) {
      for (int i = focusedAt + 1; i < items->Count(); ++i) {
        if (!added[static_cast<size_t>(i)] && items->Items(i)->Focused()) focused = items->Items(i);
      }
    }
    if (focused && !focused->Focused()) focused->SetFocused(true);
  } catch (...) {
    items->EndUpdate();
    RememberItems();
    // What the items show is no longer known: the next flush checks every one.
    refill_ = true;
    if (!wasLoading) SetLoading(false);
    flushing_ = false;
    throw;
  }
  items->EndUpdate();
  RememberItems();
  if (autosize_pending_) ApplyAutoSize();
  if (!wasLoading) SetLoading(false);
  flushing_ = false;
}

void TZelListView::ApplyAutoSize() {
  autosize_pending_ = false;
  const int w = LetterWidth(*this);
  toolkit::ListColumns* columns = toolkit::ListView::Columns();
  for (int k = 0; k < columns->Count(); ++k) {
    toolkit::ListColumn* column = columns->Items(k);
    const int length = std::max(static_cast<int>(column->Caption().size()), store_.MaxLength(k));
    if (column->RequestedWidth() != w * length) column->SetWidth(w * length);
  }
}

void TZelListView::ColClick(toolkit::ListColumn* column) {
  const int index = column->Index();
  if (index == SortColumn()) {
    SortBy(index, !SortAscending());
  } else {
    SortBy(index, true);
  }
  toolkit::ListView::ColClick(column);
}

void TZelListView::Change(toolkit::ListItem* item, toolkit::TItemChange change) {
  toolkit::ListView::Change(item, change);
  if (change == toolkit::ctText && !flushing_ && !sorting_) {
    // A caption or sub-item written into an item: the row takes it (and keeps its order).
    const auto it = row_of_.find(item);
    const int at = it == row_of_.end() ? -1 : store_.IndexOf(it->second);
    if (at >= 0) {
      store_.SetCells(at, CellsOf(*item));
      PostFlush();
    }
  }
  if (OnItemChange) OnItemChange(item, change);
}

bool TZelListView::CanChange(toolkit::ListItem* item, toolkit::TItemChange change) {
  bool allow = toolkit::ListView::CanChange(item, change);
  if (allow && OnItemChanging) allow = OnItemChanging(item, change);
  return allow;
}

void TZelListView::SelectItem(toolkit::ListItem* item, bool selected) {
  toolkit::ListView::SelectItem(item, selected);
  if (OnItemSelect) OnItemSelect(item, selected);
}

bool TZelListView::FilterEvent(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonPress &&
      static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
    // The focus first: a press goes on only when the list then has it.
    bool focused = false;
    Dispatch([&] {
      if (CanFocus()) SetFocus();
      focused = Focused();
    });
    if (!focused) return true;
  }
  return toolkit::ListView::FilterEvent(watched, event);
}

// ---- TSelectPanel -----------------------------------------------------------------------------

TSelectPanel::TSelectPanel(toolkit::Component* owner)
    : toolkit::GroupBox(owner),
      begin_words_(std::make_unique<toolkit::Strings>()),
      final_words_(std::make_unique<toolkit::Strings>()),
      child_hints_(std::make_unique<toolkit::Strings>()),
      column_captions_(std::make_unique<toolkit::Strings>()) {
  hint_word_ = Gbk("区间选择");
  begin_words_->Assign(std::vector<std::string>{Gbk("起"), Gbk("起")});
  final_words_->Assign(std::vector<std::string>{Gbk("止"), Gbk("止")});
  child_hints_->Assign(std::vector<std::string>{
      Gbk("用户自定输入方式"), Gbk("区间选择-起始信息"), Gbk("区间选择-起始信息开窗"),
      Gbk("区间选择-截止信息"), Gbk("区间选择-截止信息开窗"), Gbk("多选-己选择的信息"),
      Gbk("多选-信息开窗"), Gbk("多选-删除一笔信息"), Gbk("多选-删除己选信息")});

  laying_out_ = true;
  choice_ = new TZelCheckBox(this);
  choice_->SetName("ChoiceBox");
  choice_->SetParent(this);
  choice_->SetBounds(16, 17, choice_->Width(), choice_->Height());
  choice_->SetCaption(hint_word_);

  const auto pane = [this](const char* name) {
    auto* p = new toolkit::Panel(this);
    p->SetName(name);
    p->SetParent(this);
    p->SetBevelInner(toolkit::Panel::bvNone);
    p->SetBevelOuter(toolkit::Panel::bvNone);
    p->SetCaption(" ");
    return p;
  };
  const auto label = [this](const char* name, toolkit::WinControl* parent,
                            const std::string& caption) {
    auto* l = new toolkit::Label(this);
    l->SetName(name);
    l->SetParent(parent);
    l->SetAutoSize(true);
    l->SetCaption(caption);
    return l;
  };
  const auto edit = [this](const char* name, toolkit::WinControl* parent) {
    auto* e = new TZelMaskEdit(this);
    e->SetName(name);
    e->SetParent(parent);
    e->SetBounds(0, 0, e->Width(), 24);
    return e;
  };
  const auto lookup = [this](const char* name, toolkit::WinControl* parent) {
    auto* b = new TF2Button(this);
    b->SetName(name);
    b->SetParent(parent);
    b->SetFlat(true);
    b->SetBounds(0, 0, 23, 23);
    b->SetGlyphIndex(glyph_index_);
    b->SetNumGlyphs(1);
    Bind(b, "OnClick", this, "LookupButtonClick");
    return b;
  };

  range_pane_ = pane("RangePane");
  begin_label_ = label("BeginLabel", range_pane_, begin_words_->At(1));
  ed_begin_ = edit("edBegin", range_pane_);
  begin_button_ = lookup("BeginButton", range_pane_);
  final_label_ = label("FinalLabel", range_pane_, final_words_->At(1));
  ed_final_ = edit("edFinal", range_pane_);
  ed_final_->SetBounds(0, 0, ed_final_->Width(), ed_begin_->Height());
  final_button_ = lookup("FinalButton", range_pane_);

  list_pane_ = pane("ListPane");
  list_ = new TZelListView(this);
  list_->SetName("ListBox");
  list_->SetParent(list_pane_);
  list_->SetViewStyle(toolkit::ListView::vsReport);
  list_->SetMultiSelect(true);
  list_->SetRowSelect(true);
  list_->SetReadOnly(true);
  list_->SetShowColumnHeaders(false);
  list_->SetHideSelection(false);
  list_->SetSortType(toolkit::ListView::stNone);
  list_->SetCursor(toolkit::crHandPoint);
  list_->OnItemSelect = [this](toolkit::ListItem* item, bool selected) {
    FOnItemSelect(list_, item, item ? item->Index() : -1, selected);
  };
  list_->OnItemChange = [this](toolkit::ListItem* item, toolkit::TItemChange change) {
    FOnItemChange(list_, item, change);
  };
  list_->OnItemChanging = [this](toolkit::ListItem* item, toolkit::TItemChange change) {
    bool allow = true;
    FOnItemChanging(list_, item, change, allow);
    return allow;
  };
  list_button_ = lookup("ListButton", list_pane_);
  const auto speed = [this](const char* name, int picture, int images, const char* handler) {
    auto* b = new TGSpeedButton(this);
    b->SetName(name);
    b->SetParent(list_pane_);
    b->SetFlat(true);
    b->SetBounds(0, 0, 23, 23);
    b->SetGlyphIndex(picture);
    b->SetNumGlyphs(images);
    Bind(b, "OnClick", this, handler);
    return b;
  };
  delete_button_ = speed("DeleteButton", 47, 1, "DeleteButtonClick");
  clear_button_ = speed("ClearButton", 4, 2, "ClearButtonClick");

  // The sub-controls' events are the panel's.
  Bind(choice_, "OnClick", this, "ChoiceBoxClick");
  for (toolkit::Control* c : std::initializer_list<toolkit::Control*>{
           range_pane_, list_pane_, begin_label_, final_label_, ed_begin_, ed_final_, list_}) {
    Bind(c, "OnClick", this, "SubClick");
    Bind(c, "OnDblClick", this, "SubDblClick");
  }
  for (toolkit::Control* c :
       std::initializer_list<toolkit::Control*>{choice_, range_pane_, list_pane_, begin_label_,
                                                final_label_, ed_begin_, ed_final_, list_}) {
    Bind(c, "OnMouseDown", this, "SubMouseDown");
    Bind(c, "OnMouseUp", this, "SubMouseUp");
    Bind(c, "OnMouseMove", this, "SubMouseMove");
  }
  for (toolkit::Control* c :
       std::initializer_list<toolkit::Control*>{choice_, ed_begin_, ed_final_, list_}) {
    Bind(c, "OnKeyDown", this, "SubKeyDown");
    Bind(c, "OnKeyUp", this, "SubKeyUp");
    Bind(c, "OnKeyPress", this, "SubKeyPress");
  }

  begin_words_->SetOnChange([this] { WordsChanged(begin_words_.get(), begin_label_); });
  final_words_->SetOnChange([this] { WordsChanged(final_words_.get(), final_label_); });
  child_hints_->SetOnChange([this] { HintsChanged(); });
  column_captions_->SetOnChange([this] { ColumnCaptionsChanged(); });
  HintsChanged();
  SetShowHints(ShowHint());

  laying_out_ = false;
  toolkit::GroupBox::SetBounds(0, 0, 353, 45);
  UpdateVisibility(style_);
  Layout();
}

TSelectPanel::~TSelectPanel() {
  for (toolkit::Strings* s :
       {begin_words_.get(), final_words_.get(), child_hints_.get(), column_captions_.get()}) {
    s->SetOnChange(nullptr);
  }
  if (list_) {
    list_->OnItemSelect = nullptr;
    list_->OnItemChange = nullptr;
    list_->OnItemChanging = nullptr;
  }
}

bool TSelectPanel::RangeActive() const {
  return style_ == sp_Range || (style_ == sp_UserChoice && choice_->Checked());
}

// ---- Style, choice and size ----

void TSelectPanel::SetStyle(TSelectStyle style) {
  TSelectStyle newStyle = style;
  bool accept = true;
  FOnStyleChanging(this, style_, newStyle, accept);
  if (!accept) return;
  // The choice box shows what UserChoice says, so that what is shown and what is saved agree.
  if (newStyle == sp_UserChoice) choice_->SetChecked(user_choice_);
  UpdateVisibility(newStyle);
  if (newStyle != style_ && (newStyle == sp_Range || style_ == sp_Range) && !use_vertical_ &&
      !IsLoading()) {
    ExchangeSize();
  }
  LayoutFor(newStyle);
  FOnStyleChange(this, style_, newStyle);
  style_ = newStyle;
}

void TSelectPanel::UpdateVisibility(TSelectStyle style) {
  const bool choice = style == sp_UserChoice;
  choice_->SetVisible(choice);
  const bool range = style == sp_Range || (choice && choice_->Checked());
  range_pane_->SetVisible(range);
  list_pane_->SetVisible(!range);
}

void TSelectPanel::ExchangeSize() {
  const int width = Width();
  const int height = Height();
  laying_out_ = true;
  toolkit::GroupBox::SetBounds(Left(), Top(), other_width_, other_height_);
  laying_out_ = false;
  other_width_ = width;
  other_height_ = height;
}

void TSelectPanel::SetUseVertical(bool on) {
  if (on == use_vertical_ || style_ != sp_Range) return;
  use_vertical_ = on;
  if (!IsLoading()) ExchangeSize();
  Layout();
}

void TSelectPanel::SetUserChoice(bool userChoice) {
  if (IsLoading()) {
    // The style may come later in the description; Loaded applies the choice.
    user_choice_ = userChoice;
    return;
  }
  if (style_ != sp_UserChoice) return;
  choice_->SetChecked(userChoice);
  ChoiceToggled();
}

void TSelectPanel::ChoiceBoxClick(toolkit::Component*) {
  if (style_ == sp_UserChoice) ChoiceToggled();
  FOnClick(this);
}

void TSelectPanel::ChoiceToggled() {
  user_choice_ = choice_->Checked();
  ArrangeUserChoice();
  UpdateVisibility(style_);
  FOnTypeClick(this);
}

void TSelectPanel::Loaded() {
  toolkit::GroupBox::Loaded();
  if (style_ == sp_UserChoice) choice_->SetChecked(user_choice_);
  UpdateVisibility(style_);
  Layout();
}

void TSelectPanel::SetBounds(int left, int top, int width, int height) {
  toolkit::GroupBox::SetBounds(left, top, width, height);
  Layout();
}

void TSelectPanel::FontChanged() {
  toolkit::GroupBox::FontChanged();
  Layout();
}

void TSelectPanel::TextChanged() {
  toolkit::GroupBox::TextChanged();
  Layout();
}

// ---- Layout ----

void TSelectPanel::LayoutFor(TSelectStyle style) {
  if (laying_out_ || !choice_) return;
  laying_out_ = true;
  try {
    SizeChoiceBox();
    switch (style) {
      case sp_Range:
        choice_->SetVisible(false);
        ArrangeRange();
        if (use_vertical_) {
          RangeTwoLines();
        } else {
          RangeOneLine();
        }
        break;
      case sp_Discrete:
        choice_->SetVisible(false);
        ArrangeList();
        ListLayout();
        break;
      case sp_UserChoice:
        choice_->SetVisible(true);
        ArrangeUserChoice();
        RangeTwoLines();
        ListLayout();
        break;
    }
  } catch (...) {
    laying_out_ = false;
    throw;
  }
  laying_out_ = false;
}

void TSelectPanel::SizeChoiceBox() {
  choice_->SetBounds(choice_->Left(), choice_->Top(), choice_->TextWidth(hint_word_) + 24,
                     choice_->TextHeight(hint_word_) + 2);
}

void TSelectPanel::ArrangeRange() {
  const int t = TextHeight(Caption());
  choice_->SendToBack();
  range_pane_->BringToFront();
  list_pane_->SendToBack();
  const int top = t + 3;
  range_pane_->SetBounds(2, top, Width() - 5, Height() - top - 3);
  list_pane_->SetBounds(2, top, Width() - 5, Height() - top - 3);
}

void TSelectPanel::ArrangeList() {
  const int t = TextHeight(Caption());
  choice_->SendToBack();
  range_pane_->SendToBack();
  list_pane_->BringToFront();
  const int top = t + 3;
  list_pane_->SetBounds(2, top, Width() - 5, Height() - top - 3);
  range_pane_->SetBounds(2, top, Width() - 5, Height() - top - 3);
}

void TSelectPanel::ArrangeUserChoice() {
  const int t = TextHeight(Caption());
  choice_->BringToFront();
  choice_->SetBounds(16, t + 1, choice_->Width(), choice_->Height());
  toolkit::Panel* chosen = user_choice_ ? range_pane_ : list_pane_;
  toolkit::Panel* other = user_choice_ ? list_pane_ : range_pane_;
  chosen->BringToFront();
  other->SendToBack();
  const int top = choice_->Top() + choice_->TextHeight(choice_->Caption()) + 2;
  chosen->SetBounds(2, top, Width() - 4, Height() - top - 2);
  other->SetBounds(2, top, Width() - 4, Height() - top - 2);
}

bool TSelectPanel::WordAt(const toolkit::Strings* words, int index, std::string& word) {
  if (words->Count() == 0) return false;
  word = words->At(std::min(index, words->Count() - 1));
  return true;
}

void TSelectPanel::RangeOneLine() {
  const int w = range_pane_->Width();
  const int h = range_pane_->Height();
  const bool buttons = can_open_win_;
  std::string word;
  if (WordAt(begin_words_.get(), 0, word)) begin_label_->SetCaption(word);
  toolkit::Label* bl = begin_label_;
  bl->SetBounds(2, (h - ed_begin_->Height()) / 2, bl->Width(), bl->Height());
  const int endLabelWidth = final_label_->Width();
  const int width = buttons ? (w - bl->Left() - bl->Width() - begin_button_->Width() -
                               endLabelWidth - final_button_->Width() - 8) /
                                      2 -
                                  1
                            : (w - bl->Left() - bl->Width() - endLabelWidth - 4) / 2 - 1;
  ed_begin_->SetBounds(bl->Left() + bl->Width() + 1, bl->Top(), width, ed_begin_->Height());
  if (buttons) {
    begin_button_->SetBounds(ed_begin_->Left() + ed_begin_->Width() + 2, bl->Top(),
                             begin_button_->Width(), begin_button_->Height());
  }
  if (WordAt(final_words_.get(), 0, word)) final_label_->SetCaption(word);
  const int endLeft = buttons ? begin_button_->Left() + begin_button_->Width() + 2
                              : ed_begin_->Left() + ed_begin_->Width() + 4;
  final_label_->SetBounds(endLeft, bl->Top(), final_label_->Width(), final_label_->Height());
  ed_final_->SetBounds(final_label_->Left() + final_label_->Width() + 2, bl->Top(),
                       ed_begin_->Width(), ed_final_->Height());
  if (buttons) {
    final_button_->SetBounds(ed_final_->Left() + ed_final_->Width() + 2, bl->Top(),
                             final_button_->Width(), final_button_->Height());
  }
}

void TSelectPanel::RangeTwoLines() {
  const int w = range_pane_->Width();
  const int h = range_pane_->Height();
  const bool buttons = can_open_win_;
  std::string word;
  if (WordAt(begin_words_.get(), 1, word)) begin_label_->SetCaption(word);
  toolkit::Label* bl = begin_label_;
  const int g = (h - ed_begin_->Height() - ed_final_->Height()) / 3;
  bl->SetBounds(2, g, bl->Width(), bl->Height());
  const int width = buttons ? w - bl->Left() - bl->Width() - begin_button_->Width() - 4
                            : w - bl->Left() - bl->Width() - 2;
  ed_begin_->SetBounds(bl->Left() + bl->Width() + 2, bl->Top(), width, ed_begin_->Height());
  if (buttons) {
    begin_button_->SetBounds(ed_begin_->Left() + ed_begin_->Width() + 1, bl->Top(),
                             begin_button_->Width(), begin_button_->Height());
  }
  if (WordAt(final_words_.get(), 1, word)) final_label_->SetCaption(word);
  final_label_->SetBounds(bl->Left(), g + bl->Top() + ed_begin_->Height(), final_label_->Width(),
                          final_label_->Height());
  ed_final_->SetBounds(ed_begin_->Left(), final_label_->Top(), ed_begin_->Width(),
                       ed_final_->Height());
  if (buttons) {
    final_button_->SetBounds(begin_button_->Left(), final_label_->Top(), final_button_->Width(),
                             final_button_->Height());
  }
}

void TSelectPanel::ListLayout() {
  const int w = list_pane_->Width();
  const int h = list_pane_->Height();
  list_->SetBounds(list_->Left(), 0, w - list_button_->Width() - 3, h);
  list_button_->SetBounds(list_->Width() + 2, 0, list_button_->Width(), list_button_->Height());
  delete_button_->SetBounds(list_button_->Left(), list_button_->Top() + list_button_->Height(),
                            delete_button_->Width(), delete_button_->Height());
  clear_button_->SetBounds(list_button_->Left(), delete_button_->Top() + delete_button_->Height(),
                           clear_button_->Width(), clear_button_->Height());
}

// ---- Texts and pictures ----

void TSelectPanel::SetHintWord(std::string word) {
  choice_->SetCaption(word);
  hint_word_ = std::move(word);
  SizeChoiceBox();
}

void TSelectPanel::SetBeginWords(toolkit::Strings* words) {
  std::vector<std::string> lines = words ? words->Lines() : std::vector<std::string>();
  if (lines.size() > 2) lines.resize(2);
  begin_words_->Assign(lines);
}

void TSelectPanel::SetFinalWords(toolkit::Strings* words) {
  std::vector<std::string> lines = words ? words->Lines() : std::vector<std::string>();
  if (lines.size() > 2) lines.resize(2);
  final_words_->Assign(lines);
}

void TSelectPanel::WordsChanged(toolkit::Strings* words, toolkit::Label* label) {
  if (words->Count() == 0) return;
  if (words->Count() == 1) {
    label->SetCaption(words->At(0));
  } else {
    label->SetCaption(words->At(style_ == sp_UserChoice ? 1 : 0));
  }
  Layout();
}

void TSelectPanel::SetEditMask(std::string mask) {
  edit_mask_ = mask;
  rule_.EditMask = mask;
  const std::string kept = ed_begin_->Text();
  ed_begin_->SetChangeSuppressed(true);
  try {
    ed_begin_->SetText(std::string());
    ed_begin_->SetEditMask(mask);
    ed_final_->SetEditMask(mask);
    rule_.BlankMaskText = ed_begin_->Text();
    ed_begin_->SetText(kept);
  } catch (...) {
    ed_begin_->SetChangeSuppressed(false);
    throw;
  }
  ed_begin_->SetChangeSuppressed(false);
}

void TSelectPanel::SetCanOpenWin(bool on) {
  if (on == can_open_win_) return;
  can_open_win_ = on;
  for (TF2Button* b : {begin_button_, final_button_, list_button_}) b->SetVisible(on);
  Layout();
}

void TSelectPanel::SetGlyphIndex(int index) {
  if (index == glyph_index_) return;
  begin_button_->SetGlyphIndex(index);
  if (begin_button_->GlyphLoadFailed()) {
    for (TF2Button* b : {begin_button_, final_button_, list_button_}) b->SetGlyphIndex(0);
    return;
  }
  final_button_->SetGlyphIndex(begin_button_->GlyphIndex());
  list_button_->SetGlyphIndex(begin_button_->GlyphIndex());
  glyph_index_ = index;
}

void TSelectPanel::SetChildHints(toolkit::Strings* hints) {
  if (hints && hints != child_hints_.get()) child_hints_->Assign(*hints);
}

void TSelectPanel::SetShowHints(bool show) {
  SetShowHint(show);
  for (toolkit::Control* c : std::initializer_list<toolkit::Control*>{
           choice_, range_pane_, begin_label_, ed_begin_, begin_button_, final_label_, ed_final_,
           final_button_, list_pane_, list_, list_button_, delete_button_, clear_button_}) {
    c->SetShowHint(show);
  }
}

void TSelectPanel::HintsChanged() {
  toolkit::Control* const subs[] = {choice_,      ed_begin_,      begin_button_,
                                    ed_final_,    final_button_,  list_,
                                    list_button_, delete_button_, clear_button_};
  for (int i = 0; i < 9 && i < child_hints_->Count(); ++i) subs[i]->SetHint(child_hints_->At(i));
}

// ---- The list ----

void TSelectPanel::SetCheckDuplicate(TCheckDuplicate mode) {
  if (mode != cd_None) SetSortListBox(true);
  list_->SetCheckDuplicate(mode);
  if (!RangeActive()) list_->RemoveDuplicates();
}

void TSelectPanel::SetSortListBox(bool on) {
  sort_list_box_ = on;
  list_->SetKeepSorted(on);
}

void TSelectPanel::SetColumns(toolkit::ListColumns* columns) {
  toolkit::ListColumns* own = list_->Columns();
  if (!columns || columns == own) return;
  std::vector<toolkit::ListColumn*> from;
  for (int i = 0; i < columns->Count(); ++i) from.push_back(columns->Items(i));
  own->Clear();
  for (toolkit::ListColumn* c : from) {
    toolkit::ListColumn* copy = own->Add();
    copy->SetCaption(c->Caption());
    copy->SetWidth(c->RequestedWidth());
    copy->SetAlignment(c->Alignment());
    copy->SetAutoSize(c->AutoSize());
    copy->SetMinWidth(c->MinWidth());
    copy->SetMaxWidth(c->MaxWidth());
    copy->SetTag(c->Tag());
  }
}

toolkit::Strings* TSelectPanel::ColumnCaptions() {
  std::vector<std::string> captions;
  toolkit::ListColumns* columns = list_->Columns();
  for (int i = 0; i < columns->Count(); ++i) captions.push_back(columns->Items(i)->Caption());
  column_captions_updating_ = true;
  column_captions_->Assign(captions);
  column_captions_updating_ = false;
  return column_captions_.get();
}

void TSelectPanel::SetColumnCaptions(toolkit::Strings* captions) {
  const std::vector<std::string> lines = captions ? captions->Lines() : std::vector<std::string>();
  column_captions_updating_ = true;
  column_captions_->Assign(lines);
  column_captions_updating_ = false;
  ColumnCaptionsChanged();
}

void TSelectPanel::ColumnCaptionsChanged() {
  if (column_captions_updating_) return;
  toolkit::ListColumns* columns = list_->Columns();
  columns->Clear();
  for (const std::string& caption : column_captions_->Lines()) {
    toolkit::ListColumn* column = columns->Add();
    column->SetCaption(caption);
    column->SetWidth(-1);
  }
}

void TSelectPanel::SetItems(toolkit::ListItems* items) {
  if (items) list_->AssignRows(*items);
}

// ---- Buttons ----

void TSelectPanel::LookupButtonClick(toolkit::Component* sender) {
  toolkit::WinControl* target =
      sender == begin_button_   ? static_cast<toolkit::WinControl*>(ed_begin_)
      : sender == final_button_ ? static_cast<toolkit::WinControl*>(ed_final_)
                                : static_cast<toolkit::WinControl*>(list_);
  if (target->CanFocus()) target->SetFocus();
  SendLookupRequest(this, target);
  FOnOpenWinClick(this, target);
}

void TSelectPanel::DeleteButtonClick(toolkit::Component*) {
  bool accept = true;
  FOnDeleteClick(delete_button_, accept);
  if (accept) list_->DeleteSelected();
}

void TSelectPanel::ClearButtonClick(toolkit::Component*) {
  list_->ClearRows();
  if (list_->CanFocus()) list_->SetFocus();
  FOnClearClick(clear_button_);
}

// ---- Focus, enabled state and the range check ----

void TSelectPanel::SetFocus() {
  toolkit::GroupBox::SetFocus();
  if (!RangeActive() && list_->CanFocus()) list_->SetFocus();
}

void TSelectPanel::SetEnabled(bool enabled) {
  toolkit::GroupBox::SetEnabled(enabled);
  std::vector<toolkit::WinControl*> containers{this};
  while (!containers.empty()) {
    toolkit::WinControl* container = containers.back();
    containers.pop_back();
    for (toolkit::Control* child : container->ControlList()) {
      child->SetEnabled(enabled);
      if (auto* win = dynamic_cast<toolkit::WinControl*>(child)) containers.push_back(win);
    }
  }
}

void TSelectPanel::DoExit() {
  CheckRange();
  toolkit::GroupBox::DoExit();
}

void TSelectPanel::CheckRange() {
  if (RangeTrimsTexts(rule_)) {
    for (TZelMaskEdit* edit : {ed_begin_, ed_final_}) {
      const std::string text = edit->Text();
      const std::string trimmed = TrimBlanks(text);
      if (trimmed != text) edit->SetText(trimmed);
    }
  }
  const std::string begin = ed_begin_->Text();
  const std::string end = ed_final_->Text();
  if (RangeNeedsExchange(rule_, begin, end)) {
    ed_begin_->SetText(end);
    ed_final_->SetText(begin);
  }
}

// ---- The sub-controls' events ----

bool TSelectPanel::KeepsSender(toolkit::Component* sender) const {
  return sender == ed_begin_ || sender == ed_final_ || sender == list_;
}

QPoint TSelectPanel::ToPanel(toolkit::Component* sender, int x, int y) const {
  auto* control = dynamic_cast<toolkit::Control*>(sender);
  if (!control) return QPoint(x, y);
  return control->Widget()->mapTo(const_cast<TSelectPanel*>(this), QPoint(x, y));
}

void TSelectPanel::SubClick(toolkit::Component* sender) {
  FOnClick(KeepsSender(sender) ? sender : this);
}

void TSelectPanel::SubDblClick(toolkit::Component* sender) {
  FOnDblClick(KeepsSender(sender) ? sender : this);
}

void TSelectPanel::SubMouseDown(toolkit::Component* sender, toolkit::TMouseButton button,
                                toolkit::ShiftState shift, int x, int y) {
  if (KeepsSender(sender)) {
    FOnMouseDown(sender, button, shift, x, y);
  } else {
    const QPoint at = ToPanel(sender, x, y);
    FOnMouseDown(this, button, shift, at.x(), at.y());
  }
}

void TSelectPanel::SubMouseUp(toolkit::Component* sender, toolkit::TMouseButton button,
                              toolkit::ShiftState shift, int x, int y) {
  if (KeepsSender(sender)) {
    FOnMouseUp(sender, button, shift, x, y);
  } else {
    const QPoint at = ToPanel(sender, x, y);
    FOnMouseUp(this, button, shift, at.x(), at.y());
  }
}

void TSelectPanel::SubMouseMove(toolkit::Component* sender, toolkit::ShiftState shift, int x,
                                int y) {
  if (KeepsSender(sender)) {
    FOnMouseMove(sender, shift, x, y);
  } else {
    const QPoint at = ToPanel(sender, x, y);
    FOnMouseMove(this, shift, at.x(), at.y());
  }
}

void TSelectPanel::SubKeyDown(toolkit::Component* sender, toolkit::Word& key,
                              toolkit::ShiftState shift) {
  FOnKeyDown(sender, key, shift);
}

void TSelectPanel::SubKeyUp(toolkit::Component* sender, toolkit::Word& key,
                            toolkit::ShiftState shift) {
  FOnKeyUp(sender, key, shift);
}

void TSelectPanel::SubKeyPress(toolkit::Component* sender, char& key) {
  FOnKeyPress(sender, key);
}

TOOLKIT_REGISTER_CLASS(TZelMaskEdit, "TZelMaskEdit");
TOOLKIT_REGISTER_CLASS(TZelListView, "TZelListView");
TOOLKIT_REGISTER_CLASS(TSelectPanel, "TSelectPanel");

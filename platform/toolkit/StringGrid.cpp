#include "toolkit/StringGrid.h"

#include <QAbstractTableModel>
#include <QApplication>
#include <QComboBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <algorithm>

namespace toolkit {

// ---------------------------------------------------------------------------------------------
// The Qt model: the first fixed row and column are the table's headers, further fixed rows and
// columns are cells drawn in the fixed colour.

class GridModel : public QAbstractTableModel {
 public:
  explicit GridModel(DrawGrid* grid) : grid_(grid) {}

  int rowCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : std::max(0, grid_->RowCount() - grid_->HeaderRows());
  }
  int columnCount(const QModelIndex& parent) const override {
    return parent.isValid() ? 0 : std::max(0, grid_->ColCount() - grid_->HeaderCols());
  }

  QVariant data(const QModelIndex& index, int role) const override {
    const int col = index.column() + grid_->HeaderCols();
    const int row = index.row() + grid_->HeaderRows();
    auto* strings = dynamic_cast<StringGrid*>(grid_);
    const bool check = strings && !grid_->IsFixedCell(col, row) &&
                       strings->GetColumnEditor(col).Style == StringGrid::esCheckBox;
    switch (role) {
      case Qt::DisplayRole:
      case Qt::EditRole:
        return check ? QVariant() : QVariant(grid_->CellDisplay(col, row));
      case Qt::CheckStateRole:
        if (!check) return {};
        return strings->CellChecked(col, row) ? Qt::Checked : Qt::Unchecked;
      case Qt::BackgroundRole:
        if (grid_->IsFixedCell(col, row)) return ToQColor(grid_->FixedColor());
        return {};
      case Qt::ToolTipRole:
        if (grid_->ShowHint() && !grid_->Hint().empty()) return grid_->ToScreen(grid_->Hint());
        return {};
      default:
        return {};
    }
  }

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    if (role == Qt::DisplayRole) {
      if (orientation == Qt::Horizontal) {
        return grid_->CellDisplay(section + grid_->HeaderCols(), 0);
      }
      return grid_->CellDisplay(0, section + grid_->HeaderRows());
    }
    if (role == Qt::ToolTipRole && grid_->ShowHint() && !grid_->Hint().empty()) {
      return grid_->ToScreen(grid_->Hint());
    }
    return {};
  }

  Qt::ItemFlags flags(const QModelIndex& index) const override {
    if (!index.isValid()) return Qt::NoItemFlags;
    const int col = index.column() + grid_->HeaderCols();
    const int row = index.row() + grid_->HeaderRows();
    if (grid_->IsFixedCell(col, row)) return Qt::ItemIsEnabled;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (grid_->Options() & DrawGrid::goEditing) f |= Qt::ItemIsEditable;
    return f;
  }

  bool setData(const QModelIndex& index, const QVariant& value, int role) override {
    if (role != Qt::EditRole) return false;
    grid_->UserSetCell(index.column() + grid_->HeaderCols(), index.row() + grid_->HeaderRows(),
                       value.toString());
    return true;
  }

  void Reset() {
    beginResetModel();
    endResetModel();
  }
  void Changed(int col, int row) {
    const int c = col - grid_->HeaderCols();
    const int r = row - grid_->HeaderRows();
    if (r < 0 && c >= 0) emit headerDataChanged(Qt::Horizontal, c, c);
    if (c < 0 && r >= 0) emit headerDataChanged(Qt::Vertical, r, r);
    if (r >= 0 && c >= 0) emit dataChanged(index(r, c), index(r, c));
  }

 private:
  DrawGrid* grid_;
};

namespace {

// The editor of an esEllipsis cell: a text field with a button beside it.
class EllipsisEditor : public QWidget {
 public:
  explicit EllipsisEditor(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    edit = new QLineEdit(this);
    edit->setFrame(false);
    button = new QToolButton(this);
    button->setText(QStringLiteral("\u2026"));
    button->setFocusPolicy(Qt::NoFocus);
    layout->addWidget(edit, 1);
    layout->addWidget(button);
    setFocusProxy(edit);
  }
  QLineEdit* edit;
  QToolButton* button;
};

}  // namespace

class GridDelegate : public QStyledItemDelegate {
 public:
  GridDelegate(DrawGrid* grid) : QStyledItemDelegate(grid), grid_(grid) {}

  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override {
    const int col = index.column() + grid_->HeaderCols();
    auto* strings = dynamic_cast<StringGrid*>(grid_);
    const StringGrid::TGridEditStyle style =
        strings ? strings->GetColumnEditor(col).Style : StringGrid::esSimple;
    QWidget* editor = nullptr;
    switch (style) {
      case StringGrid::esCheckBox:
        return nullptr;
      case StringGrid::esPickList: {
        auto* combo = new QComboBox(parent);
        for (const std::string& item : strings->GetColumnEditor(col).PickList) {
          combo->addItem(grid_->ToScreen(item));
        }
        QObject::connect(combo, &QComboBox::activated, combo,
                         [this, combo] { const_cast<GridDelegate*>(this)->commitData(combo); });
        editor = combo;
        break;
      }
      case StringGrid::esEllipsis: {
        auto* ellipsis = new EllipsisEditor(parent);
        Watch(ellipsis->edit, ellipsis);
        grid_->FeedEventsFrom(ellipsis->edit);
        grid_->FeedEventsFrom(ellipsis->button);
        QObject::connect(ellipsis->button, &QToolButton::clicked, ellipsis, [this, strings] {
          DrawGrid::Dispatch([strings] { strings->EditButtonClick(); });
        });
        editor = ellipsis;
        break;
      }
      default: {
        auto* edit = new QLineEdit(parent);
        edit->setFrame(false);
        Watch(edit, edit);
        editor = edit;
        break;
      }
    }
    editor->setFont(grid_->font());
    grid_->FeedEventsFrom(editor);
    (void)option;
    return editor;
  }

  void setEditorData(QWidget* editor, const QModelIndex& index) const override {
    const QString text = index.data(Qt::EditRole).toString();
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      combo->setCurrentIndex(combo->findText(text));
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
      if (edit->text() != text) edit->setText(text);
    } else if (auto* ellipsis = dynamic_cast<EllipsisEditor*>(editor)) {
      if (ellipsis->edit->text() != text) ellipsis->edit->setText(text);
    }
  }

  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override {
    QString text;
    if (auto* combo = qobject_cast<QComboBox*>(editor)) {
      if (combo->currentIndex() < 0) return;
      text = combo->currentText();
    } else if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
      text = edit->text();
    } else if (auto* ellipsis = dynamic_cast<EllipsisEditor*>(editor)) {
      text = ellipsis->edit->text();
    } else {
      return;
    }
    model->setData(index, text, Qt::EditRole);
  }

  void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                            const QModelIndex&) const override {
    editor->setGeometry(option.rect);
  }

  bool editorEvent(QEvent* event, QAbstractItemModel* model, const QStyleOptionViewItem& option,
                   const QModelIndex& index) override {
    const int col = index.column() + grid_->HeaderCols();
    const int row = index.row() + grid_->HeaderRows();
    auto* strings = dynamic_cast<StringGrid*>(grid_);
    if (!strings || grid_->IsFixedCell(col, row) ||
        strings->GetColumnEditor(col).Style != StringGrid::esCheckBox) {
      return QStyledItemDelegate::editorEvent(event, model, option, index);
    }
    // A check cell toggles on a click anywhere in it, or on the space bar.
    const bool editable = grid_->Options() & DrawGrid::goEditing;
    if (event->type() == QEvent::MouseButtonRelease) {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (editable && mouse->button() == Qt::LeftButton &&
          option.rect.contains(mouse->position().toPoint())) {
        DrawGrid::Dispatch([&] { strings->ToggleCheckCell(col, row); });
      }
      return true;
    }
    if (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonDblClick) {
      return false;
    }
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Space) {
      if (editable) DrawGrid::Dispatch([&] { strings->ToggleCheckCell(col, row); });
      return true;
    }
    return false;
  }

 private:
  // Every change in a text editor reaches the cell at once, as the desktop grid reports each
  // change of its editor.
  void Watch(QLineEdit* edit, QWidget* editor) const {
    QObject::connect(edit, &QLineEdit::textEdited, editor,
                     [this, editor] { const_cast<GridDelegate*>(this)->commitData(editor); });
  }

  DrawGrid* grid_;
};

// ---------------------------------------------------------------------------------------------
// DrawGrid

DrawGrid::DrawGrid(Component* owner) : QTableView(nullptr), WinControl(this, owner) {
  model_ = std::make_unique<GridModel>(this);
  setModel(model_.get());
  setItemDelegate(new GridDelegate(this));
  setCornerButtonEnabled(false);
  horizontalHeader()->setHighlightSections(false);
  verticalHeader()->setHighlightSections(false);
  horizontalHeader()->setMinimumSectionSize(1);
  verticalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setSectionsClickable(false);
  verticalHeader()->setSectionsClickable(false);
  FeedEventsFrom(viewport());
  FeedEventsFrom(horizontalHeader());
  FeedEventsFrom(verticalHeader());
  QObject::connect(horizontalHeader(), &QHeaderView::sectionResized, this,
                   [this](int section, int, int size) {
                     if (syncing_) return;
                     const int col = section + HeaderCols();
                     if (col < static_cast<int>(col_widths_.size())) col_widths_[col] = size;
                   });
  QObject::connect(verticalHeader(), &QHeaderView::sectionResized, this,
                   [this](int section, int, int size) {
                     if (syncing_) return;
                     const int row = section + HeaderRows();
                     if (row < static_cast<int>(row_heights_.size())) row_heights_[row] = size;
                   });
  SetTabStop(true);
  SetBounds(0, 0, 320, 120);
  SetColor(clWindow);
  col_widths_.assign(static_cast<size_t>(col_count_), default_col_width_);
  row_heights_.assign(static_cast<size_t>(row_count_), default_row_height_);
  ApplyOptions();
  StructureChanged();
}

DrawGrid::~DrawGrid() {
  // The viewport, the headers and an open editor report their events to this control: they go
  // while it is still whole.
  dying_ = true;
  setModel(nullptr);
  setViewport(new QWidget);
  setHorizontalHeader(new QHeaderView(Qt::Horizontal, this));
  setVerticalHeader(new QHeaderView(Qt::Vertical, this));
}

void DrawGrid::SetColCount(int count) {
  count = std::max(1, count);
  if (count <= fixed_cols_) fixed_cols_ = count - 1;
  col_count_ = count;
  col_widths_.resize(static_cast<size_t>(count), default_col_width_);
  col_ = std::clamp(col_, fixed_cols_, count - 1);
  StructureChanged();
}

void DrawGrid::SetRowCount(int count) {
  count = std::max(1, count);
  if (count <= fixed_rows_) fixed_rows_ = count - 1;
  row_count_ = count;
  row_heights_.resize(static_cast<size_t>(count), default_row_height_);
  row_ = std::clamp(row_, fixed_rows_, count - 1);
  StructureChanged();
}

void DrawGrid::SetFixedCols(int count) {
  if (count < 0) throw Error("Grid index out of range");
  if (count >= col_count_) throw Error("Fixed column count must be less than column count");
  fixed_cols_ = count;
  col_ = std::max(col_, fixed_cols_);
  StructureChanged();
}

void DrawGrid::SetFixedRows(int count) {
  if (count < 0) throw Error("Grid index out of range");
  if (count >= row_count_) throw Error("Fixed row count must be less than row count");
  fixed_rows_ = count;
  row_ = std::max(row_, fixed_rows_);
  StructureChanged();
}

void DrawGrid::SetDefaultColWidth(int width) {
  default_col_width_ = std::max(0, width);
  col_widths_.assign(static_cast<size_t>(col_count_), default_col_width_);
  ApplySizes();
}

void DrawGrid::SetDefaultRowHeight(int height) {
  default_row_height_ = std::max(0, height);
  row_heights_.assign(static_cast<size_t>(row_count_), default_row_height_);
  ApplySizes();
}

int DrawGrid::ColWidths(int col) const {
  if (col < 0 || col >= col_count_) return 0;
  return col_widths_[static_cast<size_t>(col)];
}

void DrawGrid::SetColWidths(int col, int width) {
  if (col < 0 || col >= col_count_) throw Error("Grid index out of range");
  col_widths_[static_cast<size_t>(col)] = std::max(0, width);
  ApplySizes();
}

int DrawGrid::RowHeights(int row) const {
  if (row < 0 || row >= row_count_) return 0;
  return row_heights_[static_cast<size_t>(row)];
}

void DrawGrid::SetRowHeights(int row, int height) {
  if (row < 0 || row >= row_count_) throw Error("Grid index out of range");
  row_heights_[static_cast<size_t>(row)] = std::max(0, height);
  ApplySizes();
}

void DrawGrid::SetCol(int col) {
  if (col < fixed_cols_ || col >= col_count_) throw Error("Grid index out of range");
  MoveCurrent(col, row_);
}

void DrawGrid::SetRow(int row) {
  if (row < fixed_rows_ || row >= row_count_) throw Error("Grid index out of range");
  MoveCurrent(col_, row);
}

bool DrawGrid::MoveCurrent(int col, int row) {
  if (col == col_ && row == row_) return true;
  if (IsFixedCell(col, row) || !SelectCell(col, row)) {
    ShowCurrent();
    return false;
  }
  col_ = col;
  row_ = row;
  ShowCurrent();
  OpenEditorIfWanted();
  return true;
}

bool DrawGrid::SelectCell(int col, int row) {
  bool can = true;
  FOnSelectCell(this, col, row, can);
  return can;
}

void DrawGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (syncing_ || !current.isValid()) return;
  const int col = current.column() + HeaderCols();
  const int row = current.row() + HeaderRows();
  if (col == col_ && row == row_) return;
  Dispatch([&] { MoveCurrent(col, row); });
}

void DrawGrid::ShowCurrent() {
  const QModelIndex index = model_->index(row_ - HeaderRows(), col_ - HeaderCols());
  if (!index.isValid() || IsFixedCell(col_, row_)) return;
  syncing_ = true;
  selectionModel()->setCurrentIndex(
      index,
      QItemSelectionModel::ClearAndSelect |
          ((options_ & goRowSelect) ? QItemSelectionModel::Rows : QItemSelectionModel::NoUpdate));
  syncing_ = false;
}

void DrawGrid::OpenEditorIfWanted() {
  if ((options_ & goEditing) && (options_ & goAlwaysShowEditor) && !(options_ & goRowSelect) &&
      hasFocus()) {
    edit(currentIndex());
  }
}

void DrawGrid::SetOptions(TGridOptions options) {
  options_ = options;
  ApplyOptions();
  model_->Reset();
  ShowCurrent();
}

void DrawGrid::ApplyOptions() {
  setShowGrid(options_ & (goVertLine | goHorzLine));
  setSelectionBehavior((options_ & goRowSelect) ? SelectRows : SelectItems);
  setSelectionMode((options_ & goRangeSelect) && !(options_ & goRowSelect) ? ContiguousSelection
                                                                           : SingleSelection);
  setTabKeyNavigation((options_ & goTabs) && !(options_ & goRowSelect));
  setEditTriggers((options_ & goEditing) && !(options_ & goRowSelect)
                      ? (DoubleClicked | EditKeyPressed | AnyKeyPressed | SelectedClicked)
                      : NoEditTriggers);
  horizontalHeader()->setSectionResizeMode((options_ & goColSizing) ? QHeaderView::Interactive
                                                                    : QHeaderView::Fixed);
  verticalHeader()->setSectionResizeMode((options_ & goRowSizing) ? QHeaderView::Interactive
                                                                  : QHeaderView::Fixed);
}

bool DrawGrid::EditorMode() const {
  return state() == EditingState;
}

void DrawGrid::SetEditorMode(bool open) {
  if (open) {
    if (options_ & goEditing) edit(currentIndex());
    return;
  }
  QWidget* focus = QApplication::focusWidget();
  while (focus && focus->parentWidget() != viewport()) focus = focus->parentWidget();
  if (focus && state() == EditingState) {
    commitData(focus);
    closeEditor(focus, QAbstractItemDelegate::NoHint);
  }
}

void DrawGrid::SetFixedColor(TColor color) {
  fixed_color_ = color;
  QPalette p = horizontalHeader()->palette();
  p.setColor(QPalette::Button, ToQColor(color));
  p.setColor(QPalette::Window, ToQColor(color));
  horizontalHeader()->setPalette(p);
  verticalHeader()->setPalette(p);
  viewport()->update();
}

void DrawGrid::SetPopupMenu(toolkit::PopupMenu* menu) {
  popup_menu_ = menu;
  AttachPopupMenu(this, menu);
}

bool DrawGrid::MouseToCell(int x, int y, int& col, int& row) const {
  col = row = -1;
  const QPoint point(x, y);
  const QPoint inViewport = viewport()->mapFrom(this, point);
  const QModelIndex index = indexAt(inViewport);
  if (index.isValid() && viewport()->rect().contains(inViewport)) {
    col = index.column() + HeaderCols();
    row = index.row() + HeaderRows();
    return true;
  }
  // The header row and column are the first fixed row and column.
  if (HeaderRows() && horizontalHeader()->isVisible()) {
    const QPoint inHeader = horizontalHeader()->mapFrom(this, point);
    if (horizontalHeader()->rect().contains(inHeader)) {
      const int section = horizontalHeader()->logicalIndexAt(inHeader.x());
      if (section >= 0) {
        col = section + HeaderCols();
        row = 0;
        return true;
      }
    }
  }
  if (HeaderCols() && verticalHeader()->isVisible()) {
    const QPoint inHeader = verticalHeader()->mapFrom(this, point);
    if (verticalHeader()->rect().contains(inHeader)) {
      const int section = verticalHeader()->logicalIndexAt(inHeader.y());
      if (section >= 0) {
        col = 0;
        row = section + HeaderRows();
        return true;
      }
    }
  }
  return false;
}

bool DrawGrid::WantsKey(Word key, ShiftState shift) const {
  if (key == VK_TAB && (options_ & goTabs) && !(options_ & goRowSelect)) return true;
  return WinControl::WantsKey(key, shift);
}

QString DrawGrid::CellDisplay(int, int) const {
  return {};
}
void DrawGrid::UserSetCell(int, int, const QString&) {}

void DrawGrid::CellChanged(int col, int row) {
  model_->Changed(col, row);
}

void DrawGrid::StructureChanged() {
  GridSizeChanged();
  model_->Reset();
  ApplySizes();
  ShowCurrent();
}

void DrawGrid::ApplySizes() {
  syncing_ = true;
  horizontalHeader()->setVisible(HeaderRows() > 0);
  verticalHeader()->setVisible(HeaderCols() > 0);
  horizontalHeader()->setDefaultSectionSize(default_col_width_);
  verticalHeader()->setDefaultSectionSize(default_row_height_);
  if (HeaderRows()) horizontalHeader()->setFixedHeight(RowHeights(0));
  if (HeaderCols()) verticalHeader()->setFixedWidth(ColWidths(0));
  for (int c = HeaderCols(); c < col_count_; ++c) {
    horizontalHeader()->resizeSection(c - HeaderCols(), ColWidths(c));
  }
  for (int r = HeaderRows(); r < row_count_; ++r) {
    verticalHeader()->resizeSection(r - HeaderRows(), RowHeights(r));
  }
  syncing_ = false;
}

void DrawGrid::ColorChanged() {
  QPalette p = palette();
  p.setColor(QPalette::Base, ToQColor(Color()));
  setPalette(p);
}

void DrawGrid::FontChanged() {
  WinControl::FontChanged();
  model_->Reset();
  ApplySizes();
  ShowCurrent();
}

bool DrawGrid::FilterEvent(QObject* watched, QEvent* event) {
  if (dying_) return false;
  // Moving between the grid and its cell editor stays in the control.
  if (event->type() == QEvent::FocusOut && QApplication::focusWidget() &&
      isAncestorOf(QApplication::focusWidget())) {
    return false;
  }
  if (event->type() == QEvent::FocusIn && watched == this) {
    const bool handled = WinControl::FilterEvent(watched, event);
    OpenEditorIfWanted();
    return handled;
  }
  return WinControl::FilterEvent(watched, event);
}

// ---------------------------------------------------------------------------------------------
// StringGrid

StringGrid::StringGrid(Component* owner) : DrawGrid(owner) {
  Fit();
  StructureChanged();
}

void StringGrid::Fit() {
  cells_.resize(static_cast<size_t>(RowCount()));
  for (auto& row : cells_) row.resize(static_cast<size_t>(ColCount()));
  editors_.resize(static_cast<size_t>(ColCount()));
}

std::string StringGrid::Cells(int col, int row) const {
  if (row < 0 || col < 0 || row >= static_cast<int>(cells_.size()) ||
      col >= static_cast<int>(cells_[static_cast<size_t>(row)].size())) {
    return {};
  }
  return cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
}

void StringGrid::SetCells(int col, int row, std::string text) {
  if (row < 0 || col < 0 || row >= static_cast<int>(cells_.size()) ||
      col >= static_cast<int>(cells_[static_cast<size_t>(row)].size())) {
    return;
  }
  std::string& cell = cells_[static_cast<size_t>(row)][static_cast<size_t>(col)];
  if (cell == text) return;
  cell = std::move(text);
  CellChanged(col, row);
}

void StringGrid::ClearCells() {
  for (auto& row : cells_) std::fill(row.begin(), row.end(), std::string());
  StructureChanged();
}

void StringGrid::DeleteRow(int row) {
  if (row < 0 || row >= RowCount()) throw Error("Grid index out of range");
  cells_.erase(cells_.begin() + row);
  SetRowCount(RowCount() - 1);
}

void StringGrid::InsertRow(int row) {
  if (row < 0 || row > RowCount()) throw Error("Grid index out of range");
  cells_.insert(cells_.begin() + row, std::vector<std::string>(static_cast<size_t>(ColCount())));
  SetRowCount(RowCount() + 1);
}

const StringGrid::ColumnEditor& StringGrid::GetColumnEditor(int col) const {
  static const ColumnEditor plain;
  if (col < 0 || col >= static_cast<int>(editors_.size())) return plain;
  return editors_[static_cast<size_t>(col)];
}

void StringGrid::SetColumnEditor(int col, ColumnEditor editor) {
  if (col < 0 || col >= ColCount()) throw Error("Grid index out of range");
  editors_[static_cast<size_t>(col)] = std::move(editor);
  StructureChanged();
}

bool StringGrid::CellChecked(int col, int row) const {
  return Cells(col, row) == GetColumnEditor(col).CheckedValue;
}

void StringGrid::ToggleCheckCell(int col, int row) {
  const ColumnEditor& editor = GetColumnEditor(col);
  if (editor.Style != esCheckBox || IsFixedCell(col, row)) return;
  const std::string value = CellChecked(col, row) ? editor.UncheckedValue : editor.CheckedValue;
  SetCells(col, row, value);
  SetEditText(col, row, value);
}

QString StringGrid::CellDisplay(int col, int row) const {
  return ToScreen(Cells(col, row));
}

void StringGrid::UserSetCell(int col, int row, const QString& text) {
  std::string value = FromScreen(text);
  if (value == Cells(col, row)) return;
  SetCells(col, row, value);
  Dispatch([&] { SetEditText(col, row, value); });
}

TOOLKIT_REGISTER_CLASS(DrawGrid, "TDrawGrid");
TOOLKIT_REGISTER_CLASS(StringGrid, "TStringGrid");

}  // namespace toolkit

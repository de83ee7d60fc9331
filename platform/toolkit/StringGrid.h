// Grids: the draw grid ("TDrawGrid": rows and columns of cells, fixed rows and columns, a current
// cell) and the string grid ("TStringGrid": a draw grid whose cells hold 8-bit texts, edited in
// place with an editor per column).
//
// TDrawGrid publishes ColCount and RowCount (5 × 5), FixedCols and FixedRows (1 and 1: the first
// columns and rows, drawn as headers and never current), DefaultColWidth (64), DefaultRowHeight
// (24), Col and Row (the current cell; setting a fixed or missing cell raises Error "Grid index out
// of range"), Options (goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect by
// default; goEditing lets the user edit, goAlwaysShowEditor keeps the editor open on the current
// cell, goRowSelect selects whole rows, goColSizing and goRowSizing let the user resize, goTabs
// keeps Tab to move between cells), EditorMode (an editor is open), FixedColor (clBtnFace), Color
// (clWindow), PopupMenu, OnSelectCell (ACol, ARow, var CanSelect: before the current cell moves;
// False keeps it), and the common windowed-control properties and events. Column widths and row
// heights are set one by one with SetColWidths and SetRowHeights. A new grid is 320 × 120.
//
// TStringGrid adds the cells (Cells and SetCells by column and row; reading a cell outside the
// grid gives "", writing one is ignored), OnSetEditText (ACol, ARow, Value: the user changed a
// cell), OnEditButtonClick (the button of an esEllipsis cell was pressed; Col and Row name the
// cell) and an editor per column (SetColumnEditor): esSimple (a text field), esEllipsis (a text
// field with a button), esPickList (a drop-down list of given texts, no typing), esCheckBox (a
// check box; the cell holds the checked or the unchecked text, a click or the space bar toggles
// it). Texts are shown through the code page of the grid's font. Reaching cells by property name
// is not offered: the module's language packs and conversions go through Cells and SetCells.
#pragma once

#include <QPointer>
#include <QTableView>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/Control.h"
#include "toolkit/Menus.h"

namespace toolkit {

class GridModel;
class GridDelegate;

using SelectCellEvent = Event<int, int, bool&>;

class DrawGrid : public QTableView, public WinControl {
  Q_OBJECT
 public:
  enum TGridOption {
    goFixedVertLine = 0x1,
    goFixedHorzLine = 0x2,
    goVertLine = 0x4,
    goHorzLine = 0x8,
    goRangeSelect = 0x10,
    goDrawFocusSelected = 0x20,
    goRowSizing = 0x40,
    goColSizing = 0x80,
    goRowMoving = 0x100,
    goColMoving = 0x200,
    goEditing = 0x400,
    goTabs = 0x800,
    goRowSelect = 0x1000,
    goAlwaysShowEditor = 0x2000,
    goThumbTracking = 0x4000
  };
  Q_DECLARE_FLAGS(TGridOptions, TGridOption)
  Q_FLAG(TGridOptions)

 private:
  Q_PROPERTY(int ColCount READ ColCount WRITE SetColCount)
  Q_PROPERTY(int RowCount READ RowCount WRITE SetRowCount)
  Q_PROPERTY(int FixedCols READ FixedCols WRITE SetFixedCols)
  Q_PROPERTY(int FixedRows READ FixedRows WRITE SetFixedRows)
  Q_PROPERTY(int DefaultColWidth READ DefaultColWidth WRITE SetDefaultColWidth)
  Q_PROPERTY(int DefaultRowHeight READ DefaultRowHeight WRITE SetDefaultRowHeight)
  Q_PROPERTY(int Col READ Col WRITE SetCol)
  Q_PROPERTY(int Row READ Row WRITE SetRow)
  Q_PROPERTY(TGridOptions Options READ Options WRITE SetOptions)
  Q_PROPERTY(bool EditorMode READ EditorMode WRITE SetEditorMode)
  Q_PROPERTY(toolkit::TColor FixedColor READ FixedColor WRITE SetFixedColor)
  Q_PROPERTY(toolkit::TColor Color READ Color WRITE SetColor)
  Q_PROPERTY(toolkit::PopupMenu* PopupMenu READ GetPopupMenu WRITE SetPopupMenu)
  Q_PROPERTY(toolkit::SelectCellEvent OnSelectCell MEMBER FOnSelectCell)

 public:
  explicit DrawGrid(Component* owner);
  ~DrawGrid() override;

  int ColCount() const { return col_count_; }
  // At least 1; FixedCols shrinks below the new count when needed.
  void SetColCount(int count);
  int RowCount() const { return row_count_; }
  void SetRowCount(int count);
  int FixedCols() const { return fixed_cols_; }
  // Must leave at least one column that is not fixed: Error "Fixed column count must be less than
  // column count" otherwise.
  void SetFixedCols(int count);
  int FixedRows() const { return fixed_rows_; }
  void SetFixedRows(int count);
  int DefaultColWidth() const { return default_col_width_; }
  void SetDefaultColWidth(int width);
  int DefaultRowHeight() const { return default_row_height_; }
  void SetDefaultRowHeight(int height);
  int ColWidths(int col) const;
  void SetColWidths(int col, int width);
  int RowHeights(int row) const;
  void SetRowHeights(int row, int height);

  // The current cell. Moving it, by the user or the program, asks OnSelectCell first.
  int Col() const { return col_; }
  void SetCol(int col);
  int Row() const { return row_; }
  void SetRow(int row);
  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions options);
  bool EditorMode() const;
  void SetEditorMode(bool open);
  TColor FixedColor() const { return fixed_color_; }
  void SetFixedColor(TColor color);
  toolkit::PopupMenu* GetPopupMenu() const { return popup_menu_; }
  void SetPopupMenu(toolkit::PopupMenu* menu);

  // The cell under a point of the control; false (and -1, -1) when there is none.
  bool MouseToCell(int x, int y, int& col, int& row) const;
  bool IsFixedCell(int col, int row) const { return col < fixed_cols_ || row < fixed_rows_; }

  // Tab stays in the grid with goTabs (moving between cells).
  bool WantsKey(Word key, ShiftState shift) const override;

 protected:
  // What a cell shows (a draw grid shows nothing; the string grid its texts).
  virtual QString CellDisplay(int col, int row) const;
  // The user changed a cell through the editor.
  virtual void UserSetCell(int col, int row, const QString& text);
  // OnSelectCell: whether the current cell may move there.
  virtual bool SelectCell(int col, int row);
  // The model's contents changed: a cell, or everything.
  void CellChanged(int col, int row);
  void StructureChanged();
  // The counts changed (the string grid sizes its cells).
  virtual void GridSizeChanged() {}
  int HeaderRows() const { return fixed_rows_ > 0 ? 1 : 0; }
  int HeaderCols() const { return fixed_cols_ > 0 ? 1 : 0; }
  void ColorChanged() override;
  void FontChanged() override;
  bool FilterEvent(QObject* watched, QEvent* event) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

  SelectCellEvent FOnSelectCell;

 private:
  friend class GridModel;
  friend class GridDelegate;
  void ApplyOptions();
  void ApplySizes();
  void ShowCurrent();
  void OpenEditorIfWanted();
  // Moves the current cell after asking OnSelectCell; false when refused.
  bool MoveCurrent(int col, int row);

  std::unique_ptr<GridModel> model_;
  int col_count_ = 5;
  int row_count_ = 5;
  int fixed_cols_ = 1;
  int fixed_rows_ = 1;
  int default_col_width_ = 64;
  int default_row_height_ = 24;
  std::vector<int> col_widths_;
  std::vector<int> row_heights_;
  int col_ = 1;
  int row_ = 1;
  TGridOptions options_ =
      TGridOptions(goFixedVertLine | goFixedHorzLine | goVertLine | goHorzLine | goRangeSelect);
  TColor fixed_color_ = clBtnFace;
  QPointer<toolkit::PopupMenu> popup_menu_;
  bool syncing_ = false;
  // Set while the control is being destroyed: its inner widgets go first and report nothing.
  bool dying_ = false;
};

using SetEditTextEvent = Event<int, int, const std::string&>;

class StringGrid : public DrawGrid {
  Q_OBJECT
 public:
  enum TGridEditStyle { esSimple, esEllipsis, esPickList, esCheckBox };
  Q_ENUM(TGridEditStyle)

 private:
  Q_PROPERTY(toolkit::SetEditTextEvent OnSetEditText MEMBER FOnSetEditText)
  Q_PROPERTY(toolkit::NotifyEvent OnEditButtonClick MEMBER FOnEditButtonClick)

 public:
  // The editor of a column.
  struct ColumnEditor {
    TGridEditStyle Style = esSimple;
    std::vector<std::string> PickList;  // esPickList
    std::string CheckedValue = "Y";     // esCheckBox
    std::string UncheckedValue = "N";
  };

  explicit StringGrid(Component* owner);

  std::string Cells(int col, int row) const;
  void SetCells(int col, int row, std::string text);
  // Empties every cell.
  void ClearCells();
  // Removes or inserts a row, moving the following rows' cells (RowCount changes by one).
  void DeleteRow(int row);
  void InsertRow(int row);

  const ColumnEditor& GetColumnEditor(int col) const;
  void SetColumnEditor(int col, ColumnEditor editor);
  // A check cell holds its checked text.
  bool CellChecked(int col, int row) const;
  // Toggles a check cell as a click does (OnSetEditText follows); nothing for other cells.
  void ToggleCheckCell(int col, int row);

 protected:
  QString CellDisplay(int col, int row) const override;
  void UserSetCell(int col, int row, const QString& text) override;
  // Fires OnSetEditText / OnEditButtonClick.
  virtual void SetEditText(int col, int row, const std::string& value) {
    FOnSetEditText(this, col, row, value);
  }
  virtual void EditButtonClick() { FOnEditButtonClick(this); }
  void GridSizeChanged() override { Fit(); }

  SetEditTextEvent FOnSetEditText;
  NotifyEvent FOnEditButtonClick;

 private:
  friend class GridModel;
  friend class GridDelegate;
  void Fit();

  std::vector<std::vector<std::string>> cells_;  // [row][col]
  std::vector<ColumnEditor> editors_;
};

}  // namespace toolkit

Q_DECLARE_OPERATORS_FOR_FLAGS(toolkit::DrawGrid::TGridOptions)

// The string grid: counts and fixed rows, cells and headers, the current cell and OnSelectCell,
// and the editors per column (text, text with a button, drop-down list, check cell).
#include "toolkit/StringGrid.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>

#include "toolkit/Form.h"
#include "toolkit/Properties.h"

namespace toolkit {
namespace {

class GridWindow : public Form {
  Q_OBJECT
 public:
  explicit GridWindow(Component* owner) : Form(owner) {
    SetBounds(0, 0, 600, 300);
    grid = new StringGrid(this);
    grid->SetName("grReceive");
    grid->SetParent(this);
    grid->SetBounds(3, 5, 518, 151);
    grid->SetColCount(8);
    grid->SetRowCount(2);
    grid->SetFixedCols(0);
    grid->SetOptions(grid->Options() | DrawGrid::goEditing | DrawGrid::goColSizing);
    SetMethodPropOf(grid, "OnSetEditText", FindMethod(this, "SetText"));
    SetMethodPropOf(grid, "OnEditButtonClick", FindMethod(this, "ButtonClick"));
    SetMethodPropOf(grid, "OnSelectCell", FindMethod(this, "SelectCell"));
  }
  void SetText(Component*, int col, int row, const std::string& value) {
    log.push_back("set " + std::to_string(col) + "," + std::to_string(row) + "=" + value);
  }
  void ButtonClick(Component*) {
    log.push_back("button " + std::to_string(grid->Col()) + "," + std::to_string(grid->Row()));
    grid->SetCells(grid->Col(), grid->Row(), "DS");
  }
  void SelectCell(Component*, int col, int row, bool& can) {
    log.push_back("select " + std::to_string(col) + "," + std::to_string(row));
    can = col != 3;
  }

  QModelIndex Index(int col, int row) const {
    return grid->model()->index(row - (grid->FixedRows() > 0), col - (grid->FixedCols() > 0));
  }
  void ShowActive() {
    Show();
    QApplication::setActiveWindow(this);
    ASSERT_TRUE(QTest::qWaitForWindowActive(this));
    grid->SetFocus();
  }

  StringGrid* grid;
  std::vector<std::string> log;
};

const auto published = Publish<GridWindow>()
                           .Handler("SetText", &GridWindow::SetText)
                           .Handler("ButtonClick", &GridWindow::ButtonClick)
                           .Handler("SelectCell", &GridWindow::SelectCell);

TEST(StringGridTest, CountsAndFixedRowsByName) {
  GridWindow window(nullptr);
  StringGrid* grid = window.grid;
  EXPECT_EQ(GetOrdPropOf(grid, "ColCount"), 8);
  EXPECT_EQ(GetOrdPropOf(grid, "FixedRows"), 1);
  EXPECT_EQ(grid->model()->rowCount(), 1) << "the fixed row is the header";
  EXPECT_EQ(grid->model()->columnCount(), 8);
  EXPECT_TRUE(grid->horizontalHeader()->isVisibleTo(grid));
  EXPECT_FALSE(grid->verticalHeader()->isVisibleTo(grid));
  EXPECT_THROW(grid->SetFixedRows(2), Error);
  SetOrdPropOf(grid, "RowCount", 5);
  EXPECT_EQ(grid->model()->rowCount(), 4);
  // A count that leaves no row beyond the fixed ones takes the fixed rows down with it.
  grid->SetRowCount(1);
  EXPECT_EQ(grid->FixedRows(), 0);
  EXPECT_EQ(GetSetPropOf(grid, "Options"),
            "[goFixedVertLine,goFixedHorzLine,goVertLine,goHorzLine,goRangeSelect,goColSizing,"
            "goEditing]");
}

TEST(StringGridTest, CellsAndHeaders) {
  GridWindow window(nullptr);
  StringGrid* grid = window.grid;
  grid->SetCells(0, 0, "Receiver");
  grid->SetCells(2, 1, "13900000000");
  EXPECT_EQ(grid->Cells(0, 0), "Receiver");
  EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString().toStdString(), "Receiver");
  EXPECT_EQ(window.Index(2, 1).data().toString().toStdString(), "13900000000");
  EXPECT_EQ(grid->Cells(9, 9), "");
  grid->SetCells(9, 9, "ignored");
  grid->SetColWidths(3, 133);
  EXPECT_EQ(grid->horizontalHeader()->sectionSize(3), 133);
  grid->SetRowHeights(0, 18);
  EXPECT_EQ(grid->horizontalHeader()->height(), 18);
  // Rows in and out keep the cells of the other rows.
  grid->SetRowCount(3);
  grid->SetCells(0, 2, "last");
  grid->InsertRow(1);
  EXPECT_EQ(grid->RowCount(), 4);
  EXPECT_EQ(grid->Cells(2, 2), "13900000000");
  EXPECT_EQ(grid->Cells(0, 3), "last");
  grid->DeleteRow(2);
  EXPECT_EQ(grid->Cells(0, 2), "last");
  EXPECT_TRUE(window.log.empty()) << "cells set in code raise no OnSetEditText";
}

TEST(StringGridTest, TheCurrentCellAsksOnSelectCell) {
  GridWindow window(nullptr);
  StringGrid* grid = window.grid;
  grid->SetCol(2);
  EXPECT_EQ(grid->Col(), 2);
  grid->SetCol(3);
  EXPECT_EQ(grid->Col(), 2) << "a refused cell keeps the current one";
  EXPECT_EQ(grid->currentIndex(), window.Index(2, 1));
  EXPECT_THROW(SetPropertyPath(grid, "Row", automation::Variant(0)), Error) << "row 0 is fixed";
  window.ShowActive();
  QTest::keyClick(grid, Qt::Key_Right);  // to column 3: refused
  EXPECT_EQ(grid->Col(), 2);
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualRect(window.Index(5, 1)).center());
  EXPECT_EQ(grid->Col(), 5);
  EXPECT_EQ(window.log,
            (std::vector<std::string>{"select 2,1", "select 3,1", "select 3,1", "select 5,1"}));
}

TEST(StringGridTest, TextEditorsReportEachChange) {
  GridWindow window(nullptr);
  window.ShowActive();
  ASSERT_EQ(window.grid->Col(), 1);  // the first cell that is not fixed
  window.grid->SetEditorMode(true);
  auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
  ASSERT_NE(editor, nullptr);
  QTest::keyClicks(editor, "Li");
  EXPECT_EQ(window.grid->Cells(1, 1), "Li");
  EXPECT_EQ(window.log, (std::vector<std::string>{"set 1,1=L", "set 1,1=Li"}));
  window.grid->SetEditorMode(false);
  EXPECT_FALSE(window.grid->EditorMode());
}

TEST(StringGridTest, EllipsisPickListAndCheckCells) {
  GridWindow window(nullptr);
  StringGrid* grid = window.grid;
  grid->SetColumnEditor(0, {StringGrid::esEllipsis, {}, "Y", "N"});
  grid->SetColumnEditor(4, {StringGrid::esPickList, {"1.System", "5.Portal"}, "Y", "N"});
  grid->SetColumnEditor(5, {StringGrid::esCheckBox, {}, "Y", "N"});
  window.ShowActive();
  // The button of the recipient cell.
  grid->SetCol(0);
  grid->SetEditorMode(true);
  QToolButton* button = grid->viewport()->findChild<QToolButton*>();
  ASSERT_NE(button, nullptr);
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_EQ(grid->Cells(0, 1), "DS");
  auto* edit = grid->viewport()->findChild<QLineEdit*>();
  ASSERT_NE(edit, nullptr);
  EXPECT_EQ(edit->text().toStdString(), "DS") << "the open editor shows what the handler set";
  grid->SetEditorMode(false);
  // The drop-down list of the type cell.
  grid->SetCol(4);
  grid->SetEditorMode(true);
  auto* combo = grid->viewport()->findChild<QComboBox*>();
  ASSERT_NE(combo, nullptr);
  EXPECT_FALSE(combo->isEditable());
  EXPECT_EQ(combo->count(), 2);
  combo->setCurrentIndex(1);
  emit combo->activated(1);
  EXPECT_EQ(grid->Cells(4, 1), "5.Portal");
  grid->SetEditorMode(false);
  // A check cell toggles on a click and reads its checked or unchecked text.
  EXPECT_FALSE(grid->CellChecked(5, 1));
  QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                    grid->visualRect(window.Index(5, 1)).center());
  EXPECT_EQ(grid->Cells(5, 1), "Y");
  EXPECT_EQ(window.Index(5, 1).data(Qt::CheckStateRole).toInt(), Qt::Checked);
  QTest::keyClick(grid, Qt::Key_Space);
  EXPECT_EQ(grid->Cells(5, 1), "N");
  std::vector<std::string> sets;
  for (const std::string& line : window.log)
    if (line.rfind("set", 0) == 0) sets.push_back(line);
  EXPECT_EQ(sets, (std::vector<std::string>{"set 4,1=5.Portal", "set 5,1=Y", "set 5,1=N"}));
}

TEST(StringGridTest, MouseToCellFindsHeadersToo) {
  GridWindow window(nullptr);
  window.Show();
  StringGrid* grid = window.grid;
  const QPoint inCell =
      grid->viewport()->mapTo(grid, grid->visualRect(window.Index(2, 1)).center());
  int col = 0, row = 0;
  ASSERT_TRUE(grid->MouseToCell(inCell.x(), inCell.y(), col, row));
  EXPECT_EQ(col, 2);
  EXPECT_EQ(row, 1);
  QHeaderView* header = grid->horizontalHeader();
  const QPoint inHeader =
      header->mapTo(grid, QPoint(header->sectionViewportPosition(3) + 3, header->height() / 2));
  ASSERT_TRUE(grid->MouseToCell(inHeader.x(), inHeader.y(), col, row));
  EXPECT_EQ(col, 3);
  EXPECT_EQ(row, 0);
  EXPECT_FALSE(grid->MouseToCell(510, 140, col, row));
  EXPECT_EQ(col, -1);
}

}  // namespace
}  // namespace toolkit

#include "StringGrid_test.moc"

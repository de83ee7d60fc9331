// The rows of the selection panel's value list (controls/SelectPnl.h), kept in the list's order
// with what AddRow, duplicate removal, sorting and column auto-size need, at the scale of large
// lists: rows are placed by binary search in a sequence of blocks, duplicates are compared with
// their neighbours only, and the greatest byte length of each column is tracked as rows come and
// go. The list view shows these rows (TZelListView); this store decides their order and content.
//
// A row has cells: cell 0 is its caption (the first column), cell c its sub-item c - 1. Texts are
// the module's 8-bit texts in the system code page.
//
// Order. Without keep-sorted mode rows stay in the order they were added. In keep-sorted mode a
// row is placed by the comparison: the keys of the sort column, then of column 0, then of column
// 1 (each column at most once; a missing cell is an empty key) are compared ignoring letter case
// in the collation of the system locale (the locale of the system code page: 936 Chinese (China),
// 950 Chinese (Taiwan), otherwise English); the outcome is reversed while the direction is
// descending. Rows that compare equal keep the order in which they came, a new row after the
// others. Sort() orders all rows once by the same comparison.
//
// Duplicates. RemoveDuplicates visits the rows from the last to the second and removes a row
// whose caption equals the caption of the row before it: byte for byte (cd_CheckCase) or after
// both are converted to upper case (cd_CaseInsensitive; ASCII letters only, the bytes of
// double-byte characters are kept). After a pass the store knows that no neighbours are equal,
// so the pass after adding one row only needs that row's neighbours; anything that can make new
// neighbours (sorting, removing rows, another mode) makes the next pass a full one again.
#pragma once

#include <QCollator>
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "controls/SelectTypes.h"

struct TZelRow {
  // Cell 0 is the caption, cell c the sub-item c - 1.
  std::vector<std::string> Cells;
  // Selected and focused in the list view (kept while the view's items are rewritten).
  bool Selected = false;
  bool Focused = false;

  const std::string& Caption() const { return Cells[0]; }
  int SubItemCount() const { return static_cast<int>(Cells.size()) - 1; }

 private:
  friend class TZelRowStore;
  // Collation texts of the cells, each made when it is first compared.
  mutable std::vector<QString> keys_;
  mutable std::vector<bool> keyed_;
  long long rank_ = 0;
};

// What happened to the rows since the list view last took them (TZelRowStore::TakeChanges).
struct TZelRowChanges {
  // Everything may have moved: the view rewrites all rows.
  bool Reset = false;
  // Otherwise, in order: a row inserted (Inserted) or removed (!Inserted) at Index, and rows
  // whose cells changed in place.
  struct Step {
    bool Inserted;
    int Index;
  };
  std::vector<Step> Steps;
  std::vector<const TZelRow*> Changed;
  // The rows removed since; they live until the view has taken the changes, so that what the
  // view still holds of them can be read.
  std::vector<std::unique_ptr<TZelRow>> Removed;
};

class TZelRowStore {
 public:
  TZelRowStore();
  ~TZelRowStore();
  TZelRowStore(const TZelRowStore&) = delete;
  TZelRowStore& operator=(const TZelRowStore&) = delete;

  // ---- Order ----
  bool KeepSorted() const { return keep_sorted_; }
  // Turning keep-sorted mode on sorts the rows once.
  void SetKeepSorted(bool on);
  int SortColumn() const { return sort_column_; }
  bool SortAscending() const { return ascending_; }
  // Changes the sort column and direction without sorting.
  void SetSortOrder(int column, bool ascending);
  // Sorts all rows once (stably) by the comparison.
  void Sort();
  // The comparison of two rows: negative, zero or positive.
  int Compare(const TZelRow& a, const TZelRow& b) const;

  // ---- Rows ----
  int Count() const { return count_; }
  const TZelRow& Row(int index) const;
  TZelRow& Row(int index);
  // The index of a row of this store, or -1.
  int IndexOf(const TZelRow* row) const;
  // Adds a row with these cells (at least one) where the order puts it; answers its index.
  int Add(std::vector<std::string> cells);
  void Remove(int index);
  void Clear();
  // Replaces all rows (in the given order, then sorted in keep-sorted mode).
  void Assign(std::vector<std::vector<std::string>> rows);
  // The same with rows made by the caller (who may keep their addresses).
  void AssignRows(std::vector<std::unique_ptr<TZelRow>> rows);
  // Replaces the cells of one row in place (its key, order and duplicates are reconsidered:
  // in keep-sorted mode the rows are sorted again).
  void SetCells(int index, std::vector<std::string> cells);

  // The greatest number of sub-items of a row.
  int MaxSubItems() const;
  // Gives every row with fewer sub-items than the row with the most empty ones up to that count.
  void PadSubItems();

  // ---- Duplicates ----
  void RemoveDuplicates(TCheckDuplicate mode);

  // ---- Column widths ----
  // The greatest byte length among the cells of the column (0 without rows).
  int MaxLength(int column) const;

  // ---- For the list view ----
  TZelRowChanges TakeChanges();
  bool HasChanges() const {
    return changes_.Reset || !changes_.Steps.empty() || !changes_.Changed.empty() ||
           !changes_.Removed.empty();
  }

 private:
  class Sequence;
  // The collation text of one cell (empty for a cell the row lacks).
  const QString& Key(const TZelRow& row, int column) const;
  bool Less(const TZelRow& a, const TZelRow& b) const;
  bool SameCaption(const TZelRow& a, const TZelRow& b, TCheckDuplicate mode) const;
  int InsertRow(std::unique_ptr<TZelRow> row);
  void RemoveAt(int index, bool log);
  void CountCells(const TZelRow& row, int delta);
  void NoteInsert(int index);
  void NoteRemove(int index);
  void NoteReset();

  std::unique_ptr<Sequence> rows_;
  int count_ = 0;
  QCollator collator_;
  bool keep_sorted_ = false;
  int sort_column_ = 0;
  bool ascending_ = true;
  long long next_rank_ = 0;
  // Whether no neighbours have equal captions under `clean_mode_`, and which row was added since.
  bool clean_ = true;
  TCheckDuplicate clean_mode_ = cd_None;
  int added_ = -1;
  // Whether every row has MaxSubItems() sub-items.
  bool even_ = true;
  // Byte lengths of the cells per column: length -> number of cells.
  std::vector<std::map<int, int>> lengths_;
  // Rows per number of sub-items.
  std::map<int, int> sub_counts_;
  TZelRowChanges changes_;
};

// The collation of the system locale (the locale of the system code page), ignoring case.
QCollator SystemCollator();
// The 8-bit text of the system code page as Qt text.
QString SystemText(const std::string& text);
// ASCII letters in upper case; the two bytes of a double-byte character are kept as they are.
std::string UpperCaseText(const std::string& text);

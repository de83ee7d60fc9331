#include "controls/SelectRows.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "support/GbkText.h"

namespace {

using Cells = std::vector<std::string>;

std::vector<Cells> RowsOf(const TZelRowStore& store) {
  std::vector<Cells> rows;
  for (int i = 0; i < store.Count(); ++i) rows.push_back(store.Row(i).Cells);
  return rows;
}

std::vector<std::string> Captions(const TZelRowStore& store) {
  std::vector<std::string> captions;
  for (int i = 0; i < store.Count(); ++i) captions.push_back(store.Row(i).Caption());
  return captions;
}

// The steps of AddRow that the store takes: place, pad, remove duplicates.
void AddRow(TZelRowStore& store, Cells cells, TCheckDuplicate mode) {
  store.Add(std::move(cells));
  store.PadSubItems();
  store.RemoveDuplicates(mode);
}

TEST(SelectRows, KeepsInsertionOrderUnlessSorted) {
  TZelRowStore store;
  for (const char* c : {"b", "a", "c"}) AddRow(store, {c}, cd_None);
  EXPECT_EQ(Captions(store), (std::vector<std::string>{"b", "a", "c"}));
  store.SetKeepSorted(true);
  EXPECT_EQ(Captions(store), (std::vector<std::string>{"a", "b", "c"}));
  AddRow(store, {"B"}, cd_None);
  EXPECT_EQ(Captions(store), (std::vector<std::string>{"a", "b", "B", "c"}));
}

TEST(SelectRows, ComparesTheSortColumnThenColumnsZeroAndOne) {
  TZelRowStore store;
  store.SetKeepSorted(true);
  AddRow(store, {"b", "1", "x"}, cd_None);
  AddRow(store, {"a", "2", "x"}, cd_None);
  AddRow(store, {"a", "1", "y"}, cd_None);
  AddRow(store, {"c", "1", "x"}, cd_None);
  // Column 0: caption, ties by column 1.
  EXPECT_EQ(
      RowsOf(store),
      (std::vector<Cells>{{"a", "1", "y"}, {"a", "2", "x"}, {"b", "1", "x"}, {"c", "1", "x"}}));
  // Column 1 ascending: ties by column 0.
  store.SetSortOrder(1, true);
  EXPECT_EQ(
      RowsOf(store),
      (std::vector<Cells>{{"a", "1", "y"}, {"b", "1", "x"}, {"c", "1", "x"}, {"a", "2", "x"}}));
  // Column 2: ties by column 0, then 1.
  store.SetSortOrder(2, true);
  EXPECT_EQ(
      RowsOf(store),
      (std::vector<Cells>{{"a", "2", "x"}, {"b", "1", "x"}, {"c", "1", "x"}, {"a", "1", "y"}}));
  // Descending reverses the whole comparison.
  store.SetSortOrder(2, false);
  EXPECT_EQ(
      RowsOf(store),
      (std::vector<Cells>{{"a", "1", "y"}, {"c", "1", "x"}, {"b", "1", "x"}, {"a", "2", "x"}}));
}

TEST(SelectRows, IgnoresLetterCaseAndOrdersByTheLocale) {
  TZelRowStore store;
  store.SetKeepSorted(true);
  for (const char* c : {"beta", "Alpha", "alpha2", "GAMMA"}) AddRow(store, {c}, cd_None);
  EXPECT_EQ(Captions(store), (std::vector<std::string>{"Alpha", "alpha2", "beta", "GAMMA"}));
  // Chinese captions in the collation of the Chinese locale (by reading: an 安, bei 北, zhong 中).
  TZelRowStore chinese;
  chinese.SetKeepSorted(true);
  for (const char* c : {"中", "安", "北"}) AddRow(chinese, {Gbk(c)}, cd_None);
  EXPECT_EQ(Captions(chinese), (std::vector<std::string>{Gbk("安"), Gbk("北"), Gbk("中")}));
}

TEST(SelectRows, PadsEveryRowToTheLongest) {
  TZelRowStore store;
  AddRow(store, {"a", "1", "2"}, cd_None);
  AddRow(store, {"b"}, cd_None);
  EXPECT_EQ(store.Row(1).Cells, (Cells{"b", "", ""}));
  AddRow(store, {"c", "1", "2", "3"}, cd_None);
  EXPECT_EQ(store.Row(0).Cells, (Cells{"a", "1", "2", ""}));
  EXPECT_EQ(store.Row(1).Cells, (Cells{"b", "", "", ""}));
  EXPECT_EQ(store.MaxSubItems(), 3);
}

TEST(SelectRows, RemovesNeighboursWithEqualCaptions) {
  const struct {
    const char* name;
    TCheckDuplicate mode;
    bool sorted;
    std::vector<Cells> added;
    std::vector<Cells> expected;
  } cases[] = {
      {"case-insensitive keeps the first", cd_CaseInsensitive, true, {{"ABC"}, {"abc"}}, {{"ABC"}}},
      {"exact keeps both cases", cd_CheckCase, true, {{"ABC"}, {"abc"}}, {{"ABC"}, {"abc"}}},
      {"exact removes the same", cd_CheckCase, true, {{"abc", "1"}, {"abc", "2"}}, {{"abc", "1"}}},
      // The new row sorts before its twin: the older row, now after it, is the one removed.
      {"the earlier row by sort stays", cd_CheckCase, true, {{"x", "2"}, {"x", "1"}}, {{"x", "1"}}},
      // Byte for byte only neighbours count: ABC/3 goes after ABC/1 and leaves; abc/2 then sits
      // between and stays.
      {"neighbours only",
       cd_CheckCase,
       true,
       {{"ABC", "1"}, {"ABC", "3"}, {"abc", "2"}},
       {{"ABC", "1"}, {"abc", "2"}}},
      {"unsorted compares the last two",
       cd_CheckCase,
       false,
       {{"a"}, {"b"}, {"a"}, {"a"}},
       {{"a"}, {"b"}, {"a"}}},
      {"none keeps all", cd_None, true, {{"a"}, {"a"}}, {{"a"}, {"a"}}},
      {"double-byte trail is no letter",
       cd_CaseInsensitive,
       true,
       {{"\xB0\x61"}, {"\xB0\x41"}},
       {{"\xB0\x41"}, {"\xB0\x61"}}},
  };
  for (const auto& c : cases) {
    TZelRowStore store;
    store.SetKeepSorted(c.sorted);
    for (const Cells& cells : c.added) AddRow(store, cells, c.mode);
    EXPECT_EQ(RowsOf(store), c.expected) << c.name;
  }
}

TEST(SelectRows, DuplicatesLeftBeforeTheModeAreRemovedByTheNextPass) {
  TZelRowStore store;
  store.SetKeepSorted(true);
  for (const char* c : {"a", "A", "b", "a"}) AddRow(store, {c}, cd_None);
  EXPECT_EQ(store.Count(), 4);
  AddRow(store, {"c"}, cd_CaseInsensitive);
  EXPECT_EQ(Captions(store), (std::vector<std::string>{"a", "b", "c"}));
  // Removing a row between two equal captions makes them neighbours.
  TZelRowStore other;
  for (const char* c : {"a", "b", "a"}) AddRow(other, {c}, cd_CheckCase);
  other.Remove(1);
  AddRow(other, {"z"}, cd_CheckCase);
  EXPECT_EQ(Captions(other), (std::vector<std::string>{"a", "z"}));
}

TEST(SelectRows, TracksTheGreatestByteLengthPerColumn) {
  TZelRowStore store;
  AddRow(store, {"abc", "x"}, cd_None);
  AddRow(store, {Gbk("退货单"), "xyzw"}, cd_None);
  EXPECT_EQ(store.MaxLength(0), 6);
  EXPECT_EQ(store.MaxLength(1), 4);
  store.Remove(1);
  EXPECT_EQ(store.MaxLength(0), 3);
  EXPECT_EQ(store.MaxLength(1), 1);
  store.Clear();
  EXPECT_EQ(store.MaxLength(0), 0);
}

TEST(SelectRows, FindsRowsByIdentity) {
  TZelRowStore store;
  store.SetKeepSorted(true);
  for (int i = 0; i < 3000; ++i) AddRow(store, {std::to_string((i * 7919) % 3001)}, cd_None);
  for (int i = 0; i < store.Count(); i += 97) EXPECT_EQ(store.IndexOf(&store.Row(i)), i);
  store.SetKeepSorted(false);
  for (int i = 0; i < store.Count(); i += 97) EXPECT_EQ(store.IndexOf(&store.Row(i)), i);
  TZelRow stranger;
  stranger.Cells = {"1"};
  EXPECT_EQ(store.IndexOf(&stranger), -1);
}

// The rows as the list itself would hold them: every add appends and sorts the whole list
// (stably), pads, and runs the full duplicate pass from the last row to the second.
class NaiveList {
 public:
  explicit NaiveList(const TZelRowStore& order) : order_(order) {}
  void Add(Cells cells, TCheckDuplicate mode, bool sorted) {
    rows_.push_back(std::move(cells));
    if (sorted) Sort();
    size_t most = 0;
    for (const Cells& r : rows_) most = std::max(most, r.size());
    for (Cells& r : rows_) r.resize(most);
    if (mode == cd_None) return;
    for (size_t i = rows_.size() - 1; i >= 1; --i) {
      const bool same = mode == cd_CheckCase
                            ? rows_[i][0] == rows_[i - 1][0]
                            : UpperCaseText(rows_[i][0]) == UpperCaseText(rows_[i - 1][0]);
      if (same) rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(i));
    }
  }
  void Sort() {
    std::stable_sort(rows_.begin(), rows_.end(), [this](const Cells& a, const Cells& b) {
      TZelRow ra, rb;
      ra.Cells = a;
      rb.Cells = b;
      return order_.Compare(ra, rb) < 0;
    });
  }
  void Remove(size_t index) { rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(index)); }
  const std::vector<Cells>& Rows() const { return rows_; }

 private:
  const TZelRowStore& order_;
  std::vector<Cells> rows_;
};

TEST(SelectRows, AgreesWithTheWholeListRulesOverRandomWork) {
  std::mt19937 random(27);
  const char* captions[] = {"a", "A", "b", "B", "ab", "Ab", "c", "\xB0\xA1", "\xB0\xA2"};
  for (int round = 0; round < 20; ++round) {
    TZelRowStore store;
    NaiveList naive(store);
    bool sorted = round % 4 != 0;
    store.SetKeepSorted(sorted);
    TCheckDuplicate mode = static_cast<TCheckDuplicate>(round % 3);
    for (int step = 0; step < 300; ++step) {
      const int what = static_cast<int>(random() % 40);
      if (what == 0 && store.Count() > 0) {
        const int index = static_cast<int>(random() % store.Count());
        store.Remove(index);
        naive.Remove(static_cast<size_t>(index));
      } else if (what == 1) {
        // A header click: new order, sorted once.
        const int column = static_cast<int>(random() % 3);
        const bool ascending = random() % 2 == 0;
        store.SetSortOrder(column, ascending);
        if (!sorted) store.Sort();
        naive.Sort();
      } else if (what == 2) {
        mode = static_cast<TCheckDuplicate>(random() % 3);
      } else {
        Cells cells{captions[random() % std::size(captions)]};
        const int more = static_cast<int>(random() % 3);
        for (int i = 0; i < more; ++i) cells.push_back(std::to_string(random() % 3));
        AddRow(store, cells, mode);
        naive.Add(cells, mode, sorted);
      }
      ASSERT_EQ(RowsOf(store), naive.Rows()) << "round " << round << " step " << step;
    }
  }
}

}  // namespace

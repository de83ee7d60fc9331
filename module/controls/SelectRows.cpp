#include "controls/SelectRows.h"

#include <QLocale>
#include <algorithm>
#include <stdexcept>

#include "os/CodePage.h"

namespace {

// Blocks of the row sequence hold up to twice this many rows.
constexpr int kBlock = 512;
// More steps than this and the list view rewrites all rows instead.
constexpr size_t kMaxSteps = 64;

bool IsAscii(const std::string& text) {
  for (unsigned char c : text)
    if (c >= 0x80) return false;
  return true;
}

}  // namespace

QCollator SystemCollator() {
  QLocale locale;
  switch (os::SystemCodePage()) {
    case os::CP_GBK:
      locale = QLocale(QLocale::Chinese, QLocale::China);
      break;
    case os::CP_BIG5:
      locale = QLocale(QLocale::Chinese, QLocale::Taiwan);
      break;
    default:
      locale = QLocale(QLocale::English, QLocale::UnitedStates);
      break;
  }
  QCollator collator(locale);
  collator.setCaseSensitivity(Qt::CaseInsensitive);
  return collator;
}

QString SystemText(const std::string& text) {
  if (IsAscii(text)) return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
  return QString::fromStdU16String(os::AnsiToWide(text, os::SystemCodePage()));
}

std::string UpperCaseText(const std::string& text) {
  std::string upper = text;
  const int codePage = os::SystemCodePage();
  for (size_t i = 0; i < upper.size(); ++i) {
    const unsigned char c = static_cast<unsigned char>(upper[i]);
    if (os::IsLeadByte(c, codePage) && i + 1 < upper.size()) {
      ++i;  // the trail byte may look like a letter; it is not one
      continue;
    }
    if (c >= 'a' && c <= 'z') upper[i] = static_cast<char>(c - 'a' + 'A');
  }
  return upper;
}

// ---- The row sequence: blocks of rows with the index of each block's first row. ----

class TZelRowStore::Sequence {
 public:
  int Size() const { return size_; }

  TZelRow& At(int index) {
    const auto [block, offset] = Locate(index);
    return *blocks_[block][offset];
  }

  void Insert(int index, std::unique_ptr<TZelRow> row) {
    if (blocks_.empty()) blocks_.emplace_back();
    size_t block = blocks_.size() - 1;
    size_t offset = blocks_[block].size();
    if (index < size_) std::tie(block, offset) = Locate(index);
    auto& rows = blocks_[block];
    rows.insert(rows.begin() + static_cast<std::ptrdiff_t>(offset), std::move(row));
    ++size_;
    if (rows.size() > 2 * kBlock) {
      std::vector<std::unique_ptr<TZelRow>> tail(std::make_move_iterator(rows.begin() + kBlock),
                                                 std::make_move_iterator(rows.end()));
      rows.resize(kBlock);
      blocks_.insert(blocks_.begin() + static_cast<std::ptrdiff_t>(block) + 1, std::move(tail));
    }
    starts_valid_ = false;
  }

  std::unique_ptr<TZelRow> Remove(int index) {
    const auto [block, offset] = Locate(index);
    auto& rows = blocks_[block];
    std::unique_ptr<TZelRow> row = std::move(rows[offset]);
    rows.erase(rows.begin() + static_cast<std::ptrdiff_t>(offset));
    if (rows.empty()) blocks_.erase(blocks_.begin() + static_cast<std::ptrdiff_t>(block));
    --size_;
    starts_valid_ = false;
    return row;
  }

  void Clear() {
    blocks_.clear();
    size_ = 0;
    starts_valid_ = false;
  }

  // All rows in order, taken out of the sequence.
  std::vector<std::unique_ptr<TZelRow>> TakeAll() {
    std::vector<std::unique_ptr<TZelRow>> all;
    all.reserve(static_cast<size_t>(size_));
    for (auto& rows : blocks_)
      for (auto& row : rows) all.push_back(std::move(row));
    Clear();
    return all;
  }

  void PutAll(std::vector<std::unique_ptr<TZelRow>> all) {
    Clear();
    for (size_t at = 0; at < all.size(); at += kBlock) {
      const size_t end = std::min(all.size(), at + kBlock);
      blocks_.emplace_back(std::make_move_iterator(all.begin() + static_cast<std::ptrdiff_t>(at)),
                           std::make_move_iterator(all.begin() + static_cast<std::ptrdiff_t>(end)));
    }
    size_ = static_cast<int>(all.size());
  }

  // The first index whose row is not less than... the position the predicate `before(row)`
  // (true for the rows that go before) splits the sequence at; the rows must be partitioned.
  template <class Before>
  int PartitionPoint(Before before) {
    // Whole blocks first, then within the block.
    size_t lo = 0, hi = blocks_.size();
    while (lo < hi) {
      const size_t mid = (lo + hi) / 2;
      if (before(*blocks_[mid].back())) {
        lo = mid + 1;
      } else {
        hi = mid;
      }
    }
    if (lo == blocks_.size()) return size_;
    Starts();
    const auto& rows = blocks_[lo];
    const auto it = std::partition_point(
        rows.begin(), rows.end(), [&](const std::unique_ptr<TZelRow>& r) { return before(*r); });
    return starts_[lo] + static_cast<int>(it - rows.begin());
  }

 private:
  void Starts() {
    if (starts_valid_) return;
    starts_.resize(blocks_.size());
    int at = 0;
    for (size_t i = 0; i < blocks_.size(); ++i) {
      starts_[i] = at;
      at += static_cast<int>(blocks_[i].size());
    }
    starts_valid_ = true;
  }

  std::pair<size_t, size_t> Locate(int index) {
    if (index < 0 || index >= size_) throw std::out_of_range("row index out of range");
    Starts();
    const auto it = std::upper_bound(starts_.begin(), starts_.end(), index);
    const size_t block = static_cast<size_t>(it - starts_.begin()) - 1;
    return {block, static_cast<size_t>(index - starts_[block])};
  }

  std::vector<std::vector<std::unique_ptr<TZelRow>>> blocks_;
  std::vector<int> starts_;
  bool starts_valid_ = false;
  int size_ = 0;
};

// ---- TZelRowStore ----

TZelRowStore::TZelRowStore() : rows_(std::make_unique<Sequence>()), collator_(SystemCollator()) {}

TZelRowStore::~TZelRowStore() = default;

const QString& TZelRowStore::Key(const TZelRow& row, int column) const {
  static const QString empty;
  if (column < 0 || column >= static_cast<int>(row.Cells.size())) return empty;
  if (row.keys_.size() != row.Cells.size()) {
    row.keys_.resize(row.Cells.size());
    row.keyed_.resize(row.Cells.size(), false);
  }
  if (!row.keyed_[static_cast<size_t>(column)]) {
    row.keys_[static_cast<size_t>(column)] = SystemText(row.Cells[static_cast<size_t>(column)]);
    row.keyed_[static_cast<size_t>(column)] = true;
  }
  return row.keys_[static_cast<size_t>(column)];
}

int TZelRowStore::Compare(const TZelRow& a, const TZelRow& b) const {
  int columns[3] = {sort_column_, 0, 1};
  int n = 3;
  if (sort_column_ == 0) {
    columns[1] = 1;
    n = 2;
  } else if (sort_column_ == 1) {
    columns[1] = 0;
    n = 2;
  }
  for (int i = 0; i < n; ++i) {
    const int result = collator_.compare(Key(a, columns[i]), Key(b, columns[i]));
    if (result != 0) return ascending_ ? result : -result;
  }
  return 0;
}

bool TZelRowStore::Less(const TZelRow& a, const TZelRow& b) const {
  const int result = Compare(a, b);
  return result < 0 || (result == 0 && a.rank_ < b.rank_);
}

void TZelRowStore::SetKeepSorted(bool on) {
  if (on == keep_sorted_) return;
  keep_sorted_ = on;
  if (on) {
    Sort();
  } else {
    // Outside keep-sorted mode the ranks follow the rows' places.
    for (int i = 0; i < count_; ++i) rows_->At(i).rank_ = i;
    next_rank_ = count_;
  }
}

void TZelRowStore::SetSortOrder(int column, bool ascending) {
  if (column < 0) column = 0;
  if (column == sort_column_ && ascending == ascending_) return;
  sort_column_ = column;
  ascending_ = ascending;
  if (keep_sorted_) Sort();
}

void TZelRowStore::Sort() {
  std::vector<std::unique_ptr<TZelRow>> all = rows_->TakeAll();
  std::stable_sort(all.begin(), all.end(),
                   [this](const std::unique_ptr<TZelRow>& a, const std::unique_ptr<TZelRow>& b) {
                     return Compare(*a, *b) < 0;
                   });
  for (size_t i = 0; i < all.size(); ++i) all[i]->rank_ = static_cast<long long>(i);
  next_rank_ = static_cast<long long>(all.size());
  rows_->PutAll(std::move(all));
  clean_ = false;
  added_ = -1;
  NoteReset();
}

const TZelRow& TZelRowStore::Row(int index) const {
  return rows_->At(index);
}

TZelRow& TZelRowStore::Row(int index) {
  return rows_->At(index);
}

int TZelRowStore::IndexOf(const TZelRow* row) const {
  if (!row || count_ == 0) return -1;
  int index;
  if (keep_sorted_) {
    index = rows_->PartitionPoint([&](const TZelRow& r) { return Less(r, *row); });
  } else {
    index = rows_->PartitionPoint([&](const TZelRow& r) { return r.rank_ < row->rank_; });
  }
  return index < count_ && &rows_->At(index) == row ? index : -1;
}

int TZelRowStore::InsertRow(std::unique_ptr<TZelRow> row) {
  row->rank_ = next_rank_++;
  int index = count_;
  if (keep_sorted_) {
    const TZelRow& added = *row;
    // After every row that does not sort after the new one.
    index = rows_->PartitionPoint([&](const TZelRow& r) { return Compare(r, added) <= 0; });
  }
  CountCells(*row, +1);
  rows_->Insert(index, std::move(row));
  ++count_;
  NoteInsert(index);
  return index;
}

int TZelRowStore::Add(std::vector<std::string> cells) {
  if (cells.empty()) throw std::invalid_argument("a row needs at least one cell");
  auto row = std::make_unique<TZelRow>();
  row->Cells = std::move(cells);
  const int index = InsertRow(std::move(row));
  // One added row can be checked against its neighbours; a second one before the check cannot.
  if (added_ >= 0) clean_ = false;
  added_ = index;
  return index;
}

void TZelRowStore::RemoveAt(int index, bool log) {
  std::unique_ptr<TZelRow> row = rows_->Remove(index);
  --count_;
  CountCells(*row, -1);
  auto& changed = changes_.Changed;
  changed.erase(std::remove(changed.begin(), changed.end(), row.get()), changed.end());
  changes_.Removed.push_back(std::move(row));
  if (log) NoteRemove(index);
}

void TZelRowStore::Remove(int index) {
  RemoveAt(index, true);
  // The rows on either side are neighbours now.
  clean_ = false;
  added_ = -1;
}

void TZelRowStore::Clear() {
  for (auto& row : rows_->TakeAll()) changes_.Removed.push_back(std::move(row));
  count_ = 0;
  lengths_.clear();
  sub_counts_.clear();
  next_rank_ = 0;
  clean_ = true;
  added_ = -1;
  NoteReset();
  changes_.Changed.clear();
}

void TZelRowStore::Assign(std::vector<std::vector<std::string>> rows) {
  std::vector<std::unique_ptr<TZelRow>> made;
  made.reserve(rows.size());
  for (auto& cells : rows) {
    auto row = std::make_unique<TZelRow>();
    row->Cells = std::move(cells);
    made.push_back(std::move(row));
  }
  AssignRows(std::move(made));
}

void TZelRowStore::AssignRows(std::vector<std::unique_ptr<TZelRow>> rows) {
  Clear();
  const bool sorted = keep_sorted_;
  keep_sorted_ = false;
  for (auto& row : rows) {
    if (row->Cells.empty()) row->Cells.emplace_back();
    InsertRow(std::move(row));
  }
  keep_sorted_ = sorted;
  if (keep_sorted_) Sort();
  clean_ = count_ < 2;
  added_ = -1;
  NoteReset();
}

void TZelRowStore::SetCells(int index, std::vector<std::string> cells) {
  if (cells.empty()) cells.emplace_back();
  TZelRow& row = rows_->At(index);
  CountCells(row, -1);
  const bool captionChanged = row.Cells[0] != cells[0];
  row.Cells = std::move(cells);
  row.keys_.clear();
  row.keyed_.clear();
  CountCells(row, +1);
  changes_.Changed.push_back(&row);
  if (captionChanged) {
    clean_ = false;
    added_ = -1;
  }
  if (keep_sorted_) Sort();
}

int TZelRowStore::MaxSubItems() const {
  return sub_counts_.empty() ? 0 : sub_counts_.rbegin()->first;
}

void TZelRowStore::PadSubItems() {
  if (sub_counts_.size() <= 1) return;
  const int target = MaxSubItems();
  const auto pad = [&](TZelRow& row) {
    if (row.SubItemCount() >= target) return;
    CountCells(row, -1);
    row.Cells.resize(static_cast<size_t>(target) + 1);
    if (!row.keys_.empty()) {
      row.keys_.resize(row.Cells.size());
      row.keyed_.resize(row.Cells.size(), false);
    }
    CountCells(row, +1);
    changes_.Changed.push_back(&row);
  };
  // Usually only the row just added is short: pad it alone.
  if (added_ >= 0 && added_ < count_ && sub_counts_.size() == 2 &&
      sub_counts_.begin()->second == 1 &&
      rows_->At(added_).SubItemCount() == sub_counts_.begin()->first) {
    pad(rows_->At(added_));
  } else {
    for (int i = 0; i < count_; ++i) pad(rows_->At(i));
  }
  if (changes_.Changed.size() > kMaxSteps) NoteReset();
}

bool TZelRowStore::SameCaption(const TZelRow& a, const TZelRow& b, TCheckDuplicate mode) const {
  if (mode == cd_CaseInsensitive) return UpperCaseText(a.Caption()) == UpperCaseText(b.Caption());
  return a.Caption() == b.Caption();
}

void TZelRowStore::RemoveDuplicates(TCheckDuplicate mode) {
  if (mode == cd_None) return;
  // A list without equal neighbours ignoring case has none byte for byte either.
  const bool cleanForMode = clean_ && (clean_mode_ == mode || clean_mode_ == cd_CaseInsensitive);
  if (cleanForMode) {
    if (added_ >= 0 && added_ < count_) {
      // Only the new row's neighbours: first the pair after it, then the pair before, as the
      // pass from the last row down meets them.
      const int p = added_;
      if (p + 1 < count_ && SameCaption(rows_->At(p), rows_->At(p + 1), mode))
        RemoveAt(p + 1, true);
      if (p > 0 && SameCaption(rows_->At(p - 1), rows_->At(p), mode)) RemoveAt(p, true);
    }
  } else {
    for (int i = count_ - 1; i >= 1; --i) {
      if (SameCaption(rows_->At(i), rows_->At(i - 1), mode)) RemoveAt(i, true);
    }
  }
  clean_ = true;
  clean_mode_ = mode;
  added_ = -1;
}

int TZelRowStore::MaxLength(int column) const {
  if (column < 0 || column >= static_cast<int>(lengths_.size()) || lengths_[column].empty()) {
    return 0;
  }
  return lengths_[column].rbegin()->first;
}

void TZelRowStore::CountCells(const TZelRow& row, int delta) {
  if (lengths_.size() < row.Cells.size()) lengths_.resize(row.Cells.size());
  for (size_t c = 0; c < row.Cells.size(); ++c) {
    auto& counts = lengths_[c];
    const int length = static_cast<int>(row.Cells[c].size());
    if ((counts[length] += delta) <= 0) counts.erase(length);
  }
  if ((sub_counts_[row.SubItemCount()] += delta) <= 0) sub_counts_.erase(row.SubItemCount());
}

void TZelRowStore::NoteInsert(int index) {
  if (changes_.Reset) return;
  changes_.Steps.push_back({true, index});
  if (changes_.Steps.size() > kMaxSteps) NoteReset();
}

void TZelRowStore::NoteRemove(int index) {
  if (changes_.Reset) return;
  changes_.Steps.push_back({false, index});
  if (changes_.Steps.size() > kMaxSteps) NoteReset();
}

void TZelRowStore::NoteReset() {
  changes_.Reset = true;
  changes_.Steps.clear();
}

TZelRowChanges TZelRowStore::TakeChanges() {
  TZelRowChanges taken = std::move(changes_);
  changes_ = {};
  return taken;
}

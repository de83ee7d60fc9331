// The selection panel's value list at scale: AddRow of many rows with the duplicate check
// (ignoring case) and keep-sorted mode on, beside the same rows inserted into a plain
// QTreeWidget and sorted once. The panel's rows reach its list view once the batch is over;
// BM_PanelAddRowShown includes that step.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTreeWidget>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "controls/SelectPnl.h"

namespace {

struct Rows {
  std::vector<std::vector<std::string>> gbk;
  std::vector<QStringList> qt;
};

// Document numbers with a name each; about one in five repeats an earlier number, often in
// other letter case.
const Rows& TestRows(int count) {
  static std::map<int, Rows> made;
  auto it = made.find(count);
  if (it != made.end()) return it->second;
  Rows rows;
  std::mt19937 random(5);
  for (int i = 0; i < count; ++i) {
    const unsigned n = random() % static_cast<unsigned>(count * 4 / 5 + 1);
    std::string code = (random() % 2 ? "th" : "TH") + std::to_string(1000000 + n);
    std::string name = "Supplier " + std::to_string(random() % 5000);
    rows.qt.push_back({QString::fromStdString(code), QString::fromStdString(name)});
    rows.gbk.push_back({std::move(code), std::move(name)});
  }
  return made.emplace(count, std::move(rows)).first->second;
}

void BM_PanelAddRow(benchmark::State& state) {
  const Rows& rows = TestRows(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TSelectPanel panel(nullptr);
    panel.SetStyle(sp_Discrete);
    panel.SetCheckDuplicate(cd_CaseInsensitive);
    for (const auto& row : rows.gbk) panel.ListBox()->AddRow(row);
    benchmark::DoNotOptimize(panel.ListBox()->RowCount());
    state.PauseTiming();
    state.counters["rows kept"] = panel.ListBox()->RowCount();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_PanelAddRow)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_TreeWidgetInsertAndSortOnce(benchmark::State& state) {
  const Rows& rows = TestRows(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    QTreeWidget tree;
    tree.setColumnCount(2);
    for (const QStringList& row : rows.qt) tree.addTopLevelItem(new QTreeWidgetItem(row));
    tree.sortItems(0, Qt::AscendingOrder);
    benchmark::DoNotOptimize(tree.topLevelItemCount());
  }
}
BENCHMARK(BM_TreeWidgetInsertAndSortOnce)->Arg(100000)->Unit(benchmark::kMillisecond);

// AddRow and the list view showing the rows.
void BM_PanelAddRowShown(benchmark::State& state) {
  const Rows& rows = TestRows(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    TSelectPanel panel(nullptr);
    panel.SetStyle(sp_Discrete);
    panel.SetCheckDuplicate(cd_CaseInsensitive);
    for (const auto& row : rows.gbk) panel.ListBox()->AddRow(row);
    panel.ListBox()->Flush();
    benchmark::DoNotOptimize(panel.ListBox()->Items()->Count());
  }
}
BENCHMARK(BM_PanelAddRowShown)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);

// What every BM_PanelAddRowShown iteration pays before its first row: making the panel (with
// its buttons' pictures) and destroying it.
void BM_PanelCreate(benchmark::State& state) {
  for (auto _ : state) {
    TSelectPanel panel(nullptr);
    panel.SetStyle(sp_Discrete);
    panel.SetCheckDuplicate(cd_CaseInsensitive);
    benchmark::DoNotOptimize(panel.ListBox());
  }
}
BENCHMARK(BM_PanelCreate)->Unit(benchmark::kMillisecond);

void BM_TreeWidgetSmall(benchmark::State& state) {
  BM_TreeWidgetInsertAndSortOnce(state);
}
BENCHMARK(BM_TreeWidgetSmall)
    ->Arg(500)
    ->Arg(1000)
    ->Arg(2000)
    ->Arg(5000)
    ->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

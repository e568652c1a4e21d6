// Times the grid on 200000 rows of every column type (grid_bench.rc): sorts of
// rows already in order, in reverse order, all equal and in random order; a
// save to a comma-separated file and a load from it; and a grid editor made
// from the grid field.  Each should take well under a second.
#include <windows.h>

#include <array>
#include <cstdio>
#include <functional>
#include <random>
#include <string>

#include "benchmarks/benchmark.h"
#include "toolkit/core/child_windows.h"
#include "toolkit/core/error_reporter.h"
#include "toolkit/core/root_window.h"
#include "toolkit/core/window_select.h"
#include "toolkit/core/window_table.h"
#include "toolkit/dialogs/dialog_lifecycle.h"
#include "toolkit/dialogs/dialog_table.h"
#include "toolkit/grid/grid_editor.h"
#include "toolkit/grid/grid_field.h"
#include "toolkit/grid/grid_files.h"
#include "toolkit/grid/grid_rows.h"
#include "toolkit/grid/grid_window.h"

namespace {

constexpr int kDialog = 900;
constexpr int kGrid = 901;
constexpr int kRows = 200000;
constexpr int kIntegerColumn = 2;  // 1-based, as the routines count
constexpr int kDoubleColumn = 4;
constexpr char kCsvFile[] = "grid_bench.csv";

// The root window and the dialog with the grid field, once for the program.
GridRecord& benchGrid() {
  static bool open = false;
  if (!open) {
    RootWindowOptions options;
    options.flags = 0x67;
    options.x = kCentred;
    options.y = kCentred;
    options.width = 512;
    options.height = 256;
    options.title = "Grid benchmark";
    WindowOpen2(options);
    WDialogLoad(kDialog);
    open = true;
  }
  WDialogSelect(kDialog);
  return *gridRecordOf(GetDlgItem(currentDialogWindow(), kGrid));
}

// Every row filled straight into the columns: the sort keys in the integer
// column, an order of its own in the double column.
void fill(const std::function<int(int)>& key) {
  GridRecord& grid = benchGrid();
  std::mt19937 random(34);
  constexpr unsigned char kValue = kRowStored | kRowPresent;
  for (int row = 0; row < kRows; ++row) {
    YYGridStoreText(grid.columnList[0], row, "Place " + std::to_string(row % 9973));
    YYGridStoreNumber(grid.columnList[1], row, key(row));
    YYGridStoreNumber(grid.columnList[2], row, 50.0 + row / 64.0);
    YYGridStoreNumber(grid.columnList[3], row, static_cast<double>(random() % 100000) / 4.0);
    YYGridStoreRaw(grid.columnList[4], row, row % 3 == 0 ? 1 : 0);
    YYGridStoreRaw(grid.columnList[5], row, row % 3);
    for (int c = 1; c <= 3; ++c) grid.columnList[static_cast<std::size_t>(c)].flags[static_cast<std::size_t>(row)] |= kValue;
  }
  YYGridLoadCells(grid);
}

void reportErrors(const char* what) {
  if (errorState.lastError != 0) std::fprintf(stderr, "%s: toolkit error %d\n", what, errorState.lastError);
  errorState.lastError = 0;
}

// A sort case: the keys, and the sort each run does; a run must leave the
// rows as the case's next run expects them.
void sortCase(const char* name, std::function<int(int)> key, std::function<void()> run) {
  bench::Benchmark{bench::Case{name, [key] { fill(key); }, [run, name] {
                                 run();
                                 reportErrors(name);
                               }}};
}

const bool registered = [] {
  sortCase("grid sort 200000 rows in order", [](int row) { return row; },
           [] { WGridSort(kGrid, kIntegerColumn); });
  // Reverse order every time: each run sorts the other way round.
  sortCase("grid sort 200000 rows in reverse order", [](int row) { return kRows - row; }, [] {
    static int flags = 0;
    WGridSort(kGrid, kIntegerColumn, flags);
    flags ^= 1;
  });
  sortCase("grid sort 200000 rows all equal", [](int) { return 7; }, [] { WGridSort(kGrid, kIntegerColumn); });
  // Random order every time: two independent random columns, sorted in turn.
  sortCase("grid sort 200000 rows in random order",
           [](int row) { return static_cast<int>((static_cast<unsigned>(row) * 2654435761u) % 1000003u); }, [] {
             static bool first = true;
             WGridSort(kGrid, first ? kIntegerColumn : kDoubleColumn);
             first = !first;
           });

  bench::Benchmark{bench::Case{"grid CSV save 200000 rows", [] { fill([](int row) { return row; }); },
                               [] {
                                 WGridSave(kGrid, kCsvFile);
                                 reportErrors("grid CSV save");
                               }}};
  bench::Benchmark{bench::Case{"grid CSV load 200000 rows",
                               [] {
                                 fill([](int row) { return row; });
                                 WGridSave(kGrid, kCsvFile);
                               },
                               [] {
                                 WGridLoad(kGrid, kCsvFile);
                                 reportErrors("grid CSV load");
                               }}};
  // A child window made and turned into an editor of the field, then closed.
  bench::Benchmark{bench::Case{"grid editor opened on 200000 rows", [] { fill([](int row) { return row; }); },
                               [] {
                                 int slot = 0;
                                 int dialog = 0;
                                 YYChildWindowCreate(10, 10, 520, 420, slot, 0x27 | kFlagStatusBar, 0,
                                                     std::array<int, 4>{}, dialog, 0, "Grid editor");
                                 YYWINSEL(slot, 0);
                                 int status = -1;
                                 int mode = kShowModeless;
                                 YYGridEditorCreate(status, kGrid, mode, 0, 0, -1, "", "");
                                 if (status != kEditorDone) std::fprintf(stderr, "grid editor: status %d\n", status);
                                 HWND combined = nullptr;
                                 YYChildWindowClose(slot, combined);
                                 reportErrors("grid editor");
                               }}};
  return true;
}();

}  // namespace

// Loads a workbook through TMSExcel::LoadFromFile and takes CellText of every
// cell of every sheet, the way the workbook preview fills its grids; prints
// the time of the best of N runs, the cell count and the peak memory.
// Usage: workbook_bench FILE [RUNS]
#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/text1252.h"
#include "workbook/cell_text.h"
#include "workbook/msexcel.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: workbook_bench FILE [RUNS]\n");
    return 2;
  }
  const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
  double best = 1e30;
  size_t cells = 0, bytes = 0;
  for (int run = 0; run < runs; ++run) {
    const auto start = std::chrono::steady_clock::now();
    sp::TMSExcel reader;
    reader.LoadFromFile(sp::Utf8ToAnsi(argv[1]));
    cells = bytes = 0;
    for (int32_t s = 0; s < reader.Sheets().Count(); ++s) {
      const sp::TSpreadSheetCells& sheet = reader.Sheets().Sheet(s).Cells;
      for (int32_t r = 0; r < sheet.RowCount(); ++r)
        for (int32_t c = 0; c < sheet.ColCount(); ++c) {
          const std::string text = sp::CellText(sheet.GetCell(c, r));
          bytes += text.size();
          cells += !text.empty();
        }
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (seconds < best) best = seconds;
  }
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("sheetpull: %.3f s (best of %d), %zu cells, %zu text bytes, peak RSS %.1f MB\n", best, runs, cells, bytes,
              usage.ru_maxrss / 1024.0);
  return 0;
}

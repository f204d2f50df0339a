// Saves and loads a grid of 10,000 rows x 17 columns, every row with a
// second line, through the grid stream in memory. Prints the median and the
// fastest of each direction and checks that the loaded grid equals the saved
// one. Goal: under 50 ms each way.
//
// Usage: gridstream_bench [runs]   (default 15)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "datagrid/griddata.h"
#include "platform/stream.h"

namespace {

constexpr int kRows = 10000;
constexpr int kColumns = 17;

void DescribeColumns(sp::TDataGridData& grid) {
  grid.SetColCount(kColumns);
  for (int c = 1; c < kColumns; ++c) grid.Columns()[c].SetFieldName("Feld" + std::to_string(c));
  grid.Columns()[3].NumericKind = sp::deInteger;
  grid.UseSecondLine = true;
}

// Texts like an order line: positions, amounts with decimals, descriptions.
void Fill(sp::TDataGridData& grid) {
  grid.SetRowCount(kRows + 1);
  for (int r = 1; r <= kRows; ++r) {
    grid.SetCell(0, r, r % 7 == 0 ? "t" : "*");
    for (int c = 1; c < kColumns; ++c) {
      std::string text;
      switch (c % 4) {
        case 0: text = std::to_string(r * c % 997) + "," + std::to_string(r % 100); break;
        case 1: text = "Bezeichnung " + std::to_string(r) + " \"Typ " + std::to_string(c) + "\""; break;
        case 2: text = "ART-" + std::to_string(100000 + r * 13 % 90000); break;
        default: text = std::to_string(r % 50 + 1); break;
      }
      grid.SetCell(c, r, text);
    }
    grid.SetSecondLine(r, "Langtext zur Position " + std::to_string(r) + "\r\nzweite Zeile mit 5 % Rabatt\r\nEnde");
  }
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Milliseconds(std::chrono::steady_clock::time_point since) {
  return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 15;
  sp::TDataGridData source;
  DescribeColumns(source);
  Fill(source);

  std::vector<double> saveTimes, loadTimes;
  std::string bytes;
  bool equal = true;
  for (int run = 0; run < runs; ++run) {
    sp::TMemoryStream stream;
    auto start = std::chrono::steady_clock::now();
    if (!source.SaveToStream(stream)) return 1;
    saveTimes.push_back(Milliseconds(start));
    bytes = stream.Bytes();

    sp::TDataGridData target;
    DescribeColumns(target);
    stream.SetPosition(0);
    start = std::chrono::steady_clock::now();
    if (!target.LoadFromStream(stream)) return 1;
    loadTimes.push_back(Milliseconds(start));
    if (run == 0) {
      equal = target.RowCount() == source.RowCount();
      for (int r = 1; equal && r < source.RowCount(); ++r) {
        for (int c = -2; c < kColumns; ++c) {
          if (c != -1 && target.Cell(c, r) != source.Cell(c, r)) equal = false;
        }
      }
    }
  }
  std::printf("grid stream, %d rows x %d columns with second lines, %zu bytes, %d runs\n", kRows, kColumns,
              bytes.size(), runs);
  std::printf("save: median %.2f ms, fastest %.2f ms\n", Median(saveTimes),
              *std::min_element(saveTimes.begin(), saveTimes.end()));
  std::printf("load: median %.2f ms, fastest %.2f ms\n", Median(loadTimes),
              *std::min_element(loadTimes.begin(), loadTimes.end()));
  std::printf("loaded grid equals saved grid: %s\n", equal ? "yes" : "NO");
  return equal ? 0 : 1;
}

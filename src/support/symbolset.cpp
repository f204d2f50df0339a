#include "support/symbolset.h"

#include <algorithm>

namespace sp {

std::string DefaultSymbolSet() {
  std::string set;
  auto addRange = [&set](int first, int last) {
    for (int b = first; b <= last; ++b) set += static_cast<char>(b);
  };
  addRange(0x84, 0x8B);
  addRange(0x91, 0x99);
  set += "\x9B";
  addRange(0xA2, 0xBF);
  set += "\xD7\xD8\xF8\xF7";
  set += "(m\xB2)(m\xB3)";
  set += "\x8D\xBC\xBD\xBE\xB2\xB3\xB0\xD8";
  return set;
}

std::vector<std::string> SymbolCells(std::string_view symbols) {
  std::vector<std::string> cells;
  size_t at = 0;
  while (at < symbols.size()) {
    if (symbols[at] == '(') {
      const size_t close = symbols.find(')', at + 1);
      if (close != std::string_view::npos) {
        if (close > at + 1) cells.emplace_back(symbols.substr(at + 1, close - at - 1));
        at = close + 1;
        continue;
      }
    }
    cells.emplace_back(1, symbols[at]);
    ++at;
  }
  return cells;
}

int ClampSymbolCellSize(int size) { return std::clamp(size, 20, 50); }

TSymbolGridShape SymbolGridShape(std::string_view symbols, size_t cellCount) {
  TSymbolGridShape shape;
  size_t columns = 1;
  while (columns * columns < symbols.size()) ++columns;
  shape.Columns = static_cast<int>(columns);
  shape.Rows = static_cast<int>(std::max<size_t>(1, (cellCount + columns - 1) / columns));
  return shape;
}

TSymbolDialogSize SymbolDialogSize(const TSymbolGridShape& shape, int cellSize, int gridLineWidth, int bottomPanelHeight) {
  return {(cellSize + gridLineWidth) * (shape.Columns + 1) + 10,
          (cellSize + gridLineWidth) * (shape.Rows + 1) + bottomPanelHeight + 15};
}

}  // namespace sp

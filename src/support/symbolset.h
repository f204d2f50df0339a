// The symbol picker's content and geometry: which cells a symbol text makes
// and how big the picker window becomes. Pure functions; the dialog itself is
// in ui/symboldlg.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace sp {

// The symbol text used when the settings hold none: typographic quotes and
// dashes, currency and legal signs, fractions, degree, the units "m²" and
// "m³" (68 bytes, 62 cells).
std::string DefaultSymbolSet();

// Every character is one cell, except that a group "(" ... ")" is one cell
// holding the text between the brackets. An empty group gives no cell; a "("
// that is never closed is a cell of its own.
std::vector<std::string> SymbolCells(std::string_view symbols);

// The settings' cell size (pixels) kept within 20 to 50.
int ClampSymbolCellSize(int size);

struct TSymbolGridShape {
  int Columns = 1;
  int Rows = 1;
};
// Columns: the ceiling of the square root of the text's length in bytes
// (brackets included); rows: as many as the cells fill, at least one.
TSymbolGridShape SymbolGridShape(std::string_view symbols, size_t cellCount);

struct TSymbolDialogSize {
  int Width = 0;
  int Height = 0;
};
// One row and one column more than the grid needs, plus the bottom panel and
// the frame's margins.
TSymbolDialogSize SymbolDialogSize(const TSymbolGridShape& shape, int cellSize, int gridLineWidth, int bottomPanelHeight);

}  // namespace sp

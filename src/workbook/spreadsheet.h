// Sheets of a workbook as read into memory: each a caption, a cell store and
// the column widths its reader reported, kept in the order the reader
// announced them. TSpreadSheets owns its sheets; a sheet reference stays
// valid until that sheet is deleted or the list cleared. Not thread-safe.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "workbook/spreadsheet_cells.h"

namespace sp {

struct TSpreadSheet {
  std::u16string Caption;
  TSpreadSheetCells Cells;
  // Index = column; in the file's own units; unset entries are 0.
  std::vector<int32_t> ColumnWidths;
};

class TSpreadSheets {
 public:
  int32_t Count() const { return static_cast<int32_t>(sheets_.size()); }
  // Appends an empty sheet captioned "Arbeitsblatt" + its 1-based position;
  // returns its 0-based index.
  int32_t AddSheet();
  // The sheet at `index`, a negative index meaning 0. An index not below
  // Count appends one sheet (AddSheet) and returns it, whatever was asked.
  TSpreadSheet& Items(int32_t index);
  // REQUIRES: 0 <= index < Count(). Read access that never appends.
  const TSpreadSheet& Sheet(int32_t index) const { return *sheets_[static_cast<size_t>(index)]; }
  // Raises EStringListError for an index outside the list.
  void Delete(int32_t index);
  void Clear() { sheets_.clear(); }

 private:
  std::vector<std::unique_ptr<TSpreadSheet>> sheets_;
};

// The rectangle of cells the default cell handler stores. Only LastRow and
// LastCol take effect; the defaults store every cell.
struct TSMRange {
  int32_t FirstRow = 1;
  int32_t LastRow = INT32_MAX;
  int32_t FirstCol = 1;
  int32_t LastCol = INT32_MAX;
};

}  // namespace sp

// Excel's names of columns and cells: column 0 is "A", 25 "Z", 26 "AA",
// 255 "IV"; the cell in column 27 of row 39 (both 0-based) is "AB40".
#pragma once

#include <cstdint>
#include <string>

namespace sp {

// The column index is taken as a 16-bit value, as BIFF stores it.
std::string ExcelColumnName(int32_t column);
std::string ExcelCellReference(int32_t column, int32_t row);

}  // namespace sp

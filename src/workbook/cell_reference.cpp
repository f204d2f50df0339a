#include "workbook/cell_reference.h"

#include <algorithm>

namespace sp {

std::string ExcelColumnName(int32_t column) {
  // Bijective base 26: every letter is a digit 1..26, so "Z" is followed by "AA".
  int64_t n = static_cast<uint16_t>(column);
  std::string name;
  do {
    name.push_back(static_cast<char>('A' + n % 26));
    n = n / 26 - 1;
  } while (n >= 0);
  std::reverse(name.begin(), name.end());
  return name;
}

std::string ExcelCellReference(int32_t column, int32_t row) {
  return ExcelColumnName(column) + std::to_string(static_cast<int64_t>(row) + 1);
}

}  // namespace sp

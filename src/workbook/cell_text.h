// The text of a cell value as the workbook preview shows it and the import
// rules see it, in the process's regional formats (FormatSettings()):
// Null gives "", booleans "True"/"False", integers their decimal digits,
// numbers FloatToText ("1,5" with the German defaults), date-times
// DateTimeToText (the short date, plus the long time when the time of day is
// not zero; a date-time beyond the years 1 to 9999 shows as its number),
// texts converted to Windows-1252 with "?" for what it cannot hold.
#pragma once

#include <string>

#include "workbook/cell_value.h"

namespace sp {

std::string CellText(const TCellValue& value);

}  // namespace sp

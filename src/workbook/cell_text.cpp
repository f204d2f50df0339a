#include "workbook/cell_text.h"

#include <charconv>
#include <cmath>

#include "support/formatting.h"
#include "support/text1252.h"

namespace sp {

namespace {

// FloatToText's text, reached quickly for the numbers workbooks are full of.
// Between 1E-4 and 1E15 FloatToText writes the 15-significant-digit decimal
// in fixed notation. When the shortest decimal that reads back as the same
// double has at most 15 significant digits, it is that decimal: two different
// 15-digit decimals lie further apart than the reals rounding to one double.
// Every other number goes to FloatToText itself.
std::string NumberText(double value) {
  const double magnitude = std::fabs(value);
  if (!(magnitude >= 1e-4 && magnitude < 1e15)) return FloatToText(value);
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed);
  if (result.ec != std::errc()) return FloatToText(value);
  int significant = 0;
  bool leading = true;
  for (const char* p = buffer; p < result.ptr; ++p) {
    if (*p < '0' || *p > '9') continue;
    if (leading && *p == '0') continue;
    leading = false;
    ++significant;
  }
  if (significant > 15) return FloatToText(value);
  std::string text(buffer, result.ptr);
  const size_t point = text.find('.');
  if (point != std::string::npos) text[point] = FormatSettings().DecimalSeparator;
  return text;
}

// The calendar's range, 01.01.0001 to 31.12.9999; a date-time outside it
// (only damaged files hold one) shows as the number it is.
bool InCalendar(double dateTime) { return dateTime > -693594.0 && dateTime < 2958466.0; }

}  // namespace

std::string CellText(const TCellValue& value) {
  switch (value.Kind()) {
    case TValueKind::Null: return {};
    case TValueKind::Boolean: return value.AsBoolean() ? "True" : "False";
    case TValueKind::Integer: return std::to_string(value.AsInteger());
    case TValueKind::Number: return NumberText(value.AsDouble());
    case TValueKind::DateTime:
      return InCalendar(value.AsDouble()) ? DateTimeToText(value.AsDouble()) : NumberText(value.AsDouble());
    case TValueKind::Text: return Utf16ToAnsi(value.AsText());
  }
  return {};
}

}  // namespace sp

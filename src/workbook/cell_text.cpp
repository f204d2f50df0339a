#include "workbook/cell_text.h"

#include "support/formatting.h"
#include "support/text1252.h"

namespace sp {

std::string CellText(const TCellValue& value) {
  switch (value.Kind()) {
    case TValueKind::Null: return {};
    case TValueKind::Boolean: return value.AsBoolean() ? "True" : "False";
    case TValueKind::Integer: return std::to_string(value.AsInteger());
    case TValueKind::Number: return FloatToText(value.AsDouble());
    case TValueKind::DateTime: return DateTimeToText(value.AsDouble());  // shows the number outside the calendar
    case TValueKind::Text: return Utf16ToAnsi(value.AsText());
  }
  return {};
}

}  // namespace sp

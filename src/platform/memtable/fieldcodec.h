// The one codec for field values of the in-memory table: their text forms and
// their cells in the table's CSV stream format. Both CSV variants (the order
// data map and the rules store) and the table's own AsString use it.
//
// Text forms: text and binary values are their bytes; integers are decimal;
// booleans "True" / "False"; floats and date-times follow either the
// process's regional settings (support/formatting.h) or the fixed formats
// (decimal point ".", dates day/month/year with "/", times with ":").
//
// CSV cells: a null value is nothing; any other value stands in double quotes,
// a double quote inside written twice. Before quoting, text values are
// escaped (byte 0 -> "%0", LF -> "%n", CR -> "%c", "%" -> "%%") and binary
// values are packed six bits to a character (see PackSixBit).
// All functions are pure and thread-safe, except that regional forms read the
// process-wide format settings.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/memtable/fielddefs.h"
#include "support/csvfield.h"

namespace sp {

enum class TValueFormats { Regional, Fixed };

// Text form of a non-null value. REQUIRES: the value holds its type's class.
std::string ValueToText(TFieldType type, const TFieldValue& value, TValueFormats formats);
// The value of a text form, or nothing when the text is no value of the type
// (an integer out of the type's range included).
std::optional<TFieldValue> TextToValue(TFieldType type, std::string_view text, TValueFormats formats);


// Six-bit packing: the L bytes as one bit string, least significant bit of
// the first byte first, cut into (4L + 2) / 3 groups of six bits (the last
// one padded with zero bits); group g is written as the character 32 + g.
// "abc" packs to "A)V8". Unpacking N characters gives N * 3 / 4 bytes; only
// the low six bits of (character - 32) count, so any input unpacks.
std::string PackSixBit(std::string_view bytes);
std::string UnpackSixBit(std::string_view chars);


// Appends the CSV cell of a value (nothing for null).
void AppendCsvCell(std::string& out, TFieldType type, const TFieldValue& value, TValueFormats formats);
// The value of a cell's content (quotes already removed and undoubled):
// unescaped text, unpacked bytes, or a parsed value; nothing when it does
// not parse.
std::optional<TFieldValue> CsvCellToValue(TFieldType type, std::string_view content, TValueFormats formats);

}  // namespace sp

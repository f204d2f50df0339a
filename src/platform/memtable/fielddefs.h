// The structure of an in-memory table: field types with their stored names,
// field and index definitions, and the kinds of value a field holds.
//
// The 30 type names and the 5 field kind names are the ones the table's CSV
// definition block writes; their numbers are their places in these lists.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

namespace sp {

enum class TFieldType {
  ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD, ftDate,
  ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic, ftFmtMemo, ftParadoxOle,
  ftDBaseOle, ftTypedBinary, ftCursor, ftFixedChar, ftWideString, ftLargeint, ftADT, ftArray, ftReference,
  ftDataSet
};
inline constexpr int kFieldTypeCount = 30;

enum class TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc, fkAggregate };
inline constexpr int kFieldKindCount = 5;

std::string_view FieldTypeName(TFieldType type);
// The type of a stored name (exact spelling), or nothing.
std::optional<TFieldType> FieldTypeFromName(std::string_view name);
std::string_view FieldKindName(TFieldKind kind);
std::optional<TFieldKind> FieldKindFromName(std::string_view name);

// How a field's value is held and written.
enum class TValueClass {
  Text,      // bytes, "%"-escaped in CSV: String, FixedChar, WideString, Memo, FmtMemo
  Binary,    // bytes, six-bit packed in CSV: Blob, Bytes, Graphic, ... ADT, Array
  Integer,   // Smallint, Integer, Word, AutoInc, Largeint (each with its range)
  Float,     // Float, Currency, BCD
  Boolean,
  Date,      // the date-time classes hold a TDateTime (double)
  Time,
  DateTime,
  Unsupported  // Unknown, Cursor, Reference, DataSet: no table can hold them
};
TValueClass ValueClassOf(TFieldType type);

// A field value: null, bytes (text and binary classes), an integer, a double
// (float and date-time classes) or a boolean.
using TFieldValue = std::variant<std::monostate, std::string, int64_t, double, bool>;

struct TFieldDef {
  std::string Name;
  TFieldType DataType = TFieldType::ftString;
  int Size = 0;              // declared length of text fields; values are never cut to it
  std::string DisplayName;   // the CSV header name; empty means Name
  std::string EditMask;
  int DisplayWidth = -1;     // -1: Size for text fields, 10 otherwise
  bool Required = false;
  bool ReadOnly = false;
  bool Visible = true;
  TFieldKind Kind = TFieldKind::fkData;
  std::string DefaultExpression;

  const std::string& ShownName() const { return DisplayName.empty() ? Name : DisplayName; }
  int ShownWidth() const;
};

struct TIndexDef {
  std::string Name;
  std::string Fields;       // field names separated by ";"
  std::string DisplayName;
  bool Descending = false;
  bool CaseInsensitive = false;
  bool NonMaintained = false;
  bool Unique = false;
};

}  // namespace sp

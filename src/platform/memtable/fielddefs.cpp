#include "platform/memtable/fielddefs.h"

#include <array>

namespace sp {
namespace {

constexpr std::array<std::string_view, kFieldTypeCount> kTypeNames = {
    "Unknown", "String", "SmallInt", "Integer", "Word", "Boolean", "Float", "Currency", "BCD", "Date",
    "Time", "DateTime", "Bytes", "VarBytes", "AutoInc", "Blob", "Memo", "Graphic", "FmtMemo", "ParadoxOle",
    "dBaseOle", "TypedBinary", "Cursor", "FixedChar", "WideString", "LargeInt", "ADT", "Array", "Reference",
    "DataSet"};

constexpr std::array<std::string_view, kFieldKindCount> kKindNames = {"Data", "Calculated", "Lookup",
                                                                       "InternalCalc", "Aggregate"};

}  // namespace

std::string_view FieldTypeName(TFieldType type) { return kTypeNames[static_cast<size_t>(type)]; }

std::optional<TFieldType> FieldTypeFromName(std::string_view name) {
  for (size_t i = 0; i < kTypeNames.size(); ++i)
    if (kTypeNames[i] == name) return static_cast<TFieldType>(i);
  return std::nullopt;
}

std::string_view FieldKindName(TFieldKind kind) { return kKindNames[static_cast<size_t>(kind)]; }

std::optional<TFieldKind> FieldKindFromName(std::string_view name) {
  for (size_t i = 0; i < kKindNames.size(); ++i)
    if (kKindNames[i] == name) return static_cast<TFieldKind>(i);
  return std::nullopt;
}

TValueClass ValueClassOf(TFieldType type) {
  switch (type) {
    case TFieldType::ftString:
    case TFieldType::ftFixedChar:
    case TFieldType::ftWideString:
    case TFieldType::ftMemo:
    case TFieldType::ftFmtMemo:
      return TValueClass::Text;
    case TFieldType::ftSmallint:
    case TFieldType::ftInteger:
    case TFieldType::ftWord:
    case TFieldType::ftAutoInc:
    case TFieldType::ftLargeint:
      return TValueClass::Integer;
    case TFieldType::ftFloat:
    case TFieldType::ftCurrency:
    case TFieldType::ftBCD:
      return TValueClass::Float;
    case TFieldType::ftBoolean:
      return TValueClass::Boolean;
    case TFieldType::ftDate:
      return TValueClass::Date;
    case TFieldType::ftTime:
      return TValueClass::Time;
    case TFieldType::ftDateTime:
      return TValueClass::DateTime;
    case TFieldType::ftBytes:
    case TFieldType::ftVarBytes:
    case TFieldType::ftBlob:
    case TFieldType::ftGraphic:
    case TFieldType::ftParadoxOle:
    case TFieldType::ftDBaseOle:
    case TFieldType::ftTypedBinary:
    case TFieldType::ftADT:
    case TFieldType::ftArray:
      return TValueClass::Binary;
    case TFieldType::ftUnknown:
    case TFieldType::ftCursor:
    case TFieldType::ftReference:
    case TFieldType::ftDataSet:
      break;
  }
  return TValueClass::Unsupported;
}

int TFieldDef::ShownWidth() const {
  if (DisplayWidth >= 0) return DisplayWidth;
  return ValueClassOf(DataType) == TValueClass::Text ? Size : 10;
}

}  // namespace sp

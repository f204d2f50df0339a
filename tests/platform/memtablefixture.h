// Tables shaped like the two the system keeps: the order data map and the
// rules store.
#pragma once

#include <string>

#include "platform/memtable/memtable.h"

namespace sp::testing {

inline void DefineMapFields(TMemTable& table) {
  table.AddField("Ident", TFieldType::ftString, 200);
  table.AddField("ValueA", TFieldType::ftBlob);
  table.AddField("ValueB", TFieldType::ftString, 200);
}

inline void DefineStoreFields(TMemTable& table) {
  table.AddField("DATA", TFieldType::ftBlob);
  table.AddField("HASH", TFieldType::ftString, 50);
}

// Appends one map record; an empty text leaves its field null.
inline void AddMapRecord(TMemTable& table, const std::string& ident, const std::string& valueA,
                         const std::string& valueB) {
  table.Append();
  table.FieldByName("Ident").SetAsString(ident);
  if (!valueA.empty()) table.FieldByName("ValueA").SetAsString(valueA);
  if (!valueB.empty()) table.FieldByName("ValueB").SetAsString(valueB);
  table.Post();
}

}  // namespace sp::testing

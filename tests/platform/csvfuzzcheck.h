// The property both CSV fuzz targets check: whatever a load accepts, saving
// and loading it again gives the same text, so nothing accepted is lost or
// changed on the way through the format. A table of text and binary fields
// only must accept everything.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/memtable/csvformat.h"
#include "platform/memtable/fieldcodec.h"

namespace sp::testing {

// Limits of the format itself, which the check leaves out: display names
// that look like its marker lines cannot stand in a header, a table without
// fields has no header line at all, and a record whose first value writes as
// the version marker (a blob can pack to it) is skipped on reading.
inline bool ReadsBack(const TMemTable& table, TCsvVariant variant) {
  if (table.FieldCount() == 0) return false;
  for (const TFieldDef& def : table.FieldDefs())
    if (def.ShownName().rfind("@@", 0) == 0) return false;
  const TValueFormats formats = variant == TCsvVariant::Store ? TValueFormats::Fixed : TValueFormats::Regional;
  for (int r = 0; r < table.RecordCount(); ++r) {
    std::string cell;
    AppendCsvCell(cell, table.FieldDef(0).DataType, table.Record(r)[0], formats);
    if (cell == "\"@@FILE VERSION@@\"") return false;
  }
  return true;
}

// `mayFail`: whether the table has fields whose values can fail to parse.
inline void CheckCsvRoundTrip(const std::string& input, TMemTable& table, TCsvVariant variant, bool mayFail) {
  try {
    LoadTableFromCsv(table, input, variant);
  } catch (const EMemTableError& e) {
    if (mayFail) return;
    std::fprintf(stderr, "load failed: %s\n", e.what());
    std::abort();
  }
  if (!ReadsBack(table, variant)) return;
  const std::string once = TableToCsv(table, variant);
  TMemTable again;
  for (const TFieldDef& def : table.FieldDefs()) again.AddField(def);
  LoadTableFromCsv(again, once, variant);
  const std::string twice = TableToCsv(again, variant);
  if (again.RecordCount() != table.RecordCount() || once != twice) {
    std::fprintf(stderr, "CSV round trip changed the table\n--- once\n%s\n--- twice\n%s\n", once.c_str(),
                 twice.c_str());
    std::abort();
  }
}

}  // namespace sp::testing

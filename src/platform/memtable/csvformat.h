// The CSV stream format of TMemTable, in its two variants:
//
// - Map: the order data map's form. No definition block; the header line
//   names the fields by display name; regional formats for floats and dates.
// - Store: the rules store's form. A version line and a definition block
//   (fields, indexes) come before the header; fixed formats.
//
// Both write every line as cells separated by ",", with one more "," and
// CR LF after the header and after each record; cells as fieldcodec.h says.
// docs/formats/map-csv.md describes the bytes.
//
// Reading cuts the text into lines at every run of CR, LF and NUL bytes, so
// empty lines and a zero-filled tail end nothing early and add nothing. The
// header maps columns to fields by display name, any case; unknown columns
// are skipped, missing ones stay null. A line whose first value is
// "@@FILE VERSION@@" is skipped. A definition block before the header
// recreates the table's fields in the Store variant and is passed over in the
// Map variant.
//
// Loading is all or nothing: on any error (EMemTableError, with the line) the
// table is as it was. Otherwise the Map variant adds the records at the end;
// the Store variant does the same unless a definition block replaced fields
// and records. The cursor ends on the first record. Hostile input is safe:
// nothing is read outside the text, every allocation is bounded by its size
// (the values created are at most 4 per byte of text), and time is linear.
// REQUIRES: the table is not editing.
#pragma once

#include <string>
#include <string_view>

#include "platform/memtable/memtable.h"
#include "platform/stream.h"

namespace sp {

enum class TCsvVariant { Map, Store };

std::string TableToCsv(const TMemTable& table, TCsvVariant variant);
// Writes TableToCsv at the stream's position.
void SaveTableToCsv(const TMemTable& table, TStream& stream, TCsvVariant variant);

void LoadTableFromCsv(TMemTable& table, std::string_view text, TCsvVariant variant);
// Loads the stream's bytes from its position to its end.
void LoadTableFromCsv(TMemTable& table, TStream& stream, TCsvVariant variant);

}  // namespace sp

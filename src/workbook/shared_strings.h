// Reading the shared-string table (the SST record and the CONTINUE records
// that carry its overflow) string by string from the record input, so that a
// table of any size needs no buffer of its size. A string's characters may
// change between 8-bit and UTF-16 at each CONTINUE boundary; its formatting
// runs and phonetic block are skipped.
#pragma once

#include <cstdint>

#include "workbook/record_input.h"
#include "workbook/wide_strings.h"

namespace sp {

// REQUIRES: the SST header was just read from `input`; `length` is its body
// length. Appends the strings to `strings` and leaves the input after the
// last record the table used. Raises ESpreadSheetError with "CONTINUE record
// is not found in the stream" (the input then stands before the offending
// record) or "String in SST (Options byte is 0x..) can not be processed."
// (the input then stands after the current record), EReadError for a
// stream that ends inside a record.
void ReadSharedStrings(TRecordInput& input, uint16_t length, TWideStrings& strings);

}  // namespace sp

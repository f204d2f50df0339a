// TCalcDataFiler hands out the binary value of an order data map entry.
#pragma once

#include <memory>

#include "platform/memtable/memtable.h"
#include "platform/stream.h"

namespace sp {

class TCalcDataFiler {
 public:
  // A reading stream over the field "ValueA" of the table's current record.
  // With `decompress`, a new memory stream holding DecompressToStream of it
  // (at position 0; the raw bytes when the value is not compressed);
  // otherwise the field stream itself. The caller owns the stream.
  // Raises EMemTableError when the table has no field "ValueA".
  static std::unique_ptr<TStream> OpenValueA(TMemTable& table, bool decompress);
};

}  // namespace sp

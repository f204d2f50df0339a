#include "hostlink/calcdatafiler.h"

#include "hostlink/compression.h"

namespace sp {

std::unique_ptr<TStream> TCalcDataFiler::OpenValueA(TMemTable& table, bool decompress) {
  std::unique_ptr<TStream> blob =
      table.CreateBlobStream(table.FieldByName("ValueA").Index(), TBlobStreamMode::Read);
  if (!decompress) return blob;
  auto value = std::make_unique<TMemoryStream>();
  DecompressToStream(*blob, *value);
  return value;
}

}  // namespace sp

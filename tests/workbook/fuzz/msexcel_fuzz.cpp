// Fuzz target of the BIFF reader: inputs with the compound-document signature
// go through LoadFromStream, all others through the plain path. Every cell's
// text is taken, as the preview does.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/stream.h"
#include "workbook/cell_text.h"
#include "workbook/msexcel.h"

namespace {

class FuzzReader : public sp::TMSExcel {
 public:
  void LoadPlain(sp::TStream& stream) {
    Reset();
    ReadPlain(stream);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sp::TMemoryStream stream(std::string(reinterpret_cast<const char*>(data), size));
  FuzzReader reader;
  reader.LoadNULLs = size % 2 == 1;
  try {
    if (size >= 1 && data[0] == 0xD0)
      reader.LoadFromStream(stream);
    else
      reader.LoadPlain(stream);
  } catch (const sp::Exception&) {
    // a refused input; what was read stays and is walked below
  }
  size_t total = 0;
  for (int32_t i = 0; i < reader.Sheets().Count(); ++i) {
    const sp::TSpreadSheetCells& cells = reader.Sheets().Sheet(i).Cells;
    for (const sp::TSpreadSheetRow& row : cells.Rows())
      for (const auto& entry : row.Cols().Entries()) total += sp::CellText(entry.Cell.Value).size();
    total += static_cast<size_t>(cells.GetCell(0, 0).Kind() == sp::TValueKind::Null);
  }
  return total == SIZE_MAX ? 1 : 0;
}

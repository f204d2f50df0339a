// Loads hostile bytes as a grid stream, then checks that saving what was
// loaded and loading it again gives the same rows.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "datagrid/griddata.h"
#include "platform/stream.h"

namespace {

void DescribeColumns(sp::TDataGridData& grid) {
  static const char* const kNames[] = {"TColumn-1", "sheet", "za", "ze", "Preis", "Stueck"};
  grid.SetColCount(6);
  for (int c = 0; c < 6; ++c) grid.Columns()[c].SetFieldName(kNames[c]);
  grid.Columns()[2].NumericKind = sp::deInteger;
  grid.Columns()[5].NumericKind = sp::deFloat;
  grid.UseSecondLine = true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  sp::TDataGridData grid;
  DescribeColumns(grid);
  sp::TMemoryStream input(std::string(reinterpret_cast<const char*>(data), size));
  if (!grid.LoadFromStream(input)) return 0;
  if (grid.RowCount() < 2) std::abort();

  sp::TMemoryStream saved;
  if (!grid.SaveToStream(saved)) std::abort();
  saved.SetPosition(0);
  sp::TDataGridData again;
  DescribeColumns(again);
  if (!again.LoadFromStream(saved)) std::abort();
  if (again.RowCount() != grid.RowCount()) std::abort();
  for (int r = 0; r < grid.RowCount(); ++r) {
    for (int c = -2; c < grid.ColCount(); ++c) {
      if (c != -1 && again.Cell(c, r) != grid.Cell(c, r)) std::abort();
    }
  }
  return 0;
}

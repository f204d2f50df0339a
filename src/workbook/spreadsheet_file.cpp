#include "workbook/spreadsheet_file.h"

#include <algorithm>

#include "support/files.h"
#include "support/text1252.h"

namespace sp {

TCellValue TCustomSpreadSheetFile::GetCellValue(int32_t sheetNo, int32_t row, int32_t column) {
  TCellValue value;
  if (OnGetCellValue) OnGetCellValue(*this, sheetNo, row, column, value);
  return value;
}

void TSpreadSheetFile::Reset() {
  sheets_.Clear();
  if (!OnSheet)
    OnSheet = [this](TCustomSpreadSheetFile&, const std::u16string& caption, int32_t, bool&) {
      sheets_.Items(sheets_.AddSheet()).Caption = caption;
    };
  if (!OnDimensions)
    OnDimensions = [this](TCustomSpreadSheetFile&, int32_t sheetNo, int32_t, int32_t lastRow, int32_t, int32_t lastColumn) {
      sheets_.Items(sheetNo).Cells.SetDeclaredBounds(lastRow, std::min(lastColumn, Range.LastCol));
    };
  if (!OnCellValue)
    OnCellValue = [this](TCustomSpreadSheetFile&, int32_t sheetNo, int32_t row, int32_t column, int32_t formatIndex,
                         const TCellValue& value, TAlignment alignment) {
      if (column > Range.LastCol || row > Range.LastRow) return;
      try {
        sheets_.Items(sheetNo).Cells.SetCell(column, row, formatIndex, alignment, value);
      } catch (const Exception&) {
        // A cell the store refuses is dropped; the load goes on.
      }
    };
  if (!OnGetCellValue)
    OnGetCellValue = [this](TCustomSpreadSheetFile&, int32_t sheetNo, int32_t row, int32_t column, TCellValue& value) {
      value = sheets_.Items(sheetNo).Cells.GetCell(column, row);
    };
  if (!OnColumnWidth)
    OnColumnWidth = [this](TCustomSpreadSheetFile&, int32_t sheetNo, int32_t columnNo, int32_t width) {
      if (columnNo < 0) return;
      std::vector<int32_t>& widths = sheets_.Items(sheetNo).ColumnWidths;
      if (widths.size() <= static_cast<size_t>(columnNo)) widths.resize(static_cast<size_t>(columnNo) + 1, 0);
      widths[static_cast<size_t>(columnNo)] = width;
    };
}

void TSpreadSheetFile::LoadFromFile(const std::string& name) {
  const std::string trimmed(Trim(name));
  if (trimmed.empty()) throw ESpreadSheetError("File is not defined.");
  if (!FileExistsSafe(trimmed)) throw ESpreadSheetError("File is not exists.");
  FileName = trimmed;
  Reset();
  ReadFile(trimmed);
}

void TSpreadSheetFile::LoadFromStream(TStream& stream) {
  Reset();
  ReadStream(stream);
}

}  // namespace sp

#include "datagrid/cellrules.h"

#include "datagrid/griddata.h"
#include "datagrid/rowmarker.h"
#include "support/formatting.h"
#include "support/text1252.h"

namespace sp {

std::string DisplayText(TDataGridData& grid, int col, int row) {
  const std::string& text = grid.Cell(col, row);
  const TColumn* column = grid.Columns().Find(col);
  if (text.empty() || !column || column->DisplayMask.empty() || col < 1 || row < grid.FixedRows()) return text;
  const TRowKind kind = RowKindOf(grid.Cell(0, row));
  bool formatted = kind == TRowKind::Data;
  if (kind == TRowKind::Text && grid.OnForceFormatThisCell) grid.OnForceFormatThisCell(col, row, formatted);
  if (!formatted) return text;
  switch (column->Format()) {
    case cfNumber:
    case cfcombo: return FormatFloat(column->DisplayMask, TextToFloatOr(text, 0));
    case cfDate: {
      TDateTime value = 0;
      return TextToDateTime(text, value) ? FormatDateTime(column->DisplayMask, value) : text;
    }
    default: return text;
  }
}

TEditorSetup ChooseEditor(TDataGridData& grid, int col, int row, bool typed) {
  const TColumn& column = grid.Columns()[col];
  const TRowKind kind = RowKindOf(grid.Cell(0, row));
  TEditorSetup setup;
  setup.Alignment = column.Alignment();
  setup.Hint = Ansi("Beliebige Daten");
  setup.Text = grid.Cell(col, row);
  setup.EditMask = grid.EditMaskFor(col, row);
  const bool markerRow = OpensEveryColumn(kind) || kind == TRowKind::Text;
  if (!markerRow) {
    switch (column.Format()) {
      case cfNumber:
        setup.Kind = TEditorKind::Float;
        setup.Button = column.ButtonExists;
        setup.MaxLength = column.NumericKind == deInteger ? 4 : 13;
        setup.Hint = "Numerische Daten";
        if (column.HoldsDecimals() && !typed) {
          setup.Text = FormatFloat(setup.EditMask, TextToFloatOr(setup.Text, 0));
        }
        break;
      case cfdblocate:
        setup.Kind = TEditorKind::Grid;
        setup.Button = true;
        setup.Hint = "F2 F3";
        break;
      case cfcombo:
        setup.Kind = TEditorKind::Combo;
        setup.IgnoreDeleteKeys = column.ButtonExists;
        setup.Hint = "F2";
        break;
      default: break;
    }
  }
  setup.Font = column.Font();
  switch (kind) {
    case TRowKind::Text: setup.Font.Bold = true; setup.Font.Color = clRed; break;
    case TRowKind::Separator: setup.Font.Bold = true; break;
    case TRowKind::Grey: setup.Font.Color = clGray; break;
    case TRowKind::Blue: setup.Font.Bold = true; setup.Font.Color = clBlue; break;
    default: break;
  }
  setup.ReadOnly = grid.ReadOnly || (column.ReadOnly() && !OpensEveryColumn(kind));
  return setup;
}

std::string RowDragText(const TDataGridData& grid, int row) {
  std::string text;
  const std::string& pos = grid.Cell(grid.IndexOfField("Pos."), row);
  if (!pos.empty()) text = "Pos." + pos + " ";
  text += grid.Cell(grid.IndexOfField("Bezeichnung1"), row);
  const std::string_view trimmed = Trim(text);
  return trimmed.empty() ? std::string("Verschieben..") : std::string(trimmed);
}

}  // namespace sp

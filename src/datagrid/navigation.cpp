#include "datagrid/navigation.h"

#include "datagrid/griddata.h"
#include "datagrid/rowmarker.h"

namespace sp {

bool IsEnterable(const TDataGridData& grid, int col, int row) {
  const TColumn* column = grid.Columns().Find(col);
  if (!column || col < grid.FixedCols() || column->Hidden()) return false;
  if (OpensEveryColumn(RowKindOf(grid.Cell(0, row)))) return true;
  return column->Width() >= 16 && !column->ReadOnly();
}

int NextEnterable(const TDataGridData& grid, int col, int row, int step) {
  for (int c = col + step; c >= 0 && c < grid.ColCount(); c += step) {
    if (IsEnterable(grid, c, row)) return c;
  }
  return -1;
}

bool KeyEnter(TDataGridData& grid) {
  const int row = grid.Row();
  const int next = NextEnterable(grid, grid.Col(), row, +1);
  if (next >= 0) {
    grid.SetCurrent(next, row);
    return true;
  }
  if (!grid.HasOption(dgoAppendRow)) return true;  // like Right in the last column: stays
  if (row == grid.RowCount() - 1) {
    grid.AppendRow();
    const int first = NextEnterable(grid, -1, grid.Row(), +1);
    grid.SetCurrent(first >= 0 ? first : 1, grid.Row());
  } else if (grid.HasOption(dgoInsertRow)) {
    grid.InsertRow(row + 1, false);
    grid.SetCurrent(1, row + 1);
  } else {
    grid.SetCurrent(1, row);
  }
  return true;
}

bool KeyEnd(TDataGridData& grid) {
  const int row = grid.Row();
  const int last = NextEnterable(grid, grid.ColCount(), row, -1);
  grid.SetCurrent(last > 1 ? last : 1, row);
  return true;
}

bool KeyLeft(TDataGridData& grid) {
  const int previous = NextEnterable(grid, grid.Col(), grid.Row(), -1);
  if (previous >= 0) grid.SetCurrent(previous, grid.Row());
  return true;
}

bool KeyRight(TDataGridData& grid) {
  const int next = NextEnterable(grid, grid.Col(), grid.Row(), +1);
  if (next >= 0) grid.SetCurrent(next, grid.Row());
  return true;
}

bool KeyUp(TDataGridData& grid) {
  grid.SetCurrent(grid.Col(), grid.Row() - 1);
  return true;
}

bool KeyDown(TDataGridData& grid) {
  if (grid.Row() == grid.RowCount() - 1) {
    if (!grid.HasOption(dgoAppendRow)) return true;
    grid.AppendRow();
    return true;  // appending made the new row current
  }
  grid.SetCurrent(grid.Col(), grid.Row() + 1);
  return true;
}

bool KeyCtrlInsert(TDataGridData& grid) {
  if (!grid.HasOption(dgoInsertRow)) return false;
  grid.InsertRow(grid.Row(), true);
  return true;
}

bool KeyCtrlDelete(TDataGridData& grid) {
  if (!grid.HasOption(dgoDeleteRow)) return false;
  grid.DeleteRow(grid.Row(), true);
  return true;
}

void FocusEntered(TDataGridData& grid) {
  const TColumn* column = grid.Columns().Find(grid.Col());
  if (!column || !column->Hidden()) return;
  for (int c = 1; c < grid.ColCount(); ++c) {
    if (!grid.Columns()[c].Hidden()) {
      grid.SetCurrent(c, grid.Row());
      return;
    }
  }
}

}  // namespace sp

// Keyboard navigation and the keyboard's row commands on the data side. The
// widget maps its keys to these; each returns true when it handled the key.
//
// A column is enterable when it is visible and either at least 16 pixels wide
// and not ReadOnly, or the current row is a separator, grey or blue row.
// Hidden columns are never entered, whatever the row.
#pragma once

namespace sp {

class TDataGridData;

bool IsEnterable(const TDataGridData& grid, int col, int row);
// The next enterable column after `col` (step +1) or before it (step -1) in
// `row`; -1 when there is none.
int NextEnterable(const TDataGridData& grid, int col, int row, int step);

// Enter: next enterable column; in the last one it appends (last row) or
// inserts below, with dgoAppendRow (and dgoInsertRow for inserting).
bool KeyEnter(TDataGridData& grid);
// End: the last enterable column, column 1 when none after it is enterable.
bool KeyEnd(TDataGridData& grid);
bool KeyLeft(TDataGridData& grid);
bool KeyRight(TDataGridData& grid);
// Up and Down move one row; Down in the last row appends with dgoAppendRow.
bool KeyUp(TDataGridData& grid);
bool KeyDown(TDataGridData& grid);
bool KeyCtrlInsert(TDataGridData& grid);  // dgoInsertRow (and dgoAppendRow)
bool KeyCtrlDelete(TDataGridData& grid);  // dgoDeleteRow
// The grid got the focus: out of a hidden column into the first visible one.
void FocusEntered(TDataGridData& grid);

}  // namespace sp

// What a cell shows and which in-place editor it gets: the rules the widget
// applies, kept here so that they hold (and are tested) without a window.
#pragma once

#include <string>

#include "datagrid/gridtypes.h"

namespace sp {

class TDataGridData;

// The text a data cell is drawn with: in data rows (and text rows when
// OnForceFormatThisCell says so) a non-empty cell of a column with a
// DisplayMask is formatted, numbers for cfNumber and cfcombo, dates for
// cfDate (unchanged when the text is no date). The cell keeps its text.
std::string DisplayText(TDataGridData& grid, int col, int row);

// The four data-cell editors of one edit family.
enum class TEditorKind { Choice, Float, Grid, Combo };

struct TEditorSetup {
  TEditorKind Kind = TEditorKind::Choice;
  TAlignment Alignment = taLeftJustify;
  std::string Hint;
  int MaxLength = 0;  // 0: no limit
  bool Button = false;  // numeric button or ellipsis button
  bool IgnoreDeleteKeys = false;  // combo: Delete and Backspace do nothing
  bool ReadOnly = false;
  TFontSpec Font;
  TColor Background = clEditorBack;
  std::string Text;
  // The column's EditMask as OnGetEditMask leaves it; the number pattern of
  // decimal cells. Its input-mask syntax is not applied to Qt's editors.
  std::string EditMask;
};

// The editor of a data cell. `typed` tells that a typed character opens it.
// REQUIRES: col is a column of the collection and row a row of the grid.
TEditorSetup ChooseEditor(TDataGridData& grid, int col, int row, bool typed);

// The text of a dragged row: "Pos." and its cell and a blank when that is
// set, then the cell of "Bezeichnung1", trimmed; "Verschieben.." when empty.
std::string RowDragText(const TDataGridData& grid, int row);

}  // namespace sp

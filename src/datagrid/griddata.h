// TDataGridData: the data side of the data grid, usable without a window.
//
// Holds the columns, the rows of text cells (each row with its second-line
// text, addressed as column -2, and its height), the current cell and the
// grid base's rules: never fewer than 2 rows, column count equal to the
// column collection, RowCountMin. Row 0 .. FixedRows-1 are fixed (titles),
// columns 0 .. FixedCols-1 fixed; column 0 holds each row's marker text.
// It runs the row commands, bulk updates, the cell events and the grid
// stream (SaveToStream / LoadFromStream, see docs/formats/grid-stream.md).
//
// A window shows it through a TDataGridListener; without one it works the
// same. Failures that the grid shows to the user (saving, deleting) go to
// OnShowMessage; without a handler only the result tells.
// Not thread-safe: one owner thread. Events run synchronously on it.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "datagrid/columns.h"
#include "datagrid/gridtypes.h"

namespace sp {

class TStream;

enum TDataGridOption : unsigned { dgoAppendRow = 1, dgoInsertRow = 2, dgoDeleteRow = 4 };
using TDataGridOptions = unsigned;

// What a window showing the grid is told. Calls are held back during a bulk
// update; its end sends one GridChanged.
class TDataGridListener {
 public:
  virtual ~TDataGridListener() = default;
  virtual void GridChanged() {}                     // rows, columns or many cells
  virtual void CellChanged(int col, int row) {}     // one cell or second line (col -2)
  virtual void RowHeightChanged(int row) {}
  virtual void CurrentChanged() {}                  // Col() or Row() moved
  virtual void ScrollIntoView(int row) {}
  virtual void FocusRequested() {}
};

class TDataGridData {
 public:
  TDataGridData();
  TDataGridData(const TDataGridData&) = delete;
  TDataGridData& operator=(const TDataGridData&) = delete;

  // Not owned; nullptr detaches.
  void SetListener(TDataGridListener* listener) { listener_ = listener; }

  TDataGridColumns& Columns() { return columns_; }
  const TDataGridColumns& Columns() const { return columns_; }
  int IndexOfField(std::string_view name) const { return columns_.IndexOfField(name); }
  // Colour, font and editing switch that unassigned column settings follow.
  TGridLook& Look() { return look_; }
  const TGridLook& Look() const { return look_; }

  int ColCount() const { return columns_.Count(); }
  void SetColCount(int count);  // at least 1; FixedCols is lowered to stay below
  int RowCount() const { return static_cast<int>(rows_.size()); }
  void SetRowCount(int count);  // at least 2; FixedRows is lowered to stay below
  int FixedCols() const { return fixedCols_; }
  void SetFixedCols(int count);  // held within 0 .. ColCount-1
  int FixedRows() const { return fixedRows_; }
  void SetFixedRows(int count);  // held within 0 .. RowCount-1
  int RowCountMin() const { return rowCountMin_; }
  void SetRowCountMin(int count);  // negative becomes 0; raises RowCount to it

  TDataGridOptions DataGridOptions = 0;
  bool HasOption(TDataGridOption option) const { return (DataGridOptions & option) != 0; }
  // The grid-wide read-only switch: every editor opens read-only, rows and
  // columns can be neither moved nor sized.
  bool ReadOnly = false;
  bool RowMoving = false;
  bool ColMoving = false;
  bool FullColumnsStreaming = false;

  // Cell text; column -2 is the row's second line (its lines joined by CR LF).
  // Outside the grid: empty.
  const std::string& Cell(int col, int row) const;
  // Stores a text. In a deFloat or deCurrency column OnBeforeSetcell may change
  // it first; afterwards, outside bulk updates, OnAfterCellWrite (column >= 1).
  // Column -2 sets the second line. Outside the grid: nothing happens.
  void SetCell(int col, int row, std::string text);
  // Held only while UseSecondLine is on; an empty text, or any while it is
  // off, resets the row to the default height.
  void SetSecondLine(int row, std::string_view text);

  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int height);  // resets every row to it
  // The row's own height, or the default (doubled for data rows with SecondLine).
  int RowHeight(int row) const;
  void SetRowHeight(int row, int height);
  void ResetRowHeight(int row);

  bool SecondLine = false;
  bool UseSecondLine = false;
  bool SecondReadOnly = false;
  TFontSpec SecondFont;
  int LeftStartSecond = 1;
  int RightEndSecond = -1;  // -1: the last column
  int MaxSecondHeight() const { return maxSecondHeight_; }
  void SetMaxSecondHeight(int height);  // held within 50 .. 100

  // The current cell.
  int Col() const { return col_; }
  int Row() const { return row_; }
  // Held within the non-fixed cells.
  void SetCurrent(int col, int row);
  int SelectedIndex() const { return col_; }
  void SetSelectedIndex(int col) { SetCurrent(col, row_); }

  // Empties every data row and resets its height, leaves one empty data row
  // and moves to column 1, row 1.
  void Clear();
  // Appends a row and makes it current in the current column.
  void AppendRow();
  // Inserts an empty row at `position` (FixedRows .. RowCount) and makes it
  // current. Only with both dgoAppendRow and dgoInsertRow; false otherwise.
  bool InsertRow(int position, bool focusAfter);
  // Deletes the data row at `position`, or empties it when it is the last data
  // row or RowCountMin would be undercut. Only with dgoDeleteRow; false
  // otherwise or when it failed (the failure's text goes to OnShowMessage).
  bool DeleteRow(int position, bool focusAfter);
  // Empties every cell of a row, marker and second line included, and gives
  // it the default height; raises no cell event.
  void ClearRow(int row);
  // Moves a row with its cells, second line and height.
  void MoveRow(int from, int to);
  // Moves a column with its TColumn and its cells.
  void MoveColumn(int from, int to);
  // Column settings, Look() or the second-line settings changed: tells the
  // window to lay the grid out again.
  void ColumnsChanged();

  // Bulk update: nested; listener calls and the column edit events are held
  // back. The outermost end repaints, optionally moving to column 1, row 1.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate(bool moveToStart = false);
  bool Updating() const { return updateCount_ > 0; }

  // The form description is being set up: fitting is held back until Loaded,
  // which raises OnAfterloading.
  void Loading() { loading_ = true; }
  void Loaded();
  bool IsLoading() const { return loading_; }

  // The column's EditMask as OnGetEditMask leaves it.
  std::string EditMaskFor(int col, int row);
  // An in-place editor of (col, row) closed with `text`: stores it when it
  // differs from the cell and, for columns >= 1 outside bulk updates, raises
  // OnAfterCellEdit (Equal: nothing differed).
  void EditorClosed(int col, int row, const std::string& text);

  // The grid stream. Save: false after a failure, whose text goes to
  // OnShowMessage after "TDataGrid.SaveToStream ". Load: false after a
  // failure, without message; rows read so far stay.
  bool SaveToStream(TStream& stream);
  bool LoadFromStream(TStream& stream);

  // Events. Handlers run on the grid's thread; they reach the grid through
  // what they captured.
  std::function<void()> OnAfterloading;
  std::function<void()> BeforeInsert;
  std::function<void()> AfterInsert;
  std::function<void()> BeforeDelete;
  std::function<void(int col, int row, std::string& value)> OnGetEditMask;
  std::function<void(int col, int row, std::string& value, const std::string& fieldName)> OnBeforeSetcell;
  std::function<void(int col, int row, const std::string& fieldName, bool equal)> OnAfterCellEdit;
  std::function<void(int col, int row, const std::string& fieldName)> OnAfterCellWrite;
  // Asks whether a cell of a text row ("t") is drawn with its DisplayMask.
  std::function<void(int col, int row, bool& force)> OnForceFormatThisCell;
  // The grid's message box.
  std::function<void(const std::string& text)> OnShowMessage;

 private:
  friend class TDataGridColumns;
  struct TRow {
    std::vector<std::string> cells;  // may be shorter than ColCount: the rest is empty
    std::string second;
    int height = 0;  // 0: the default height
  };

  void EmptyRow(TRow& row, int fromCol);
  void Notify(const std::function<void(TDataGridListener&)>& call);
  void NotifyCell(int col, int row);
  void ShowMessage(const std::string& text);

  TGridLook look_;
  TDataGridColumns columns_;
  std::vector<TRow> rows_;
  int fixedCols_ = 1;
  int fixedRows_ = 1;
  int rowCountMin_ = 0;
  int defaultRowHeight_ = 17;
  int maxSecondHeight_ = 100;
  int col_ = 1;
  int row_ = 1;
  int updateCount_ = 0;
  bool loading_ = false;
  TDataGridListener* listener_ = nullptr;
};

}  // namespace sp

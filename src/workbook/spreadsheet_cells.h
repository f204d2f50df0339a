// The cell store of one sheet. Cells are addressed by 0-based column and row,
// exactly as the workbook numbers them.
//
// Only rows and cells that hold a value are kept (a row list and, per row, a
// cell list, both ordered by index), so a workbook that names far-out cells
// costs memory for its cells alone, never for the gaps between them. Seen
// from outside the store behaves as if rows between used rows and entries
// between used columns existed empty: they read as Null.
//
// Cells arriving in row and column order are appended. One arriving out of
// order is appended too and the list is put in order at the next read, the
// later of two writes to one cell winning; so no order of arrival makes
// storing quadratic. Reads are const but may do that ordering: the store is
// not thread-safe, not even for concurrent readers.
//
// RowCount and ColCount are 1 + the highest row and column of any stored
// cell while AutoExpand is on (the default); with AutoExpand off they are the
// bounds last declared through SetDeclaredBounds. Not thread-safe.
#pragma once

#include <cstdint>
#include <memory>
#include <memory_resource>
#include <vector>

#include "workbook/cell_arena.h"
#include "workbook/cell_value.h"

namespace sp {

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

// One stored cell. FormatIndex is the cell's XF index in the workbook, -1
// when its record carries none. Assignment copies all three fields.
struct TSMICell {
  TCellValue Value;
  int32_t FormatIndex = -1;
  TAlignment Alignment = taLeftJustify;
};

// The cells of one row, in column order.
class TSpreadSheetCols {
 public:
  struct TEntry {
    int32_t Column;
    TSMICell Cell;
  };

  // The length of the row seen as a list indexed by column: 1 + the highest
  // column holding a cell, 0 when none does.
  int32_t Count() const;
  // The cell at `column`; nullptr for an empty entry or a column outside the list.
  const TSMICell* Items(int32_t column) const;
  const std::pmr::vector<TEntry>& Entries() const;

 private:
  friend class TSpreadSheetCells;
  friend class TSpreadSheetRow;
  explicit TSpreadSheetCols(std::pmr::memory_resource* memory) : entries_(memory) {}
  // The cell to write at `column` (>= 0).
  TSMICell& Obtain(int32_t column);
  void Order() const;

  mutable std::pmr::vector<TEntry> entries_;
  mutable bool ordered_ = true;
};

class TSpreadSheetRow {
 public:
  TSpreadSheetRow(int32_t index, std::pmr::memory_resource* memory) : index_(index), cols_(memory) {}
  int32_t Index() const { return index_; }
  const TSpreadSheetCols& Cols() const { return cols_; }

 private:
  friend class TSpreadSheetCells;
  int32_t index_;
  TSpreadSheetCols cols_;
};

class TSpreadSheetCells {
 public:
  TSpreadSheetCells();
  ~TSpreadSheetCells();
  TSpreadSheetCells(const TSpreadSheetCells&) = delete;
  TSpreadSheetCells& operator=(const TSpreadSheetCells&) = delete;

  // Stores a copy of `value` at (column, row), overwriting all three fields
  // of a cell already there. A Null value stores nothing and changes
  // nothing. Raises EStringListError for a negative column or row.
  void SetCell(int32_t column, int32_t row, int32_t formatIndex, TAlignment alignment, const TCellValue& value);
  // A copy of the value at (column, row); Null where no cell is stored.
  TCellValue GetCell(int32_t column, int32_t row) const;
  // The stored cell, or nullptr.
  const TSMICell* Cell(int32_t column, int32_t row) const;
  // The row's cells, or nullptr when the row holds none.
  const TSpreadSheetRow* Row(int32_t row) const;
  // The rows that hold cells, in row order.
  const std::vector<TSpreadSheetRow>& Rows() const;

  // Drops every cell and sets all four counts to 0; AutoExpand stays.
  void Clear();

  int32_t RowCount() const { return rowCount_; }
  int32_t ColCount() const { return colCount_; }
  int32_t DeclaredRowCount() const { return declaredRowCount_; }
  int32_t DeclaredColCount() const { return declaredColCount_; }
  // Records the bounds a reader declared; with AutoExpand off they become
  // RowCount and ColCount.
  void SetDeclaredBounds(int32_t rowCount, int32_t colCount);
  bool AutoExpand() const { return autoExpand_; }
  void SetAutoExpand(bool on) { autoExpand_ = on; }

 private:
  TSpreadSheetRow& ObtainRow(int32_t row);
  void Order() const;

  // The rows' cell lists live in the arena, freed whole by Clear. Declared
  // before the rows, so the rows are destroyed first.
  std::unique_ptr<TCellArena> memory_;
  mutable std::vector<TSpreadSheetRow> rows_;
  mutable bool ordered_ = true;
  int32_t rowCount_ = 0;
  int32_t colCount_ = 0;
  int32_t declaredRowCount_ = 0;
  int32_t declaredColCount_ = 0;
  bool autoExpand_ = true;
};

}  // namespace sp

// TDataGridColumns: the ordered columns of one grid, owned by that grid.
//
// Its count and the grid's column count are always equal: Add raises the
// grid's column count, and TDataGridData::SetColCount adds default columns or
// removes them at the end. Moving a grid column moves its TColumn along.
// References returned stay valid until that column is removed.
#pragma once

#include <memory>
#include <string_view>
#include <vector>

#include "datagrid/column.h"

namespace sp {

class TDataGridData;

class TDataGridColumns {
 public:
  TDataGridColumns(const TDataGridColumns&) = delete;
  TDataGridColumns& operator=(const TDataGridColumns&) = delete;

  int Count() const { return static_cast<int>(items_.size()); }
  // REQUIRES: 0 <= index < Count().
  TColumn& operator[](int index) { return *items_[static_cast<size_t>(index)]; }
  const TColumn& operator[](int index) const { return *items_[static_cast<size_t>(index)]; }
  // The column at `index`, or nullptr outside the collection.
  TColumn* Find(int index);
  const TColumn* Find(int index) const;

  // Appends a default column; the grid gains a column.
  TColumn& Add();
  // Index of the first column whose field name equals `name` under
  // Windows-1252 upper-casing; -1 when there is none.
  int IndexOfField(std::string_view name) const;

  // What unassigned column settings follow.
  const TGridLook& Look() const { return look_; }
  // A column's drawn settings changed: the grid's window redraws.
  void Changed();

 private:
  friend class TDataGridData;
  TDataGridColumns(TDataGridData& grid, const TGridLook& look) : grid_(grid), look_(look) {}
  void Resize(int count);
  void Move(int from, int to);

  TDataGridData& grid_;
  const TGridLook& look_;
  std::vector<std::unique_ptr<TColumn>> items_;
};

}  // namespace sp

#include "datagrid/columns.h"

#include "datagrid/griddata.h"
#include "support/text1252.h"

namespace sp {

TColumn* TDataGridColumns::Find(int index) {
  return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

const TColumn* TDataGridColumns::Find(int index) const {
  return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)].get() : nullptr;
}

TColumn& TDataGridColumns::Add() {
  grid_.SetColCount(Count() + 1);
  return *items_.back();
}

int TDataGridColumns::IndexOfField(std::string_view name) const {
  for (int i = 0; i < Count(); ++i) {
    if (SameText(items_[static_cast<size_t>(i)]->FieldName(), name)) return i;
  }
  return -1;
}

void TDataGridColumns::Changed() { grid_.ColumnsChanged(); }

void TDataGridColumns::Resize(int count) {
  while (Count() > count) items_.pop_back();
  while (Count() < count) items_.push_back(std::make_unique<TColumn>(*this, Count()));
}

void TDataGridColumns::Move(int from, int to) {
  auto moved = std::move(items_[static_cast<size_t>(from)]);
  items_.erase(items_.begin() + from);
  items_.insert(items_.begin() + to, std::move(moved));
}

}  // namespace sp

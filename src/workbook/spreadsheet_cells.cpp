#include "workbook/spreadsheet_cells.h"

#include <algorithm>
#include <string>

#include "platform/errors.h"

namespace sp {

namespace {

int32_t IndexOf(const TSpreadSheetCols::TEntry& e) { return e.Column; }
int32_t IndexOf(const TSpreadSheetRow& r) { return r.Index(); }

// The element with `index` in a list ordered by index, or nullptr. Rows and
// cells are mostly dense, so the slot of the same number is tried first.
template <typename List>
auto* Find(List& list, int32_t index) {
  using Element = std::remove_reference_t<decltype(list[0])>;
  const size_t n = list.size();
  if (static_cast<size_t>(index) < n && IndexOf(list[static_cast<size_t>(index)]) == index)
    return &list[static_cast<size_t>(index)];
  auto it = std::lower_bound(list.begin(), list.end(), index,
                             [](const auto& element, int32_t wanted) { return IndexOf(element) < wanted; });
  return it != list.end() && IndexOf(*it) == index ? &*it : static_cast<Element*>(nullptr);
}

// Where a write to `index` goes: the last element when it has that index, the
// existing element while the list is in order, else a new element at the end
// (the list is then out of order unless the new index is the highest).
template <typename List, typename Make>
auto& Obtain(List& list, bool& ordered, int32_t index, Make make) {
  if (!list.empty() && IndexOf(list.back()) == index) return list.back();
  if (ordered && (list.empty() || IndexOf(list.back()) < index)) return list.emplace_back(make());
  if (ordered)
    if (auto* found = Find(list, index)) return *found;
  ordered = false;
  return list.emplace_back(make());
}

int32_t CountAfter(int32_t index) { return index == INT32_MAX ? INT32_MAX : index + 1; }

}  // namespace

void TSpreadSheetCols::Order() const {
  if (ordered_) return;
  std::stable_sort(entries_.begin(), entries_.end(), [](const TEntry& a, const TEntry& b) { return a.Column < b.Column; });
  // Of several writes to one column the last one stands.
  size_t kept = 0;
  for (size_t i = 0; i < entries_.size(); ++i) {
    if (kept > 0 && entries_[kept - 1].Column == entries_[i].Column)
      entries_[kept - 1] = std::move(entries_[i]);
    else if (kept != i)
      entries_[kept++] = std::move(entries_[i]);
    else
      ++kept;
  }
  entries_.erase(entries_.begin() + static_cast<std::ptrdiff_t>(kept), entries_.end());
  ordered_ = true;
}

int32_t TSpreadSheetCols::Count() const {
  Order();
  return entries_.empty() ? 0 : CountAfter(entries_.back().Column);
}

const std::pmr::vector<TSpreadSheetCols::TEntry>& TSpreadSheetCols::Entries() const {
  Order();
  return entries_;
}

const TSMICell* TSpreadSheetCols::Items(int32_t column) const {
  if (column < 0) return nullptr;
  Order();
  const TEntry* entry = Find(entries_, column);
  return entry ? &entry->Cell : nullptr;
}

TSMICell& TSpreadSheetCols::Obtain(int32_t column) {
  return sp::Obtain(entries_, ordered_, column, [column] { return TEntry{column, {}}; }).Cell;
}

void TSpreadSheetCells::Order() const {
  if (ordered_) return;
  std::stable_sort(rows_.begin(), rows_.end(),
                   [](const TSpreadSheetRow& a, const TSpreadSheetRow& b) { return a.Index() < b.Index(); });
  // Rows written more than once are joined, later cells after earlier ones.
  size_t kept = 0;
  for (size_t i = 0; i < rows_.size(); ++i) {
    if (kept > 0 && rows_[kept - 1].Index() == rows_[i].Index()) {
      TSpreadSheetCols& into = rows_[kept - 1].cols_;
      for (auto& entry : rows_[i].cols_.entries_) into.entries_.push_back(std::move(entry));
      into.ordered_ = false;
    } else if (kept != i) {
      rows_[kept++] = std::move(rows_[i]);
    } else {
      ++kept;
    }
  }
  rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(kept), rows_.end());
  ordered_ = true;
}

TSpreadSheetRow& TSpreadSheetCells::ObtainRow(int32_t row) {
  const bool appends = ordered_ && (rows_.empty() || rows_.back().Index() < row);
  size_t widthHint = 0;
  if (appends && !rows_.empty() && !rows_.back().cols_.entries_.empty()) {
    // Rows of a sheet tend to be alike: reserving the previous row's span of
    // columns saves regrowing every row's list. A sparse row (which a damaged
    // file can make) gives at most twice its cells.
    const auto& previous = rows_.back().cols_.entries_;
    const auto span = static_cast<size_t>(previous.back().Column - previous.front().Column) + 1;
    widthHint = std::min(span, 2 * previous.size() + 8);
  }
  std::pmr::memory_resource* memory = memory_.get();
  TSpreadSheetRow& result = sp::Obtain(rows_, ordered_, row, [row, memory] { return TSpreadSheetRow(row, memory); });
  if (widthHint > 0) result.cols_.entries_.reserve(widthHint);
  return result;
}

void TSpreadSheetCells::SetCell(int32_t column, int32_t row, int32_t formatIndex, TAlignment alignment,
                                const TCellValue& value) {
  if (value.IsNull()) return;
  if (row < 0) throw EStringListError("List index out of bounds (" + std::to_string(row) + ")");
  if (column < 0) throw EStringListError("List index out of bounds (" + std::to_string(column) + ")");
  TSMICell& cell = ObtainRow(row).cols_.Obtain(column);
  cell.Value = value;
  cell.Alignment = alignment;
  cell.FormatIndex = formatIndex;
  if (autoExpand_) {
    colCount_ = std::max(colCount_, CountAfter(column));
    rowCount_ = std::max(rowCount_, CountAfter(row));
  }
}

const TSpreadSheetRow* TSpreadSheetCells::Row(int32_t row) const {
  if (row < 0) return nullptr;
  Order();
  return Find(rows_, row);
}

const std::vector<TSpreadSheetRow>& TSpreadSheetCells::Rows() const {
  Order();
  return rows_;
}

const TSMICell* TSpreadSheetCells::Cell(int32_t column, int32_t row) const {
  const TSpreadSheetRow* r = Row(row);
  return r ? r->Cols().Items(column) : nullptr;
}

TCellValue TSpreadSheetCells::GetCell(int32_t column, int32_t row) const {
  const TSMICell* cell = Cell(column, row);
  return cell ? cell->Value : TCellValue();
}

TSpreadSheetCells::TSpreadSheetCells() : memory_(std::make_unique<TCellArena>()) {}

TSpreadSheetCells::~TSpreadSheetCells() = default;

void TSpreadSheetCells::Clear() {
  std::vector<TSpreadSheetRow>().swap(rows_);
  memory_->release();
  ordered_ = true;
  rowCount_ = colCount_ = declaredRowCount_ = declaredColCount_ = 0;
}

void TSpreadSheetCells::SetDeclaredBounds(int32_t rowCount, int32_t colCount) {
  declaredRowCount_ = rowCount;
  declaredColCount_ = colCount;
  if (!autoExpand_) {
    rowCount_ = rowCount;
    colCount_ = colCount;
  }
}

}  // namespace sp

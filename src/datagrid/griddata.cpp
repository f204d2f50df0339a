#include "datagrid/griddata.h"

#include <algorithm>
#include <exception>

#include "datagrid/gridstream.h"

namespace sp {
namespace {

// The second line as its list of lines reads back: split at CR LF, CR or LF,
// joined by CR LF, no line end after the last line.
std::string NormalizedLines(std::string_view text) {
  std::string joined;
  joined.reserve(text.size());
  size_t i = 0;
  while (i < text.size()) {
    const char c = text[i++];
    if (c != '\r' && c != '\n') {
      joined += c;
      continue;
    }
    if (c == '\r' && i < text.size() && text[i] == '\n') ++i;
    if (i == text.size()) break;
    joined += "\r\n";
  }
  return joined;
}

const std::string kEmpty;

// Ends a bulk update however the scope is left.
class TUpdateScope {
 public:
  explicit TUpdateScope(TDataGridData& grid) : grid_(grid) { grid_.BeginUpdate(); }
  ~TUpdateScope() { grid_.EndUpdate(); }
  TUpdateScope(const TUpdateScope&) = delete;
  TUpdateScope& operator=(const TUpdateScope&) = delete;

 private:
  TDataGridData& grid_;
};

}  // namespace

TDataGridData::TDataGridData() : columns_(*this, look_) {
  columns_.Resize(5);
  rows_.resize(5);
}

void TDataGridData::SetColCount(int count) {
  count = std::max(count, 1);
  columns_.Resize(count);
  for (TRow& row : rows_) {
    if (row.cells.size() > static_cast<size_t>(count)) row.cells.resize(static_cast<size_t>(count));
  }
  fixedCols_ = std::min(fixedCols_, count - 1);
  col_ = std::min(col_, count - 1);
  Notify([](TDataGridListener& l) { l.GridChanged(); });
}

void TDataGridData::SetRowCount(int count) {
  count = std::max(count, 2);
  rows_.resize(static_cast<size_t>(count));
  fixedRows_ = std::min(fixedRows_, count - 1);
  row_ = std::min(row_, count - 1);
  Notify([](TDataGridListener& l) { l.GridChanged(); });
}

void TDataGridData::SetFixedCols(int count) {
  fixedCols_ = std::clamp(count, 0, ColCount() - 1);
  SetCurrent(col_, row_);
  Notify([](TDataGridListener& l) { l.GridChanged(); });
}

void TDataGridData::SetFixedRows(int count) {
  fixedRows_ = std::clamp(count, 0, RowCount() - 1);
  SetCurrent(col_, row_);
  Notify([](TDataGridListener& l) { l.GridChanged(); });
}

void TDataGridData::SetRowCountMin(int count) {
  rowCountMin_ = std::max(count, 0);
  if (rowCountMin_ > RowCount()) SetRowCount(rowCountMin_);
}

const std::string& TDataGridData::Cell(int col, int row) const {
  if (row < 0 || row >= RowCount()) return kEmpty;
  const TRow& r = rows_[static_cast<size_t>(row)];
  if (col == -2) return r.second;
  if (col < 0 || static_cast<size_t>(col) >= r.cells.size()) return kEmpty;
  return r.cells[static_cast<size_t>(col)];
}

void TDataGridData::SetCell(int col, int row, std::string text) {
  if (col == -2) {
    SetSecondLine(row, text);
    return;
  }
  if (col < 0 || col >= ColCount() || row < 0 || row >= RowCount()) return;
  if (OnBeforeSetcell && columns_[col].HoldsDecimals()) {
    const std::string fieldName = columns_[col].FieldName();
    OnBeforeSetcell(col, row, text, fieldName);
    if (col >= ColCount() || row >= RowCount()) return;  // the handler reshaped the grid
  }
  std::vector<std::string>& cells = rows_[static_cast<size_t>(row)].cells;
  if (cells.size() <= static_cast<size_t>(col)) cells.resize(static_cast<size_t>(ColCount()));
  cells[static_cast<size_t>(col)] = std::move(text);
  NotifyCell(col, row);
  if (col >= 1 && !Updating() && OnAfterCellWrite) {
    const std::string fieldName = columns_[col].FieldName();
    OnAfterCellWrite(col, row, fieldName);
  }
}

void TDataGridData::SetSecondLine(int row, std::string_view text) {
  if (row < 0 || row >= RowCount()) return;
  TRow& r = rows_[static_cast<size_t>(row)];
  if (UseSecondLine) r.second = NormalizedLines(text);
  NotifyCell(-2, row);
  if (!UseSecondLine || text.empty()) ResetRowHeight(row);
}

void TDataGridData::SetDefaultRowHeight(int height) {
  defaultRowHeight_ = std::max(height, 1);
  for (TRow& row : rows_) row.height = 0;
  Notify([](TDataGridListener& l) { l.GridChanged(); });
}

int TDataGridData::RowHeight(int row) const {
  if (row < 0 || row >= RowCount()) return defaultRowHeight_;
  const int own = rows_[static_cast<size_t>(row)].height;
  if (own > 0) return own;
  return SecondLine && row >= fixedRows_ ? 2 * defaultRowHeight_ : defaultRowHeight_;
}

void TDataGridData::SetRowHeight(int row, int height) {
  if (row < 0 || row >= RowCount()) return;
  rows_[static_cast<size_t>(row)].height = std::max(height, 1);
  Notify([row](TDataGridListener& l) { l.RowHeightChanged(row); });
}

void TDataGridData::ResetRowHeight(int row) {
  if (row < 0 || row >= RowCount()) return;
  rows_[static_cast<size_t>(row)].height = 0;
  Notify([row](TDataGridListener& l) { l.RowHeightChanged(row); });
}

void TDataGridData::SetMaxSecondHeight(int height) { maxSecondHeight_ = std::clamp(height, 50, 100); }

void TDataGridData::SetCurrent(int col, int row) {
  const int oldCol = col_, oldRow = row_;
  col_ = std::clamp(col, std::min(fixedCols_, ColCount() - 1), ColCount() - 1);
  row_ = std::clamp(row, std::min(fixedRows_, RowCount() - 1), RowCount() - 1);
  if (col_ != oldCol || row_ != oldRow) Notify([](TDataGridListener& l) { l.CurrentChanged(); });
}

void TDataGridData::EmptyRow(TRow& row, int fromCol) {
  if (row.cells.size() > static_cast<size_t>(fromCol)) {
    std::fill(row.cells.begin() + fromCol, row.cells.end(), std::string());
  }
  row.second.clear();
  row.height = 0;
}

void TDataGridData::ClearRow(int row) {
  if (row < 0 || row >= RowCount()) return;
  EmptyRow(rows_[static_cast<size_t>(row)], 0);
  Notify([](TDataGridListener& l) { l.GridChanged(); });
}

void TDataGridData::Clear() {
  {
    TUpdateScope update(*this);
    SetRowCount(fixedRows_ + 1);
    for (size_t r = static_cast<size_t>(fixedRows_); r < rows_.size(); ++r) EmptyRow(rows_[r], 0);
    SetCurrent(1, 1);
  }
  Notify([](TDataGridListener& l) { l.CurrentChanged(); });
}

void TDataGridData::AppendRow() {
  if (BeforeInsert) BeforeInsert();
  {
    TUpdateScope update(*this);
    rows_.emplace_back();
    SetCurrent(col_, RowCount() - 1);
  }
  const int last = RowCount() - 1;
  Notify([last](TDataGridListener& l) { l.ScrollIntoView(last); });
  if (AfterInsert) AfterInsert();
}

bool TDataGridData::InsertRow(int position, bool focusAfter) {
  if (!HasOption(dgoAppendRow) || !HasOption(dgoInsertRow)) return false;
  if (position < fixedRows_ || position > RowCount()) return false;
  if (BeforeInsert) BeforeInsert();
  {
    TUpdateScope update(*this);
    rows_.insert(rows_.begin() + std::min(position, RowCount()), TRow());
    SetCurrent(col_, position);
  }
  Notify([position](TDataGridListener& l) { l.ScrollIntoView(position); });
  if (AfterInsert) AfterInsert();
  if (focusAfter) Notify([](TDataGridListener& l) { l.FocusRequested(); });
  return true;
}

bool TDataGridData::DeleteRow(int position, bool focusAfter) {
  if (!HasOption(dgoDeleteRow)) return false;
  if (position < fixedRows_ || position >= RowCount()) return false;
  bool done = false;
  try {
    TUpdateScope update(*this);
    if (BeforeDelete) BeforeDelete();
    if (position < RowCount()) {
      const bool lastDataRow = RowCount() - fixedRows_ <= 1;
      if (lastDataRow || (rowCountMin_ > 0 && rowCountMin_ >= RowCount())) {
        EmptyRow(rows_[static_cast<size_t>(position)], fixedCols_);
      } else {
        rows_.erase(rows_.begin() + position);
      }
      SetCurrent(col_, position == fixedRows_ ? position : position - 1);
      done = true;
    }
  } catch (const std::exception& failure) {
    ShowMessage(failure.what());
  }
  if (focusAfter) Notify([](TDataGridListener& l) { l.FocusRequested(); });
  return done;
}

void TDataGridData::MoveRow(int from, int to) {
  if (from < 0 || from >= RowCount() || to < 0 || to >= RowCount() || from == to) return;
  TRow moved = std::move(rows_[static_cast<size_t>(from)]);
  rows_.erase(rows_.begin() + from);
  rows_.insert(rows_.begin() + to, std::move(moved));
  Notify([](TDataGridListener& l) { l.GridChanged(); });
}

void TDataGridData::MoveColumn(int from, int to) {
  if (from < 0 || from >= ColCount() || to < 0 || to >= ColCount() || from == to) return;
  columns_.Move(from, to);
  for (TRow& row : rows_) {
    if (row.cells.size() <= static_cast<size_t>(std::max(from, to))) row.cells.resize(static_cast<size_t>(ColCount()));
    std::string moved = std::move(row.cells[static_cast<size_t>(from)]);
    row.cells.erase(row.cells.begin() + from);
    row.cells.insert(row.cells.begin() + to, std::move(moved));
  }
  Notify([](TDataGridListener& l) { l.GridChanged(); });
}

void TDataGridData::ColumnsChanged() {
  Notify([](TDataGridListener& l) { l.GridChanged(); });
}

void TDataGridData::EndUpdate(bool moveToStart) {
  if (updateCount_ == 0) return;
  if (--updateCount_ > 0) return;
  if (moveToStart) SetCurrent(1, 1);
  Notify([](TDataGridListener& l) { l.GridChanged(); });
}

void TDataGridData::Loaded() {
  loading_ = false;
  if (OnAfterloading) OnAfterloading();
}

std::string TDataGridData::EditMaskFor(int col, int row) {
  const TColumn* column = columns_.Find(col);
  std::string mask = column ? column->EditMask : std::string();
  if (OnGetEditMask) OnGetEditMask(col, row, mask);
  return mask;
}

void TDataGridData::EditorClosed(int col, int row, const std::string& text) {
  if (col == -2) {
    if (Cell(-2, row) != text) SetSecondLine(row, text);
    return;
  }
  if (!columns_.Find(col) || row < 0 || row >= RowCount()) return;
  const bool equal = Cell(col, row) == text;
  if (!equal) SetCell(col, row, text);
  if (col >= 1 && col < ColCount() && !Updating() && OnAfterCellEdit) {
    const std::string fieldName = columns_[col].FieldName();
    OnAfterCellEdit(col, row, fieldName, equal);
  }
}

bool TDataGridData::SaveToStream(TStream& stream) {
  try {
    WriteGridStream(*this, stream);
    return true;
  } catch (const std::exception& failure) {
    ShowMessage("TDataGrid.SaveToStream " + std::string(failure.what()));
    return false;
  }
}

bool TDataGridData::LoadFromStream(TStream& stream) {
  TUpdateScope update(*this);
  try {
    ReadGridStream(*this, stream);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

void TDataGridData::Notify(const std::function<void(TDataGridListener&)>& call) {
  if (listener_ && !Updating()) call(*listener_);
}

void TDataGridData::NotifyCell(int col, int row) {
  if (listener_ && !Updating()) listener_->CellChanged(col, row);
}

void TDataGridData::ShowMessage(const std::string& text) {
  if (OnShowMessage) OnShowMessage(text);
}

}  // namespace sp

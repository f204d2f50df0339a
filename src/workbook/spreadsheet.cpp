#include "workbook/spreadsheet.h"

#include "platform/errors.h"

namespace sp {

int32_t TSpreadSheets::AddSheet() {
  auto sheet = std::make_unique<TSpreadSheet>();
  const std::string caption = "Arbeitsblatt" + std::to_string(sheets_.size() + 1);
  sheet->Caption.assign(caption.begin(), caption.end());
  sheets_.push_back(std::move(sheet));
  return Count() - 1;
}

TSpreadSheet& TSpreadSheets::Items(int32_t index) {
  if (index < 0) index = 0;
  if (index >= Count()) return *sheets_[static_cast<size_t>(AddSheet())];
  return *sheets_[static_cast<size_t>(index)];
}

void TSpreadSheets::Delete(int32_t index) {
  if (index < 0 || index >= Count()) throw EStringListError("List index out of bounds (" + std::to_string(index) + ")");
  sheets_.erase(sheets_.begin() + index);
}

}  // namespace sp

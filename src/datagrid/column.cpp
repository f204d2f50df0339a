#include "datagrid/column.h"

#include "support/text1252.h"

namespace sp {

void TColumnTitle::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  captionAssigned_ = true;
}

void TColumnTitle::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  alignmentAssigned_ = true;
}

void TColumnTitle::SetFont(TFontSpec font) {
  font_ = std::move(font);
  fontAssigned_ = true;
}

void TColumnTitle::Assign(const TColumnTitle& source) {
  const TGridLook* look = look_;
  *this = source;
  look_ = look;
}

TColumn::TColumn(const TGridLook& look, int position) : look_(&look), internalCol_(position), title_(look) {
  SetFieldName("");
}

void TColumn::SetFieldName(std::string name) {
  if (Trim(name).empty()) name = "TColumn-" + std::to_string(internalCol_ + 1);
  fieldName_ = std::move(name);
}

std::string TColumn::DisplayName() const {
  const std::string_view trimmed = Trim(fieldName_);
  return trimmed.empty() ? std::string("TColumn") : std::string(trimmed);
}

void TColumn::SetWidth(int width) {
  if (width < 0) width = -1;
  else if (width < 10) width = 10;
  width_ = width;
}

void TColumn::SetFormat(TColumnFormat format) {
  format_ = format;
  DisplayMask.clear();
}

void TColumn::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  alignmentAssigned_ = true;
}

void TColumn::SetColor(TColor color) {
  color_ = color;
  colorAssigned_ = true;
}

void TColumn::SetFont(TFontSpec font) {
  font_ = std::move(font);
  fontAssigned_ = true;
}

void TColumn::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  readOnlyAssigned_ = true;
}

void TColumn::Assign(const TColumn& source) {
  const TGridLook* look = look_;
  const int internalCol = internalCol_;
  TColumnTitle title(*look);
  title.Assign(source.title_);
  *this = source;
  look_ = look;
  internalCol_ = internalCol;
  title_ = title;
}

}  // namespace sp

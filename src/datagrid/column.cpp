#include "datagrid/column.h"

#include "datagrid/columns.h"
#include "support/text1252.h"

namespace sp {

TColumnTitle::TColumnTitle(TDataGridColumns& owner) : owner_(&owner) {}

void TColumnTitle::SetCaption(std::string caption) {
  caption_ = std::move(caption);
  captionAssigned_ = true;
  owner_->Changed();
}

void TColumnTitle::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  alignmentAssigned_ = true;
  owner_->Changed();
}

const TFontSpec& TColumnTitle::Font() const { return fontAssigned_ ? font_ : owner_->Look().Font; }

void TColumnTitle::SetFont(TFontSpec font) {
  font_ = std::move(font);
  fontAssigned_ = true;
  owner_->Changed();
}

void TColumnTitle::Assign(const TColumnTitle& source) {
  TDataGridColumns* owner = owner_;
  *this = source;
  owner_ = owner;
  owner_->Changed();
}

TColumn::TColumn(TDataGridColumns& owner, int position) : owner_(&owner), internalCol_(position), title_(owner) {
  SetFieldName("");
}

TColor TColumn::Color() const { return colorAssigned_ ? color_ : owner_->Look().Color; }

const TFontSpec& TColumn::Font() const { return fontAssigned_ ? font_ : owner_->Look().Font; }

bool TColumn::ReadOnly() const { return readOnlyAssigned_ ? readOnly_ : !owner_->Look().Editing; }

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
  owner_->Changed();
}

void TColumn::SetFormat(TColumnFormat format) {
  format_ = format;
  DisplayMask.clear();
  owner_->Changed();
}

void TColumn::SetAlignment(TAlignment alignment) {
  alignment_ = alignment;
  alignmentAssigned_ = true;
  owner_->Changed();
}

void TColumn::SetColor(TColor color) {
  color_ = color;
  colorAssigned_ = true;
  owner_->Changed();
}

void TColumn::SetFont(TFontSpec font) {
  font_ = std::move(font);
  fontAssigned_ = true;
  owner_->Changed();
}

void TColumn::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  readOnlyAssigned_ = true;
}

void TColumn::Assign(const TColumn& source) {
  TDataGridColumns* owner = owner_;
  const int internalCol = internalCol_;
  TColumnTitle title(*owner);
  title.Assign(source.title_);
  *this = source;
  owner_ = owner;
  internalCol_ = internalCol;
  title_ = title;
  owner_->Changed();
}

}  // namespace sp

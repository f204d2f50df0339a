// One column of the data grid (TColumn) and its header (TColumnTitle).
//
// A column belongs to the TDataGridColumns collection of one grid, which
// creates and frees it. Colour, font, alignment and read-only state, and the
// title's caption, alignment and font, remember whether they were assigned;
// an unassigned one follows the grid's settings (TGridLook), so changing the
// grid's font changes every column that never got a font of its own.
// Properties the grid's behaviour does not depend on are plain members.
// Setters of the properties the grid draws with tell the grid (through the
// collection), so a window showing it redraws; plain members do not.
// Not thread-safe: used on the grid's thread only.
#pragma once

#include <string>
#include <vector>

#include "datagrid/gridtypes.h"

namespace sp {

// The grid settings unassigned column properties follow.
struct TGridLook {
  TColor Color = clWhite;
  TFontSpec Font;
  bool Editing = true;  // the grid allows editing at all
};

class TDataGridColumns;

class TColumnTitle {
 public:
  explicit TColumnTitle(TDataGridColumns& owner);

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  TAlignment Alignment() const { return alignmentAssigned_ ? alignment_ : taLeftJustify; }
  void SetAlignment(TAlignment alignment);
  const TFontSpec& Font() const;
  void SetFont(TFontSpec font);

  bool CaptionAssigned() const { return captionAssigned_; }
  bool AlignmentAssigned() const { return alignmentAssigned_; }
  bool FontAssigned() const { return fontAssigned_; }
  // Copies every property and assigned-flag, keeping this title's grid.
  void Assign(const TColumnTitle& source);

 private:
  TDataGridColumns* owner_;
  std::string caption_;
  bool captionAssigned_ = false;
  TAlignment alignment_ = taLeftJustify;
  bool alignmentAssigned_ = false;
  TFontSpec font_;
  bool fontAssigned_ = false;
};

class TColumn {
 public:
  // `position` is the column's index at creation (InternalCol).
  TColumn(TDataGridColumns& owner, int position);

  // Never blank: an empty or blank value becomes "TColumn-<InternalCol + 1>".
  const std::string& FieldName() const { return fieldName_; }
  void SetFieldName(std::string name);
  // The name the caption line of the grid stream shows: the trimmed field name.
  std::string DisplayName() const;

  TColumnTitle& Title() { return title_; }
  const TColumnTitle& Title() const { return title_; }

  // Pixels; -1 means hidden. Set values 0..9 become 10, any negative -1.
  int Width() const { return width_; }
  void SetWidth(int width);
  bool Hidden() const { return width_ == -1; }

  TColumnFormat Format() const { return format_; }
  void SetFormat(TColumnFormat format);  // empties DisplayMask

  TAlignment Alignment() const { return alignmentAssigned_ ? alignment_ : taLeftJustify; }
  void SetAlignment(TAlignment alignment);
  TColor Color() const;
  void SetColor(TColor color);
  const TFontSpec& Font() const;
  void SetFont(TFontSpec font);
  // Unassigned: true exactly when the grid does not allow editing.
  bool ReadOnly() const;
  void SetReadOnly(bool readOnly);

  bool AlignmentAssigned() const { return alignmentAssigned_; }
  bool ColorAssigned() const { return colorAssigned_; }
  bool FontAssigned() const { return fontAssigned_; }
  bool ReadOnlyAssigned() const { return readOnlyAssigned_; }

  // deFloat and deCurrency columns get OnBeforeSetcell and the decimal
  // separator conversion when a grid stream is loaded.
  bool HoldsDecimals() const { return NumericKind == deFloat || NumericKind == deCurrency; }

  int InternalCol() const { return internalCol_; }

  // Copies every property and assigned-flag; the grid and InternalCol stay.
  void Assign(const TColumn& source);

  std::string EditMask;
  std::string DisplayMask;
  std::vector<std::string> PickList;
  TEditDataType_ NumericKind = deCurrency;
  int NumericPrecision = 2;
  int NumericDigits = 2;
  bool ButtonExists = true;
  TColumnButtonStyle ButtonStyle = cbsAuto;
  uint32_t DropDownRows = 7;
  void* PopupMenu = nullptr;  // a menu of the windows layer; not owned
  bool LimitToList = true;
  bool CheckField = false;
  bool Intern = false;
  bool Streaming = false;
  int MaxLength = 0;

 private:
  TDataGridColumns* owner_;
  int internalCol_;
  std::string fieldName_;
  TColumnTitle title_;
  int width_ = 10;
  TColumnFormat format_ = cfString;
  TAlignment alignment_ = taLeftJustify;
  bool alignmentAssigned_ = false;
  TColor color_ = clWhite;
  bool colorAssigned_ = false;
  TFontSpec font_;
  bool fontAssigned_ = false;
  bool readOnly_ = false;
  bool readOnlyAssigned_ = false;
};

}  // namespace sp

// Plain value types the data grid's columns and rows are described with.
// Colours are 0x00BBGGRR, as the stored form descriptions hold them; fonts are
// described, not created: the windows layer turns a TFontSpec into a real font.
#pragma once

#include <cstdint>
#include <string>

namespace sp {

using TColor = uint32_t;

inline constexpr TColor clWhite = 0xFFFFFF;
inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clBtnFace = 0xF0F0F0;
inline constexpr TColor clEditorBack = 0xD5D5D5;  // light grey (213, 213, 213)

inline constexpr TColor RGBColor(int red, int green, int blue) {
  return static_cast<TColor>((blue & 0xFF) << 16 | (green & 0xFF) << 8 | (red & 0xFF));
}

enum TAlignment { taLeftJustify, taRightJustify, taCenter };

struct TFontSpec {
  std::string Name = "Tahoma";
  int Size = 8;  // points
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  TColor Color = clBlack;

  bool operator==(const TFontSpec&) const = default;
};

enum TColumnFormat { cfString, cfNumber, cfDate, cfdblocate, cfcombo, cfcheck };
enum TEditDataType_ { deInteger, deFloat, deCurrency };
enum TColumnButtonStyle { cbsAuto, cbsEllipsis, cbsNone };

}  // namespace sp

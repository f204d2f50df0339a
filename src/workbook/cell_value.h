// The value of one workbook cell: Null (no cell), a 32-bit integer, a number,
// a date-time (days since 30.12.1899, the time of day as the fraction), a
// boolean, or a UTF-16 text (error values such as "#DIV/0!" are texts too).
//
// Twelve bytes: the cell store holds more than a million of them for a big
// sheet. A text shares its characters with every copy (TWideText), so copying
// a value never copies characters. Copies are independent values: nothing a
// holder does to its copy reaches another.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "workbook/wide_text.h"

namespace sp {

enum class TValueKind : uint8_t { Null, Integer, Number, DateTime, Boolean, Text };

class TCellValue {
 public:
  TCellValue() noexcept : payload_{0, 0}, kind_(TValueKind::Null) {}
  static TCellValue Integer(int32_t value) noexcept;
  static TCellValue Number(double value) noexcept;
  static TCellValue DateTime(double value) noexcept;
  static TCellValue Boolean(bool value) noexcept;
  static TCellValue Text(const TWideText& text) noexcept;
  static TCellValue Text(std::u16string_view text) { return Text(TWideText(text)); }

  TCellValue(const TCellValue& other) noexcept;
  TCellValue(TCellValue&& other) noexcept;
  TCellValue& operator=(const TCellValue& other) noexcept;
  TCellValue& operator=(TCellValue&& other) noexcept;
  ~TCellValue() { DropText(); }

  TValueKind Kind() const noexcept { return kind_; }
  bool IsNull() const noexcept { return kind_ == TValueKind::Null; }
  // Each REQUIRES the matching kind (AsDouble: Number or DateTime); another
  // kind gives 0, false or the empty text.
  int32_t AsInteger() const noexcept;
  double AsDouble() const noexcept;
  bool AsBoolean() const noexcept;
  std::u16string_view AsText() const noexcept;

  friend bool operator==(const TCellValue& a, const TCellValue& b) noexcept;

 private:
  template <typename T>
  static TCellValue Make(TValueKind kind, T value) noexcept;
  TWideText::Rep* TextRep() const noexcept;
  void DropText() noexcept;

  uint32_t payload_[2];  // int32, bool, double bits or the text's block pointer
  TValueKind kind_;
};

}  // namespace sp

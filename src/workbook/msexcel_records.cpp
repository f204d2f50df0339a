// The record handler of TMSExcel: what each BIFF record contributes.
#include <algorithm>
#include <string>

#include "platform/compound/little_endian.h"
#include "support/text1252.h"
#include "workbook/biff_records.h"
#include "workbook/msexcel.h"
#include "workbook/record_input.h"
#include "workbook/shared_strings.h"

namespace sp {

namespace {

// BIFF has 256 columns; column ranges of COLINFO reach further only in
// damaged files, and each column costs one event.
constexpr uint32_t kLastColumn = 255;

std::u16string ErrorText(uint8_t code) {
  const char* text = nullptr;
  switch (code) {
    case 0: text = "#NULL!"; break;
    case 7: text = "#DIV/0!"; break;
    case 15: text = "#VALUE!"; break;
    case 23: text = "#REF!"; break;
    case 29: text = "#NAME?"; break;
    case 36: text = "#NUM!"; break;
    case 42: text = "#N/A"; break;
    default: break;
  }
  const std::string s = text ? text : "Unknown error code " + std::to_string(code);
  return std::u16string(s.begin(), s.end());
}

TAlignment MapAlignment(uint32_t code) {
  switch (code & 3) {
    case 3: return taRightJustify;
    case 2: return taCenter;
    default: return taLeftJustify;
  }
}

double RkNumber(uint32_t rk) {
  double value;
  if (rk & 2) {
    value = static_cast<int32_t>(rk & ~3u) / 4.0;
  } else {
    const uint64_t bits = static_cast<uint64_t>(rk & ~3u) << 32;
    std::memcpy(&value, &bits, sizeof value);
  }
  return rk & 1 ? value / 100 : value;
}

// 8-bit characters (the ANSI code page), as many of `count` as the body holds.
TWideText AnsiString(const uint8_t* data, size_t length, size_t at, size_t count) {
  if (at >= length) return {};
  count = std::min(count, length - at);
  return TWideText(AnsiToUtf16(std::string_view(reinterpret_cast<const char*>(data + at), count)));
}

}  // namespace

TWideText TMSExcel::UnicodeString(Body body, size_t flagsAt, size_t count) const {
  if (flagsAt >= body.length) return {};
  const uint8_t flags = body.data[flagsAt];
  size_t at = flagsAt + 1;
  if (flags & 0x08) at += 2;  // count of formatting runs
  if (flags & 0x04) at += 4;  // size of the phonetic block
  if (!(flags & 0x01)) return AnsiString(body.data, body.length, at, count);
  if (at >= body.length) return {};
  count = std::min(count, (body.length - at) / 2);
  std::u16string text(count, u'\0');
  for (size_t i = 0; i < count; ++i) text[i] = static_cast<char16_t>(Le16(body.data + at + 2 * i));
  return TWideText(text);
}

TWideText TMSExcel::Pooled(const TWideText& text) {
  // Bounded, so that a workbook of distinct texts does not grow the pool
  // beyond its use.
  constexpr size_t kPoolLimit = 100000;
  if (const auto found = textPool_.find(text.View()); found != textPool_.end()) return found->second;
  if (textPool_.size() < kPoolLimit) textPool_.emplace(text.View(), text);
  return text;
}

TAlignment TMSExcel::AlignmentOf(int32_t formatIndex) const {
  if (formatIndex < 0 || static_cast<size_t>(formatIndex) >= xfList_.size()) return taLeftJustify;
  return MapAlignment(static_cast<uint32_t>(xfList_[static_cast<size_t>(formatIndex)].Alignment));
}

void TMSExcel::Deliver(int32_t row, int32_t column, int32_t formatIndex, const TCellValue& value, TAlignment alignment) {
  maxRow_ = std::max(maxRow_, row);
  maxColumn_ = std::max(maxColumn_, column);
  if (OnCellValue) OnCellValue(*this, sheetIndex_, row, column, formatIndex, value, alignment);
}

void TMSExcel::DeliverNumber(int32_t row, int32_t column, int32_t formatIndex, double value) {
  Deliver(row, column, formatIndex, IsDateFormat(formatIndex) ? TCellValue::DateTime(value) : TCellValue::Number(value),
          AlignmentOf(formatIndex));
}

void TMSExcel::DeliverRk(int32_t row, int32_t column, int32_t formatIndex, uint32_t rk) {
  DeliverNumber(row, column, formatIndex, RkNumber(rk));
}

void TMSExcel::HandleDimensions(Body body) {
  const uint8_t* d = body.data;
  int32_t firstRow = 0, rows = 0, firstColumn = 0, columns = 0;
  if (IsBiff8()) {
    if (body.length < 12) return;
    firstRow = static_cast<int32_t>(Le32(d));
    rows = static_cast<int32_t>(Le32(d + 4));
    firstColumn = Le16(d + 8);
    columns = Le16(d + 10);
  } else {
    if (body.length < 8) return;
    rows = Le16(d + 2) + 1;
    columns = Le16(d + 6) + 1;
  }
  dimensionsSeen_ = true;
  dimensionRows_ = rows;
  dimensionColumns_ = columns;
  if (OnDimensions) OnDimensions(*this, sheetIndex_, firstRow, rows, firstColumn, columns);
}

void TMSExcel::ReadStringResult(int32_t row, int32_t column, int32_t formatIndex, TAlignment alignment,
                                TRecordInput& input) {
  uint64_t mark = input.Position();
  TRecordHeader next;
  if (!input.ReadHeader(next)) return;
  // Shared, array and table formulas put their definition between the
  // FORMULA record and its STRING record.
  if (next.Type == kSharedFormula || next.Type == kSharedFormula3 || next.Type == kArray || next.Type == kTable) {
    input.Skip(next.Length);
    mark = input.Position();
    if (!input.ReadHeader(next)) return;
  }
  if (next.Type != kString && next.Type != kString2) {
    input.Seek(mark);  // not ours: the record loop reads it
    return;
  }
  if (next.Length > MaxBodyLength() || !input.Read(body_.data(), next.Length)) {
    input.Skip(next.Length);
    return;
  }
  const Body body{body_.data(), next.Length};
  if (next.Type == kString2) {
    if (body.length < 1) return;
    Deliver(row, column, 0, TCellValue::Text(Pooled(AnsiString(body.data, body.length, 1, body.data[0]))), alignment);
    return;
  }
  if (body.length < 2) return;
  const size_t count = Le16(body.data);
  const TWideText text = IsBiff8() ? UnicodeString(body, 2, count) : AnsiString(body.data, body.length, 2, count);
  Deliver(row, column, formatIndex, TCellValue::Text(Pooled(text)), alignment);
}

void TMSExcel::HandleFormula(Body body, TRecordInput& input) {
  // BIFF2 keeps three attribute bytes before the result, later versions an
  // XF index; BIFF2 numbers are never dates, as with its NUMBER record.
  const bool biff2 = version_ == evExcel2;
  const size_t resultAt = biff2 ? 7 : 6;
  if (body.length < resultAt + 8) return;
  const uint8_t* d = body.data;
  const int32_t row = Le16(d), column = Le16(d + 2);
  const int32_t formatIndex = biff2 ? -1 : Le16(d + 4);
  const TAlignment alignment = biff2 ? MapAlignment(d[6]) : AlignmentOf(formatIndex);
  const uint8_t* result = d + resultAt;
  if (result[6] != 0xFF || result[7] != 0xFF) {
    const double value = LeDouble(result);
    if (biff2)
      Deliver(row, column, formatIndex, TCellValue::Number(value), alignment);
    else
      DeliverNumber(row, column, formatIndex, value);
    return;
  }
  switch (result[0]) {
    case 0: ReadStringResult(row, column, formatIndex, alignment, input); break;
    case 1: Deliver(row, column, formatIndex, TCellValue::Boolean(result[2] == 1), alignment); break;
    case 2: Deliver(row, column, formatIndex, TCellValue::Text(ErrorText(result[2])), alignment); break;
    default: break;  // an empty result gives no cell
  }
}

bool TMSExcel::HandleRecord(const TRecordHeader& header, Body body, TRecordInput& input) {
  const uint8_t* d = body.data;
  const size_t n = body.length;
  auto row = [d] { return static_cast<int32_t>(Le16(d)); };
  auto column = [d] { return static_cast<int32_t>(Le16(d + 2)); };
  switch (header.Type) {
    case kBlank2:
      if (n >= 7 && LoadNULLs) Deliver(row(), column(), Le16(d + 4), TCellValue(), MapAlignment(d[6]));
      return true;
    case kBlank:
      if (n >= 6 && LoadNULLs) Deliver(row(), column(), Le16(d + 4), TCellValue(), AlignmentOf(Le16(d + 4)));
      return true;
    case kInteger2:
      if (n >= 9) Deliver(row(), column(), -1, TCellValue::Integer(Le16(d + 7)), MapAlignment(d[6]));
      return true;
    case kNumber2:
      if (n >= 15) Deliver(row(), column(), -1, TCellValue::Number(LeDouble(d + 7)), MapAlignment(d[6]));
      return true;
    case kLabel2:
      if (n >= 8)
        Deliver(row(), column(), d[5] >> 6, TCellValue::Text(Pooled(AnsiString(d, n, 8, d[7]))), MapAlignment(d[6]));
      return true;
    case kBoolErr2:
      if (n >= 9) {
        const TCellValue value = d[8] == 0 ? TCellValue::Boolean(d[7] != 0) : TCellValue::Text(ErrorText(d[7]));
        Deliver(row(), column(), Le16(d + 4), value, MapAlignment(d[6]));
      }
      return true;
    case kBoolErr:
      if (n >= 8) {
        const int32_t formatIndex = Le16(d + 4);
        const TCellValue value = d[7] == 0 ? TCellValue::Boolean(d[6] != 0) : TCellValue::Text(ErrorText(d[6]));
        Deliver(row(), column(), formatIndex, value, AlignmentOf(formatIndex));
      }
      return true;
    case kFormula:
    case kFormula3:
    case kFormula4:
      HandleFormula(body, input);
      return true;
    case kNumber:
      if (n >= 14) DeliverNumber(row(), column(), Le16(d + 4), LeDouble(d + 6));
      return true;
    case kRk:
    case kRk3:
      if (n >= 10) DeliverRk(row(), column(), Le16(d + 4), Le32(d + 6));
      return true;
    case kMulRk:
      if (n >= 6)
        for (size_t i = 0; i < (n - 6) / 6; ++i)
          DeliverRk(row(), column() + static_cast<int32_t>(i), Le16(d + 4 + 6 * i), Le32(d + 6 + 6 * i));
      return true;
    case kMulBlank:
      if (n >= 6 && LoadNULLs)
        for (size_t i = 0; i < (n - 6) / 2; ++i) {
          const int32_t formatIndex = Le16(d + 4 + 2 * i);
          Deliver(row(), column() + static_cast<int32_t>(i), formatIndex, TCellValue(), AlignmentOf(formatIndex));
        }
      return true;
    case kLabel:
    case kRString:
      if (n >= 8) {
        const int32_t formatIndex = Le16(d + 4);
        const size_t count = Le16(d + 6);
        const TWideText text = IsBiff8() ? UnicodeString(body, 8, count) : AnsiString(d, n, 8, count);
        Deliver(row(), column(), formatIndex, TCellValue::Text(Pooled(text)), AlignmentOf(formatIndex));
      }
      return true;
    case kLabelSst:
      if (n >= 10) {
        const int32_t formatIndex = Le16(d + 4);
        const auto index = static_cast<int32_t>(Le32(d + 6));
        Deliver(row(), column(), formatIndex, TCellValue::Text(sharedStrings_.Strings(index)), AlignmentOf(formatIndex));
      }
      return true;
    case kSst:
      ReadSharedStrings(input, header.Length, sharedStrings_);
      return true;
    case kBoundSheet:
      if (n >= (IsBiff8() ? 8u : 7u)) {
        const TWideText name = IsBiff8() ? UnicodeString(body, 7, d[6]) : AnsiString(d, n, 7, d[6]);
        const uint32_t offset = Le32(d);
        nameByOffset_.emplace(offset, sheetNames_.Add(name, static_cast<int32_t>(offset)));
      }
      return true;
    case kXf2:
      if (n >= 3) xfList_.push_back({d[2] & 0x3F, d[0], 0});
      return true;
    case kXf3:
      if (n >= 1) xfList_.push_back({-1, d[0], 0});
      return true;
    case kXf4:
      if (n >= 2) xfList_.push_back({d[1], d[0], 0});
      return true;
    case kXf:
      if (n >= 7) xfList_.push_back({Le16(d + 2), Le16(d), d[6] & 7});
      return true;
    case kFormat:
      if (IsBiff8() && n >= 5) {
        SetFormat(Le16(d), std::u16string(UnicodeString(body, 4, Le16(d + 2)).View()));
      } else if (!IsBiff8() && n >= 3) {
        SetFormat(Le16(d), std::u16string(AnsiString(d, n, 3, d[2]).View()));
      }
      return true;
    case kColInfo:
      if (n >= 6 && OnColumnWidth) {
        const uint32_t last = std::min<uint32_t>(Le16(d + 2), kLastColumn);
        for (uint32_t c = Le16(d); c <= last; ++c) OnColumnWidth(*this, sheetIndex_, static_cast<int32_t>(c), Le16(d + 4));
      }
      return true;
    case kColWidth2:
      if (n >= 4 && OnColumnWidth)
        for (uint32_t c = d[0]; c <= d[1]; ++c) OnColumnWidth(*this, sheetIndex_, static_cast<int32_t>(c), d[3]);
      return true;
    case kRow:
      if (n >= 8 && OnRowHeight) OnRowHeight(*this, sheetIndex_, row(), Le16(d + 6));
      return true;
    case kDimensions:
      HandleDimensions(body);
      return true;
    case kFilePass:
      throw ESpreadSheetError("Could not read the password protected file");
    case kExcel9File:
      version_ = evExcel9;
      return true;
    case kFormat2:
    case kName:
    case kName3:
    case kFont:
    case kFont3:
    case kDrawingGroup:
    case kDrawing:
      return true;
    default:
      return false;
  }
}

}  // namespace sp

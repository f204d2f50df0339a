// The readers of Excel workbook files in the binary BIFF formats (BIFF2 to
// BIFF8). TMSExcel reads a compound document's workbook stream ("Workbook"
// for BIFF8, "Book" for BIFF5/BIFF7) or a plain BIFF stream (Excel 2.x to 4.0
// worksheets, a bare BIFF5 stream) and hands everything it finds to the
// content events of TSpreadSheetFile; with the default handlers that fills
// Sheets(). Formulas are not evaluated: a formula cell yields the result the
// file stores with it. TMSExcelX stands for .XLSX files: it opens the file
// and reads nothing.
//
// Input is untrusted: every record field is checked against the record's
// length (a record too short for its fixed fields is ignored), every count
// against the stream, and the load ends in time bounded by the stream's size.
// Failures raise ESpreadSheetError with the texts below, or the compound
// reader's ECompoundError; the content read until then stays in Sheets().
//
// A reader is used by one thread; it may be reused, each load starting afresh.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "workbook/spreadsheet_file.h"
#include "workbook/wide_strings.h"

namespace sp {

class TCompoundFile;
class TRecordInput;

enum TExcelVersion { evUnknown, evExcel2, evExcel3, evExcel4, evExcel5, evExcel7, evExcel8, evExcel9, evExcel12 };

// One cell-format (XF) entry of a workbook.
struct TXLSFormat {
  int32_t NumberFormatIndex = -1;  // -1 when unknown
  int32_t FontIndex = 0;
  int32_t Alignment = 0;  // the BIFF horizontal alignment code, 0..7
};

// An entry of the number-format table; IsDate caches the date test of its text.
struct TNumberFormat {
  std::u16string Text;
  bool IsDate = false;
};

class TCustomMSExcel : public TSpreadSheetFile {
 public:
  TExcelVersion Version() const { return version_; }
  // Position of the current worksheet among the worksheets met; -1 before the first.
  int32_t SheetIndex() const { return sheetIndex_; }
  const std::vector<TXLSFormat>& XFList() const { return xfList_; }
  // Index = number-format index; the built-in formats, then the FORMAT records.
  const std::vector<TNumberFormat>& FormatTable() const { return formatTable_; }
  // One entry per BOUNDSHEET record, tagged with its sheet's stream offset.
  const TWideStrings& SheetNames() const { return sheetNames_; }
  const TWideStrings& SharedStrings() const { return sharedStrings_; }

  // The base reset, then: SheetIndex -1, the lists emptied, the built-in
  // number formats registered. Version is left to the load.
  void Reset() override;

 protected:
  void SetFormat(int32_t index, std::u16string text);
  // Whether a number with this XF index is a date-time (see biff.md).
  bool IsDateFormat(int32_t formatIndex) const;

  TExcelVersion version_ = evUnknown;
  int32_t sheetIndex_ = -1;
  std::vector<TXLSFormat> xfList_;
  std::vector<TNumberFormat> formatTable_;
  TWideStrings sheetNames_;
  TWideStrings sharedStrings_;
};

class TMSExcel : public TCustomMSExcel {
 public:
  TMSExcel();
  ~TMSExcel() override;

  void Reset() override;
  // Bytes of the workbook stream consumed by the last load.
  uint64_t BytesRead() const { return bytesRead_; }

 protected:
  void ReadFile(const std::string& name) override;
  // Copies the whole stream into memory and reads it as a compound document.
  void ReadStream(TStream& stream) override;
  // The plain path over a stream (LoadFromFile takes it for files without
  // the compound-document signature).
  void ReadPlain(TStream& file);

 private:
  struct Body {
    const uint8_t* data;
    size_t length;
  };

  void ReadCompound(TCompoundFile& document);
  void RunRecords(TRecordInput& input, bool plain);
  size_t MaxBodyLength() const { return version_ >= evExcel8 ? 8224 : 2080; }
  bool IsBiff8() const { return version_ >= evExcel8; }
  // A plain stream's version from a BOF record type; raises "File is not a Excel file".
  void SetPlainVersion(uint16_t bofType);
  // Worksheet BOF at `offset`: a new sheet; returns false when reading ends.
  bool BeginWorksheet(TRecordInput& input, uint64_t offset);

  // The record handler: true when the record was taken.
  bool DispatchRecord(const TRecordHeader& header, TRecordInput& input);
  bool HandleRecord(const TRecordHeader& header, Body body, TRecordInput& input);
  void HandleFormula(Body body, TRecordInput& input);
  void ReadStringResult(int32_t row, int32_t column, int32_t formatIndex, TAlignment alignment, TRecordInput& input);
  void HandleDimensions(Body body);

  void Deliver(int32_t row, int32_t column, int32_t formatIndex, const TCellValue& value, TAlignment alignment);
  void DeliverNumber(int32_t row, int32_t column, int32_t formatIndex, double value);
  void DeliverRk(int32_t row, int32_t column, int32_t formatIndex, uint32_t rk);
  TAlignment AlignmentOf(int32_t formatIndex) const;
  // A BIFF8 string's characters at `at`, after its flags byte (and its
  // rich-text and phonetic counts, when the flags announce them).
  TWideText UnicodeString(Body body, size_t flagsAt, size_t count) const;
  // The text of a text cell, sharing the characters of an equal text met
  // before: workbooks without an SST repeat their texts cell by cell.
  TWideText Pooled(const TWideText& text);

  std::vector<uint8_t> body_;  // the current record's body, reused
  int32_t maxRow_ = -1;
  int32_t maxColumn_ = -1;
  bool dimensionsSeen_ = false;
  int32_t dimensionRows_ = 0;
  int32_t dimensionColumns_ = 0;
  uint64_t bytesRead_ = 0;
  int32_t nameIndex_ = -1;  // sheet-name entry of the current worksheet
  std::unordered_map<uint32_t, int32_t> nameByOffset_;
  std::unordered_map<std::u16string_view, TWideText> textPool_;  // keys view the values' characters
};

class TMSExcelX : public TCustomMSExcel {
 protected:
  void ReadFile(const std::string& name) override;
  void ReadStream(TStream& stream) override;
};

}  // namespace sp

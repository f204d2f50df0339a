// The base of every workbook reader. A reader never writes into sheets
// itself: it raises the content events below, and the default handlers,
// installed by Reset() wherever no handler is assigned, turn them into the
// sheets of Sheets(). A user who assigns a handler receives that content
// instead, and the model is not filled with it.
//
// Event parameters: sheet numbers are positions in Sheets(); the default
// handlers reach a sheet through TSpreadSheets::Items, so a negative number
// means sheet 0 and a number at or beyond the count appends a sheet.
//
// Loading: LoadFromFile checks the name ("File is not defined.", "File is not
// exists."; the earlier content then stays), stores it in FileName, resets
// and lets the reader read. LoadFromStream resets and reads the stream.
// Failures are sp::Exception subclasses; what was stored until then stays.
// The reader owns its sheets; it is not thread-safe and not copyable (the
// default handlers are bound to it).
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>

#include "platform/errors.h"
#include "platform/stream.h"
#include "workbook/spreadsheet.h"
#include "workbook/wide_text.h"

namespace sp {

class ESpreadSheetError : public Exception { using Exception::Exception; };

class TCustomSpreadSheetFile;

struct TRecordHeader {
  uint16_t Type;
  uint16_t Length;
};

using TOnColumnWidth = std::function<void(TCustomSpreadSheetFile& sender, int32_t sheetNo, int32_t columnNo, int32_t width)>;
using TOnRowHeight = std::function<void(TCustomSpreadSheetFile& sender, int32_t sheetNo, int32_t rowNo, int32_t height)>;
using TOnDimensions = std::function<void(TCustomSpreadSheetFile& sender, int32_t sheetNo, int32_t firstRow,
                                         int32_t lastRow, int32_t firstColumn, int32_t lastColumn)>;
using TOnCellValue = std::function<void(TCustomSpreadSheetFile& sender, int32_t sheetNo, int32_t row, int32_t column,
                                        int32_t formatIndex, const TCellValue& value, TAlignment alignment)>;
using TOnGetCellValue =
    std::function<void(TCustomSpreadSheetFile& sender, int32_t sheetNo, int32_t row, int32_t column, TCellValue& value)>;
using TOnSheet = std::function<void(TCustomSpreadSheetFile& sender, const std::u16string& caption, int32_t index, bool& skip)>;
// `data` is the record's body as read (empty for a record that reads its own body).
using TOnRecord = std::function<void(TCustomSpreadSheetFile& sender, const TRecordHeader& header, std::span<const uint8_t> data)>;
using TErrorParseRecord = std::function<void(TCustomSpreadSheetFile& sender, const Exception& error, bool& abort)>;

class TCustomSpreadSheetFile {
 public:
  TCustomSpreadSheetFile() = default;
  virtual ~TCustomSpreadSheetFile() = default;
  TCustomSpreadSheetFile(const TCustomSpreadSheetFile&) = delete;
  TCustomSpreadSheetFile& operator=(const TCustomSpreadSheetFile&) = delete;

  // `name` is Windows-1252 text.
  virtual void LoadFromFile(const std::string& name) = 0;
  virtual void LoadFromStream(TStream& stream) = 0;

  // The value at (row, column) of sheet `sheetNo`, as OnGetCellValue gives it
  // (Null when no handler is assigned).
  TCellValue GetCellValue(int32_t sheetNo, int32_t row, int32_t column);

  std::string FileName;  // the file last loaded
  bool LoadNULLs = false;
  TSMRange Range;

  TOnColumnWidth OnColumnWidth;
  TOnRowHeight OnRowHeight;
  TOnDimensions OnDimensions;
  TOnCellValue OnCellValue;
  TOnGetCellValue OnGetCellValue;
  TOnSheet OnSheet;
  TOnRecord OnRecord;
  TErrorParseRecord OnErrorProcess;
};

class TSpreadSheetFile : public TCustomSpreadSheetFile {
 public:
  TSpreadSheets& Sheets() { return sheets_; }
  const TSpreadSheets& Sheets() const { return sheets_; }

  // Frees all sheets, then installs the default handler of OnDimensions,
  // OnCellValue, OnGetCellValue, OnSheet and OnColumnWidth where none is
  // assigned. Readers extend it with their own reset, base first.
  virtual void Reset();

  void LoadFromFile(const std::string& name) override;
  void LoadFromStream(TStream& stream) override;

 protected:
  // The reader's part of a load, after the checks and Reset().
  virtual void ReadFile(const std::string& name) = 0;
  virtual void ReadStream(TStream& stream) = 0;

 private:
  TSpreadSheets sheets_;
};

}  // namespace sp

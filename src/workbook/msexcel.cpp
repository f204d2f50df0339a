#include "workbook/msexcel.h"

#include <fcntl.h>

#include <cerrno>
#include <cstring>
#include <memory>

#include "platform/compound/compound_file.h"
#include "platform/compound/little_endian.h"
#include "support/text1252.h"
#include "workbook/biff_records.h"
#include "workbook/record_input.h"

namespace sp {

namespace {

constexpr size_t kBodyBufferSize = 32768;

const char* const kBuiltInFormats[][2] = {
    {"0", "General"}, {"1", "0"}, {"2", "0.00"}, {"3", "#,##0"}, {"4", "#,##0.00"},
    {"5", "($#,##0_);($#,##0)"}, {"6", "($#,##0_);[Red]($#,##0)"}, {"7", "($#,##0.00_);($#,##0.00)"},
    {"8", "($#,##0.00_);[Red]($#,##0.00)"}, {"9", "0%"}, {"10", "0.00%"}, {"11", "0.00E+00"},
    {"12", "# ?/?"}, {"13", "# ?\?/??"}, {"14", "m/d/yy"}, {"15", "d-mmm-yy"}, {"16", "d-mmm"},
    {"17", "mmm-yy"}, {"18", "h:mm AM/PM"}, {"19", "h:mm:ss AM/PM"}, {"20", "h:mm"}, {"21", "h:mm:ss"},
    {"22", "m/d/yy h:mm"}, {"37", "(#,##0_);(#,##0)"}, {"38", "(#,##0_);[Red](#,##0)"},
    {"39", "(#,##0.00_);(#,##0.00)"}, {"40", "(#,##0.00_);[Red](#,##0.00)"},
    {"41", "_(* #,##0_);_(* (#,##0);_(* \"-\"_);_(@_)"}, {"42", "_($* #,##0_);_($* (#,##0);_($* \"-\"_);_(@_)"},
    {"43", "_(* #,##0.00_);_(* (#,##0.00);_(* \"-\"?\?_);_(@_)"},
    {"44", "_($* #,##0.00_);_($* (#,##0.00);_($* \"-\"?\?_);_(@_)"}, {"45", "mm:ss"}, {"46", "[h]:mm:ss"},
    {"47", "mm:ss.0"}, {"48", "##0.0E+0"}, {"49", "@"},
};

bool ContainsDatePart(std::u16string_view text) {
  std::u16string lower(text);
  for (char16_t& c : lower)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c + 32);
  const std::u16string_view l(lower);
  return l.find(u"dd") != l.npos || l.find(u"mm") != l.npos || l.find(u"yy") != l.npos;
}

std::u16string Widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

bool SameUpper(std::u16string_view name, std::string_view upper) {
  return AnsiUpperCase(Utf16ToAnsi(name)) == upper;
}

}  // namespace

// ---- TCustomMSExcel ---------------------------------------------------------

void TCustomMSExcel::Reset() {
  TSpreadSheetFile::Reset();
  sheetIndex_ = -1;
  sheetNames_.Clear();
  xfList_.clear();
  formatTable_.clear();
  sharedStrings_.Clear();
  for (const auto& format : kBuiltInFormats) SetFormat(std::stoi(format[0]), Widen(format[1]));
}

void TCustomMSExcel::SetFormat(int32_t index, std::u16string text) {
  if (index < 0) return;
  if (static_cast<size_t>(index) >= formatTable_.size()) formatTable_.resize(static_cast<size_t>(index) + 1);
  TNumberFormat& format = formatTable_[static_cast<size_t>(index)];
  format.IsDate = ContainsDatePart(text);
  format.Text = std::move(text);
}

bool TCustomMSExcel::IsDateFormat(int32_t formatIndex) const {
  if (formatIndex < 0) return false;
  int32_t numberFormat = formatIndex;
  if (static_cast<size_t>(formatIndex) < xfList_.size()) {
    numberFormat = xfList_[static_cast<size_t>(formatIndex)].NumberFormatIndex;
    if (numberFormat <= 0) return false;
  }
  return static_cast<size_t>(numberFormat) < formatTable_.size() && formatTable_[static_cast<size_t>(numberFormat)].IsDate;
}

// ---- TMSExcel: loading ------------------------------------------------------

TMSExcel::TMSExcel() : body_(kBodyBufferSize) {}

TMSExcel::~TMSExcel() = default;

void TMSExcel::Reset() {
  TCustomMSExcel::Reset();
  maxRow_ = maxColumn_ = -1;
  dimensionsSeen_ = false;
  dimensionRows_ = dimensionColumns_ = 0;
  bytesRead_ = 0;
  nameIndex_ = -1;
  nameByOffset_.clear();
  textPool_.clear();
}

void TMSExcel::ReadFile(const std::string& name) {
  const int fd = ::open(AnsiToUtf8(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFOpenError("Cannot open file \"" + name + "\". " + std::strerror(errno));
  auto file = std::make_shared<THandleStream>(fd);
  if (TCompoundFile::HasSignature(*file)) {
    TCompoundFile document(file);
    ReadCompound(document);
  } else {
    ReadPlain(*file);
  }
}

void TMSExcel::ReadStream(TStream& stream) {
  auto memory = std::make_shared<TMemoryStream>();
  memory->CopyFrom(stream, 0);
  TCompoundFile document(memory);
  ReadCompound(document);
}

void TMSExcel::ReadCompound(TCompoundFile& document) {
  std::u16string chosen;
  bool workbookFound = false;
  for (const TCompoundElement& element : document.RootElements()) {
    if (SameUpper(element.Name, "WORKBOOK")) {
      chosen = element.Name;
      workbookFound = true;
    } else if (!workbookFound && chosen.empty() && SameUpper(element.Name, "BOOK")) {
      chosen = element.Name;
    }
  }
  if (chosen.empty()) chosen = u"Workbook";
  version_ = chosen == u"Book" ? evExcel7 : evExcel8;
  std::unique_ptr<TStream> stream = document.OpenStream(chosen);
  if (!stream) throw ESpreadSheetError("File is not valid Excel Workbook");
  TRecordInput input(*stream);
  RunRecords(input, false);
}

void TMSExcel::SetPlainVersion(uint16_t bofType) {
  switch (bofType) {
    case 0x0009: version_ = evExcel2; return;
    case 0x0209: version_ = evExcel3; return;
    case 0x0409: version_ = evExcel4; return;
    case 0x0809: version_ = evExcel5; return;
    default: throw ESpreadSheetError("File is not a Excel file");
  }
}

void TMSExcel::ReadPlain(TStream& file) {
  TRecordInput input(file);
  TRecordHeader first;
  if (!input.ReadHeader(first)) throw ESpreadSheetError("File is not a Excel file");
  SetPlainVersion(first.Type);
  input.Seek(0);
  RunRecords(input, true);
  if (!dimensionsSeen_ || dimensionRows_ <= maxRow_ || dimensionColumns_ <= maxColumn_)
    if (OnDimensions) OnDimensions(*this, sheetIndex_, 0, maxRow_ + 1, 0, maxColumn_ + 1);
}

bool TMSExcel::BeginWorksheet(TRecordInput& input, uint64_t offset) {
  ++sheetIndex_;
  // A sheet's name is the BOUNDSHEET entry that gives this BOF's offset; the
  // entry at the worksheet's position only when no entry does (sheets of
  // other kinds before it would shift the positions).
  const auto byOffset = nameByOffset_.find(static_cast<uint32_t>(offset));
  nameIndex_ = byOffset != nameByOffset_.end() ? byOffset->second : sheetIndex_;
  bool skip = false;
  if (OnSheet) OnSheet(*this, std::u16string(sheetNames_.Strings(nameIndex_).View()), sheetIndex_, skip);
  if (!skip) return true;
  if (sheetIndex_ >= sheetNames_.Count() - 1 || nameIndex_ + 1 >= sheetNames_.Count()) return false;
  // Only forward: a jump back could read the sheet list again and never end.
  const auto next = static_cast<uint32_t>(sheetNames_.Tags(nameIndex_ + 1));
  if (next <= offset) return false;
  input.Seek(next);
  return true;
}

void TMSExcel::RunRecords(TRecordInput& input, bool plain) {
  bool passingOver = false;
  TRecordHeader header;
  for (;;) {
    const uint64_t recordStart = input.Position();
    if (!input.ReadHeader(header)) break;
    bool haveBody = true;
    if (header.Type != kSst) {
      if (header.Length > MaxBodyLength()) {
        input.Skip(header.Length);
        haveBody = false;
      } else if (!input.Read(body_.data(), header.Length)) {
        break;  // the stream ends inside this record
      }
    }
    bytesRead_ = input.Position();
    if (!passingOver && haveBody && DispatchRecord(header, input)) {
      bytesRead_ = input.Position();
      continue;
    }
    if (header.Type == kSst) input.Skip(header.Length);  // an SST that was not read is passed whole
    if (plain) {
      if (IsBof(header.Type)) SetPlainVersion(header.Type);
      continue;
    }
    if (header.Type == kEof && sheetIndex_ >= 0 && sheetIndex_ >= sheetNames_.Count() - 1) break;
    if (IsBof(header.Type)) {
      const uint16_t substream = haveBody && header.Length >= 4 ? Le16(body_.data() + 2) : 0;
      if (substream == kGlobalsSubstream) continue;
      if (substream == kWorksheetSubstream || substream == kMacroSheetSubstream) {
        passingOver = false;
        if (!BeginWorksheet(input, recordStart)) break;
      } else {
        passingOver = true;
      }
    }
  }
  bytesRead_ = input.Position();
}

bool TMSExcel::DispatchRecord(const TRecordHeader& header, TRecordInput& input) {
  const Body body{body_.data(), header.Type == kSst ? 0u : header.Length};
  try {
    if (OnRecord) OnRecord(*this, header, std::span<const uint8_t>(body.data, body.length));
    return HandleRecord(header, body, input);
  } catch (const Exception& error) {
    bool abort = true;
    if (OnErrorProcess) OnErrorProcess(*this, error, abort);
    if (abort) throw;
    return true;  // the record is abandoned, reading goes on
  }
}

// ---- TMSExcelX --------------------------------------------------------------

void TMSExcelX::ReadFile(const std::string& name) {
  const int fd = ::open(AnsiToUtf8(name).c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) throw EFOpenError("Cannot open file \"" + name + "\". " + std::strerror(errno));
  THandleStream closesOnReturn(fd);
}

void TMSExcelX::ReadStream(TStream&) {}

}  // namespace sp

// Record-level cases of the BIFF reader, on workbook streams written by the
// test builder (see biff_builder.h); fixtures_test.cpp reads real files.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "biff_builder.h"
#include "support/text1252.h"
#include "workbook/cell_reference.h"
#include "workbook/cell_text.h"
#include "workbook/msexcel.h"

namespace sp {
namespace {

using test::CompoundDocument;
using test::TBiffBuilder;
using test::TBytes;
using Records = std::function<void(TBiffBuilder&)>;

struct SheetSpec {
  std::string name;
  Records records;
  uint16_t substream = 0x0010;
};

// A BIFF8 workbook stream: globals, one BOUNDSHEET per sheet (tagged with
// the offset of the sheet's BOF), then the sheets' substreams.
std::string Workbook(const Records& globals, const std::vector<SheetSpec>& sheets) {
  TBiffBuilder b;
  b.Bof(0x0005);
  if (globals) globals(b);
  std::vector<size_t> offsets;
  for (const SheetSpec& s : sheets) offsets.push_back(b.BoundSheet(s.name, s.substream == 0x0020 ? 2 : 0));
  b.Eof();
  for (size_t i = 0; i < sheets.size(); ++i) {
    b.PatchOffset(offsets[i]);
    b.Bof(sheets[i].substream);
    if (sheets[i].records) sheets[i].records(b);
    b.Eof();
  }
  return b.Stream();
}

void LoadStream(TMSExcel& reader, const std::string& workbook, const std::u16string& name = u"Workbook") {
  TMemoryStream stream(CompoundDocument({{name, workbook}}));
  reader.LoadFromStream(stream);
}

// "REF=TEXT" for every stored cell of a sheet, in row-major order.
std::vector<std::string> Cells(const TMSExcel& reader, int32_t sheet) {
  std::vector<std::string> out;
  const TSpreadSheetCells& cells = reader.Sheets().Sheet(sheet).Cells;
  for (const TSpreadSheetRow& row : cells.Rows())
    for (const auto& entry : row.Cols().Entries())
      out.push_back(ExcelCellReference(entry.Column, row.Index()) + "=" + AnsiToUtf8(CellText(entry.Cell.Value)));
  return out;
}

std::string Caption(const TMSExcel& reader, int32_t sheet) {
  return AnsiToUtf8(Utf16ToAnsi(reader.Sheets().Sheet(sheet).Caption));
}

std::string ErrorOf(const std::function<void()>& load) {
  try {
    load();
  } catch (const Exception& e) {
    return e.Message();
  }
  return "no failure";
}

TBytes FormulaBody(uint16_t row, uint16_t column, uint16_t xf, std::initializer_list<uint8_t> result) {
  TBytes body;
  body.U16(row).U16(column).U16(xf);
  for (uint8_t b : result) body.U8(b);
  return body.U16(0).U32(0).U16(0);
}

TBytes FormulaBody(uint16_t row, uint16_t column, uint16_t xf, double number) {
  return TBytes().U16(row).U16(column).U16(xf).F64(number).U16(0).U32(0).U16(0);
}

TBytes String8(std::string_view text) { return TBytes().U16(static_cast<uint16_t>(text.size())).U8(0).Raw(text); }

TEST(MSExcel, DecodesRkValues) {
  const std::vector<std::pair<uint32_t, std::string>> cases = {
      {0x02, "0"}, {0x0A, "2"}, {0x07, "0,01"}, {0x3FF80001, "0,015"}, {0xFFFFFFFE, "-1"}, {0x3FF80000, "1,5"}};
  const std::string stream = Workbook(nullptr, {{"Blatt", [&](TBiffBuilder& b) {
                                                   for (uint16_t i = 0; i < cases.size(); ++i) b.Rk(i, 0, 0, cases[i].first);
                                                   b.Record(0x00BD, TBytes().U16(0).U16(1).U16(0).U32(0x0A).U16(0).U32(0x07).U16(2));
                                                 }}});
  TMSExcel reader;
  LoadStream(reader, stream);
  std::vector<std::string> expected;
  for (size_t i = 0; i < cases.size(); ++i) expected.push_back("A" + std::to_string(i + 1) + "=" + cases[i].second);
  expected.insert(expected.begin() + 1, {"B1=2", "C1=0,01"});
  EXPECT_EQ(Cells(reader, 0), expected);
}

TEST(MSExcel, NumbersWithDateFormatsBecomeDateTimes) {
  const Records globals = [](TBiffBuilder& b) {
    b.Format(164, "0.00\" mm\"");
    b.Xf(0).Xf(14).Xf(164).Xf(49).Xf(22, 3).Xf(0, 2);
  };
  const std::string stream = Workbook(globals, {{"Blatt", [](TBiffBuilder& b) {
                                                   b.Number(0, 0, 1, 45366);     // built-in m/d/yy
                                                   b.Number(0, 1, 2, 12.5);      // "mm" inside quoted text
                                                   b.Number(0, 2, 3, 42);        // text format, still a number
                                                   b.Number(0, 3, 0, 1.5);       // General
                                                   b.Number(0, 4, 20, 0.75);     // beyond the XF list: format 20 h:mm
                                                   b.Number(0, 5, 4, 45366.5);   // m/d/yy h:mm
                                                   b.Number(0, 6, 300, 3);       // neither XF nor format
                                                 }}});
  TMSExcel reader;
  LoadStream(reader, stream);
  EXPECT_EQ(Cells(reader, 0), (std::vector<std::string>{"A1=15.03.2024", "B1=11.01.1900 12:00:00", "C1=42", "D1=1,5",
                                                         "E1=18:00:00", "F1=15.03.2024 12:00:00", "G1=3"}));
  const TSpreadSheetCells& cells = reader.Sheets().Sheet(0).Cells;
  EXPECT_EQ(cells.GetCell(2, 0).Kind(), TValueKind::Number);
  EXPECT_EQ(cells.Cell(5, 0)->Alignment, taRightJustify);
  EXPECT_EQ(cells.Cell(5, 0)->FormatIndex, 4);
  EXPECT_EQ(cells.Cell(0, 0)->Alignment, taLeftJustify);
  EXPECT_EQ(reader.FormatTable()[164].Text, u"0.00\" mm\"");
  EXPECT_EQ(reader.XFList().size(), 6u);
}

TEST(MSExcel, FormulaResultsIncludingStringsAfterSharedFormulas) {
  const std::string stream = Workbook(nullptr, {{"Blatt", [](TBiffBuilder& b) {
    b.Record(0x0006, FormulaBody(0, 0, 0, 2.5));
    b.Record(0x0006, FormulaBody(0, 1, 0, {0, 0, 0, 0, 0, 0, 0xFF, 0xFF}));
    b.Record(0x04BC, TBytes().U16(0).U16(0).U8(0).U8(1).U16(0).U16(0).U16(0));
    b.Record(0x0207, String8("Summe"));
    b.Record(0x0006, FormulaBody(0, 2, 0, {0, 0, 0, 0, 0, 0, 0xFF, 0xFF}));
    b.Record(0x0207, TBytes().U16(2).U8(1).Utf16(u"Ωx"));
    b.Record(0x0006, FormulaBody(0, 3, 0, {0, 0, 0, 0, 0, 0, 0xFF, 0xFF}));  // no STRING follows
    b.Number(0, 4, 0, 7);
    b.Record(0x0006, FormulaBody(1, 0, 0, {1, 0, 1, 0, 0, 0, 0xFF, 0xFF}));
    b.Record(0x0006, FormulaBody(1, 1, 0, {1, 0, 0, 0, 0, 0, 0xFF, 0xFF}));
    b.Record(0x0006, FormulaBody(1, 2, 0, {2, 0, 7, 0, 0, 0, 0xFF, 0xFF}));
    b.Record(0x0006, FormulaBody(1, 3, 0, {2, 0, 99, 0, 0, 0, 0xFF, 0xFF}));
    b.Record(0x0006, FormulaBody(1, 4, 0, {3, 0, 0, 0, 0, 0, 0xFF, 0xFF}));  // empty result
  }}});
  TMSExcel reader;
  LoadStream(reader, stream);
  EXPECT_EQ(Cells(reader, 0), (std::vector<std::string>{"A1=2,5", "B1=Summe", "C1=?x", "E1=7", "A2=True", "B2=False",
                                                         "C2=#DIV/0!", "D2=Unknown error code 99"}));
  EXPECT_EQ(reader.Sheets().Sheet(0).Cells.GetCell(2, 0).AsText(), u"Ωx");
}

TEST(MSExcel, ErrorValuesOfBoolErrCells) {
  const std::vector<std::pair<uint8_t, std::string>> codes = {{0, "#NULL!"}, {7, "#DIV/0!"}, {15, "#VALUE!"},
                                                              {23, "#REF!"}, {29, "#NAME?"}, {36, "#NUM!"},
                                                              {42, "#N/A"},  {1, "Unknown error code 1"}};
  const std::string stream = Workbook(nullptr, {{"Blatt", [&](TBiffBuilder& b) {
    for (uint16_t i = 0; i < codes.size(); ++i) b.Record(0x0205, TBytes().U16(i).U16(0).U16(0).U8(codes[i].first).U8(1));
    b.Record(0x0205, TBytes().U16(0).U16(1).U16(0).U8(1).U8(0));
  }}});
  TMSExcel reader;
  LoadStream(reader, stream);
  std::vector<std::string> expected;
  for (size_t i = 0; i < codes.size(); ++i) expected.push_back("A" + std::to_string(i + 1) + "=" + codes[i].second);
  expected.insert(expected.begin() + 1, "B1=True");
  EXPECT_EQ(Cells(reader, 0), expected);
}

// An SST of five strings whose pieces are split at chosen places.
std::string SharedStringWorkbook() {
  const Records globals = [](TBiffBuilder& b) {
    TBytes sst;
    sst.U32(5).U32(5);
    sst.U16(4).U8(0).Raw("Gr\xFCn");        // 8-bit, Windows-1252
    sst.U16(10).U8(0).Raw("abcd");          // goes on in UTF-16
    b.Record(0x00FC, sst);
    TBytes c1;
    c1.U8(1).Utf16(u"ЖЖЖЖЖЖ");
    c1.U16(3).U8(0x09).U16(2).Utf16(u"Ωab").Raw("1234");  // rich text, runs split
    b.Record(0x003C, c1);
    TBytes c2;
    c2.Raw("5678");
    c2.U16(5).U8(1).Utf16(u"ÄÖ");  // UTF-16, goes on in 8 bits
    b.Record(0x003C, c2);
    TBytes c3;
    c3.U8(0).Raw("xyz");
    c3.U16(2).U8(0x04).U32(6).Raw("ok").Raw("phonet");  // phonetic block skipped
    b.Record(0x003C, c3);
  };
  return Workbook(globals, {{"Blatt", [](TBiffBuilder& b) {
    for (uint16_t i = 0; i < 5; ++i) b.Record(0x00FD, TBytes().U16(i).U16(0).U16(0).U32(i));
    b.Record(0x00FD, TBytes().U16(5).U16(0).U16(0).U32(99));
  }}});
}

TEST(MSExcel, SharedStringsJoinAcrossContinueRecords) {
  TMSExcel reader;
  LoadStream(reader, SharedStringWorkbook());
  const TSpreadSheetCells& cells = reader.Sheets().Sheet(0).Cells;
  const std::vector<std::u16string> expected = {u"Grün", u"abcdЖЖЖЖЖЖ", u"Ωab", u"ÄÖxyz", u"ok", u""};
  for (int32_t i = 0; i < 6; ++i) {
    EXPECT_EQ(cells.GetCell(0, i).Kind(), TValueKind::Text) << i;
    EXPECT_EQ(cells.GetCell(0, i).AsText(), expected[static_cast<size_t>(i)]) << i;
  }
  EXPECT_EQ(reader.SharedStrings().Count(), 5);
}

TEST(MSExcel, SharedStringFailures) {
  const std::string badFlags = Workbook(
      [](TBiffBuilder& b) { b.Record(0x00FC, TBytes().U32(1).U32(1).U16(1).U8(0x02).Raw("x")); },
      {{"Blatt", [](TBiffBuilder& b) { b.Number(0, 0, 0, 1); }}});
  const std::string noContinue = Workbook(
      [](TBiffBuilder& b) { b.Record(0x00FC, TBytes().U32(2).U32(2).U16(1).U8(0).Raw("x")); },
      {{"Blatt", [](TBiffBuilder& b) { b.Number(0, 0, 0, 1); }}});
  TMSExcel reader;
  EXPECT_EQ(ErrorOf([&] { LoadStream(reader, badFlags); }), "String in SST (Options byte is 0x02) can not be processed.");
  EXPECT_EQ(ErrorOf([&] { LoadStream(reader, noContinue); }), "CONTINUE record is not found in the stream");
  EXPECT_EQ(reader.Sheets().Count(), 0);

  // A handler that lets the load go on: the offending record is abandoned
  // and the record after it is read as usual.
  std::vector<std::string> errors;
  reader.OnErrorProcess = [&errors](TCustomSpreadSheetFile&, const Exception& e, bool& abort) {
    errors.push_back(e.Message());
    abort = false;
  };
  for (const std::string* stream : {&badFlags, &noContinue}) {
    LoadStream(reader, *stream);
    ASSERT_EQ(reader.Sheets().Count(), 1);
    EXPECT_EQ(Cells(reader, 0), std::vector<std::string>{"A1=1"});
  }
  EXPECT_EQ(errors.size(), 2u);
}

TEST(MSExcel, ChartSheetsArePassedOverAndNamesFollowTheSheetOffsets) {
  const Records chart = [](TBiffBuilder& b) { b.Number(0, 0, 0, 99); };  // not a worksheet cell
  struct Case {
    std::vector<SheetSpec> sheets;
    std::vector<std::string> captions;
  };
  const std::vector<Case> cases = {
      {{{"Daten", [](TBiffBuilder& b) { b.Number(0, 0, 0, 1); }}, {"Zweites", [](TBiffBuilder& b) { b.Number(0, 0, 0, 2); }},
        {"Diagramm", chart, 0x0020}},
       {"Daten", "Zweites"}},
      {{{"Diagramm", chart, 0x0020}, {"Daten", [](TBiffBuilder& b) { b.Number(0, 0, 0, 1); }},
        {"Zweites", [](TBiffBuilder& b) { b.Number(0, 0, 0, 2); }}},
       {"Daten", "Zweites"}},
  };
  for (const Case& c : cases) {
    TMSExcel reader;
    LoadStream(reader, Workbook(nullptr, c.sheets));
    ASSERT_EQ(reader.Sheets().Count(), 2);
    for (int32_t i = 0; i < 2; ++i) {
      EXPECT_EQ(Caption(reader, i), c.captions[static_cast<size_t>(i)]);
      EXPECT_EQ(Cells(reader, i), std::vector<std::string>{"A1=" + std::to_string(i + 1)});
    }
    EXPECT_EQ(reader.SheetIndex(), 1);
  }
}

TEST(MSExcel, EncryptedWorkbookFailsKeepingWhatWasRead) {
  const std::string stream = Workbook(nullptr, {{"Eins", [](TBiffBuilder& b) { b.Number(0, 0, 0, 1); }},
                                                {"Zwei", [](TBiffBuilder& b) {
                                                   b.Record(0x002F, TBytes().U16(1).U16(1));
                                                   b.Number(0, 0, 0, 2);
                                                 }}});
  TMSExcel reader;
  EXPECT_EQ(ErrorOf([&] { LoadStream(reader, stream); }), "Could not read the password protected file");
  ASSERT_EQ(reader.Sheets().Count(), 2);
  EXPECT_EQ(Cells(reader, 0), std::vector<std::string>{"A1=1"});
  EXPECT_TRUE(Cells(reader, 1).empty());
}

TEST(MSExcel, ChoosesTheWorkbookStream) {
  // BIFF5: 8-bit strings without a flags byte.
  TBiffBuilder biff5;
  biff5.Bof(0x0005, 0x0500);
  const size_t at = biff5.Offset() + 4;
  biff5.Record(0x0085, TBytes().U32(0).U16(0).U8(9).Raw("\xDC" "bersicht"));
  biff5.Eof();
  biff5.PatchOffset(at);
  biff5.Bof(0x0010, 0x0500);
  biff5.Record(0x0204, TBytes().U16(0).U16(0).U16(0).U16(4).Raw("Ma\xDF" "e"));
  biff5.Eof();
  const std::string biff8 = Workbook(nullptr, {{"Neu", [](TBiffBuilder& b) { b.Number(0, 0, 0, 8); }}});

  struct Case {
    std::vector<std::pair<std::u16string, std::string>> streams;
    TExcelVersion version;
    std::string caption;
  };
  const std::vector<Case> cases = {
      {{{u"Book", biff5.Stream()}, {u"Workbook", biff8}}, evExcel8, "Neu"},
      {{{u"Book", biff5.Stream()}}, evExcel7, "Übersicht"},
      {{{u"BOOK", biff8}}, evExcel8, "Neu"},
      {{{u"workbook", biff8}}, evExcel8, "Neu"},
  };
  for (const Case& c : cases) {
    TMSExcel reader;
    TMemoryStream stream(CompoundDocument(c.streams));
    reader.LoadFromStream(stream);
    EXPECT_EQ(reader.Version(), c.version);
    ASSERT_EQ(reader.Sheets().Count(), 1);
    EXPECT_EQ(Caption(reader, 0), c.caption);
  }
  TMSExcel reader;
  LoadStream(reader, biff5.Stream(), u"Book");
  EXPECT_EQ(Cells(reader, 0), std::vector<std::string>{"A1=Maße"});
  TMemoryStream none(CompoundDocument({{u"Anderes", biff8}}));
  EXPECT_EQ(ErrorOf([&] { reader.LoadFromStream(none); }), "File is not valid Excel Workbook");
  TMemoryStream plain(biff8);
  EXPECT_NE(ErrorOf([&] { reader.LoadFromStream(plain); }).find("not a compound document"), std::string::npos);
}

class TempFile {
 public:
  explicit TempFile(const std::string& bytes) {
    char name[] = "/tmp/msexcel_test_XXXXXX";
    const int fd = mkstemp(name);
    path_ = name;
    std::ofstream(path_, std::ios::binary) << bytes;
    close(fd);
  }
  ~TempFile() { std::remove(path_.c_str()); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
};

TEST(MSExcel, PlainStreamsGoToOneSheet) {
  TBiffBuilder biff2;
  biff2.Record(0x0009, TBytes().U16(2).U16(0x10));
  biff2.Record(0x0002, TBytes().U16(0).U16(0).U8(0).U8(0).U8(3).U16(42));
  biff2.Record(0x0003, TBytes().U16(0).U16(1).U8(0).U8(0).U8(2).F64(-1.25));
  biff2.Record(0x0004, TBytes().U16(1).U16(0).U8(0).U8(0x40).U8(0).U8(4).Raw("Gr\xF6\xDF"));
  biff2.Record(0x0005, TBytes().U16(1).U16(1).U8(0).U8(0).U8(0).U8(1).U8(0));
  biff2.Record(0x0005, TBytes().U16(1).U16(2).U8(0).U8(0).U8(0).U8(42).U8(1));
  TBytes formula;
  formula.U16(2).U16(0).U8(0).U8(0).U8(0);
  for (uint8_t b : {0, 0, 0, 0, 0, 0, 0xFF, 0xFF}) formula.U8(b);
  biff2.Record(0x0006, formula.U8(0).U8(0));
  biff2.Record(0x0007, TBytes().U8(3).Raw("abc"));
  biff2.Record(0x0001, TBytes().U16(5).U16(5).U8(0).U8(0).U8(0));
  biff2.Record(0x000A, "");
  TBiffBuilder biff4;
  biff4.Record(0x0409, TBytes().U16(0).U16(0x10).U16(0));
  biff4.Number(3, 2, 0, 4.5);
  biff4.Record(0x0204, TBytes().U16(0).U16(0).U16(0).U16(2).Raw("ok"));
  biff4.Record(0x000A, "");

  struct Case {
    std::string stream;
    TExcelVersion version;
    std::vector<std::string> cells;
  };
  const std::vector<Case> cases = {
      {biff2.Stream(), evExcel2, {"A1=42", "B1=-1,25", "A2=Größ", "B2=True", "C2=#N/A", "A3=abc"}},
      {biff4.Stream(), evExcel4, {"A1=ok", "C4=4,5"}},
  };
  for (const Case& c : cases) {
    TempFile file(c.stream);
    TMSExcel reader;
    reader.LoadFromFile(file.Path());
    EXPECT_EQ(reader.FileName, file.Path());
    EXPECT_EQ(reader.Version(), c.version);
    ASSERT_EQ(reader.Sheets().Count(), 1);
    EXPECT_EQ(Caption(reader, 0), "Arbeitsblatt1");
    EXPECT_EQ(Cells(reader, 0), c.cells);
    EXPECT_EQ(reader.SheetIndex(), -1);
  }
  TempFile biff2File(biff2.Stream());
  TMSExcel reader;
  reader.LoadFromFile(biff2File.Path());
  const TSpreadSheetCells& cells = reader.Sheets().Sheet(0).Cells;
  EXPECT_EQ(cells.Cell(0, 0)->Alignment, taRightJustify);
  EXPECT_EQ(cells.Cell(1, 0)->Alignment, taCenter);
  EXPECT_EQ(cells.GetCell(0, 0).Kind(), TValueKind::Integer);
  EXPECT_EQ(cells.Cell(0, 1)->FormatIndex, 1);  // LABEL: the two high bits of the byte at 5
  EXPECT_EQ(cells.DeclaredRowCount(), 3);       // no DIMENSIONS: the extent of the delivered cells
  EXPECT_EQ(cells.DeclaredColCount(), 3);

  for (const std::string& bytes : {std::string("\x01\x02\x03\x04", 4), std::string(), std::string("\x09\x01\x00\x00", 4)}) {
    TempFile bad(bytes);
    EXPECT_EQ(ErrorOf([&] { reader.LoadFromFile(bad.Path()); }), "File is not a Excel file");
  }
}

TEST(MSExcel, SkippingASheetContinuesAtTheNextOne) {
  const std::string stream = Workbook(nullptr, {{"Eins", [](TBiffBuilder& b) { b.Number(0, 0, 0, 1); }},
                                                {"Zwei", [](TBiffBuilder& b) { b.Number(0, 0, 0, 2); }},
                                                {"Drei", [](TBiffBuilder& b) { b.Number(0, 0, 0, 3); }}});
  TMSExcel reader;
  std::vector<std::string> seen;
  reader.OnSheet = [&](TCustomSpreadSheetFile&, const std::u16string& caption, int32_t index, bool& skip) {
    seen.push_back(Utf16ToAnsi(caption) + "@" + std::to_string(index));
    reader.Sheets().Items(reader.Sheets().AddSheet()).Caption = caption;
    skip = index != 1;
  };
  LoadStream(reader, stream);
  EXPECT_EQ(seen, (std::vector<std::string>{"Eins@0", "Zwei@1", "Drei@2"}));
  ASSERT_EQ(reader.Sheets().Count(), 3);
  EXPECT_TRUE(Cells(reader, 0).empty());
  EXPECT_EQ(Cells(reader, 1), std::vector<std::string>{"A1=2"});
  EXPECT_TRUE(Cells(reader, 2).empty());
}

TEST(MSExcel, EventsForBlanksDimensionsWidthsRowsAndRecords) {
  const std::string stream = Workbook(nullptr, {{"Blatt", [](TBiffBuilder& b) {
    b.Record(0x0200, TBytes().U32(0).U32(5).U16(0).U16(3).U16(0));
    b.Record(0x007D, TBytes().U16(1).U16(2).U16(3000).U16(0).U16(0).U16(0));
    b.Record(0x007D, TBytes().U16(250).U16(0xFFFF).U16(100).U16(0).U16(0).U16(0));  // clipped at IV
    b.Record(0x0208, TBytes().U16(4).U16(0).U16(0).U16(300).U16(0).U16(0).U32(0));
    b.Record(0x00BE, TBytes().U16(2).U16(1).U16(0).U16(0).U16(0).U16(3));
    b.Record(0x0201, TBytes().U16(3).U16(0).U16(0));
    b.Record(0x0203, std::string(9000, '\0'));  // longer than any BIFF8 record: skipped
    b.Record(0x0203, TBytes().U16(0).U16(0).U16(0).U16(0));  // too short: ignored
    b.Record(0x01C0, "");
  }}});
  TMSExcel reader;
  reader.LoadNULLs = true;
  std::vector<std::string> events;
  reader.OnRowHeight = [&](TCustomSpreadSheetFile&, int32_t sheet, int32_t row, int32_t height) {
    events.push_back("row " + std::to_string(sheet) + ":" + std::to_string(row) + "=" + std::to_string(height));
  };
  int32_t nulls = 0;
  size_t records = 0;
  reader.OnRecord = [&](TCustomSpreadSheetFile&, const TRecordHeader& header, std::span<const uint8_t> data) {
    ++records;
    if (header.Type != 0x00FC) {
      EXPECT_EQ(data.size(), header.Length);
    }
  };
  LoadStream(reader, stream);
  const TSpreadSheet& sheet = reader.Sheets().Sheet(0);
  EXPECT_EQ(sheet.Cells.DeclaredRowCount(), 5);
  EXPECT_EQ(sheet.Cells.DeclaredColCount(), 3);
  EXPECT_EQ(sheet.Cells.RowCount(), 0);  // the Null cells are not stored
  ASSERT_EQ(sheet.ColumnWidths.size(), 256u);
  EXPECT_EQ(sheet.ColumnWidths[2], 3000);
  EXPECT_EQ(sheet.ColumnWidths[255], 100);
  EXPECT_EQ(events, std::vector<std::string>{"row 0:4=300"});
  EXPECT_EQ(reader.Version(), evExcel9);
  EXPECT_GT(records, 8u);

  reader.OnCellValue = [&](TCustomSpreadSheetFile&, int32_t, int32_t, int32_t, int32_t, const TCellValue& value,
                           TAlignment) { nulls += value.IsNull(); };
  LoadStream(reader, stream);
  EXPECT_EQ(nulls, 4);  // three from MULBLANK, one BLANK
}

TEST(MSExcel, ANewLoadStartsAfresh) {
  TMSExcel reader;
  LoadStream(reader, SharedStringWorkbook());
  EXPECT_EQ(reader.SharedStrings().Count(), 5);
  LoadStream(reader, Workbook(nullptr, {{"Nur", [](TBiffBuilder& b) { b.Record(0x00FD, TBytes().U16(0).U16(0).U16(0).U32(0)); }}}));
  EXPECT_EQ(reader.SharedStrings().Count(), 0);
  ASSERT_EQ(reader.Sheets().Count(), 1);
  EXPECT_EQ(Cells(reader, 0), std::vector<std::string>{"A1="});
  EXPECT_EQ(reader.FormatTable()[14].Text, u"m/d/yy");
  EXPECT_TRUE(reader.FormatTable()[30].Text.empty());
}

}  // namespace
}  // namespace sp

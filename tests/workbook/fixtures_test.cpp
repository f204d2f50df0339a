// The readers on workbooks written by independent programs (see
// fixtures/NOTES.md), against the texts the cell model defines.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "support/text1252.h"
#include "workbook/cell_reference.h"
#include "workbook/cell_text.h"
#include "workbook/msexcel.h"

namespace sp {
namespace {

std::string Fixture(const std::string& name) { return std::string(WORKBOOK_FIXTURES) + "/" + name; }

struct SheetShape {
  std::string caption;  // UTF-8
  int32_t rows, cols;
};

struct CellCheck {
  int32_t sheet;
  std::string ref;
  std::string text;  // UTF-8; "<none>" for no cell
};

std::string TextAt(const TMSExcel& reader, int32_t sheet, const std::string& ref) {
  const TSpreadSheetCells& cells = reader.Sheets().Sheet(sheet).Cells;
  for (const TSpreadSheetRow& row : cells.Rows())
    for (const auto& entry : row.Cols().Entries())
      if (ExcelCellReference(entry.Column, row.Index()) == ref) return AnsiToUtf8(CellText(entry.Cell.Value));
  return "<none>";
}

// What LibreOffice and gnumeric write from the same document.
const std::vector<CellCheck> kContentChecks = {
    {0, "A1", "Artikel"},        {0, "E1", "Gültig"},           {0, "A2", "Schraube M4 – verzinkt"},
    {0, "B2", "1,5"},            {0, "C2", "0,25"},             {0, "D2", "15.03.2024"},
    {0, "A3", "Mutter ? ? Größe"}, {0, "B3", "-3"},            {0, "C3", "1234567,891"},
    {0, "D3", "15.03.2024 13:45:30"}, {0, "A4", "Zeile\tmit Tab"}, {0, "B4", "1E20"},
    {0, "C4", "1E-6"},           {0, "D4", "08:30:00"},         {0, "IV4", "ganz rechts"},
    {0, "B5", "11.01.1900 12:00:00"}, {0, "C5", "0,25"},        {0, "D5", "42"},
    {0, "B6", "3"},              {0, "C6", "Schraube M4 – verzinkt!"}, {0, "D6", "True"},
    {0, "E6", "#DIV/0!"},        {0, "F6", "#N/A"},             {0, "D7", "Ende"},
    {0, "AB40", "AB40"},         {0, "B7", "<none>"},           {1, "B2", "Äpfel & Birnen"},
    {1, "B3", "Zeilen\numbruch"}, {3, "A1", "?????????"},       {3, "B1", "7"},
};
const std::vector<SheetShape> kContentSheets = {
    {"Übersicht", 40, 256}, {"Preisänderung 2024", 3, 2}, {"Leer", 0, 0}, {"??????", 1, 2}};

// What SheetJS writes; its BIFF5 and earlier writers put "_" for every
// character beyond ASCII, and its BIFF2 to BIFF4 numbers carry no date format.
std::vector<CellCheck> SheetJsChecks(bool biff8, bool dates) {
  return {
      {0, "A2", biff8 ? "Bürste – weich" : "B_rste _ weich"},
      {0, "A3", biff8 ? "?-Ring ? Größe" : "_-Ring _ Gr__e"},
      {0, "B2", "2,5"},
      {0, "B3", "-17"},
      {0, "C2", dates ? "15.03.2024" : "45366"},
      {0, "C3", dates ? "15.03.2024 18:00:00" : "45366,75"},
      {0, "A4", "True"},
      {0, "B4", "False"},
      {0, "C4", "#DIV/0!"},
      {0, "A5", "3"},
      {0, "B5", "Text!"},
      {0, "C5", "#N/A"},
      {0, "D5", dates ? "11.01.1900 12:00:00" : "12,5"},
      {0, "IV2", "1E-7"},
      {0, "AB40", biff8 ? "weit draußen" : "weit drau_en"},
  };
}

struct FixtureCase {
  std::string file;
  TExcelVersion version;
  std::vector<SheetShape> sheets;
  std::vector<CellCheck> checks;
};

TEST(Fixtures, IndependentWritersReadAsTheModelDefines) {
  std::vector<CellCheck> gnumericChecks = kContentChecks;
  gnumericChecks[25] = {0, "B7", ""};  // gnumeric stores the empty formula result as an empty text
  std::vector<CellCheck> sheetJs8 = SheetJsChecks(true, true);
  sheetJs8.push_back({1, "B3", "Öl\tund Essig"});
  std::vector<CellCheck> sheetJs5 = SheetJsChecks(false, true);
  sheetJs5.push_back({1, "B2", "_pfel"});
  const std::vector<FixtureCase> cases = {
      {"lo97_content.xls", evExcel9, kContentSheets, kContentChecks},
      {"gnumeric_biff8_content.xls", evExcel9, kContentSheets, gnumericChecks},
      {"gnumeric_biff7_content.xls", evExcel7, kContentSheets, gnumericChecks},
      {"sheetjs_biff8.xls", evExcel9, {{"Übersicht", 40, 256}, {"Preisänderung", 3, 2}, {"Leer", 0, 0}}, sheetJs8},
      {"sheetjs_biff5.xls", evExcel7, {{"_bersicht", 40, 256}, {"Preis_nderung", 3, 2}, {"Leer", 0, 0}}, sheetJs5},
      {"sheetjs_biff2.xls", evExcel2, {{"Arbeitsblatt1", 40, 256}}, SheetJsChecks(false, false)},
      {"sheetjs_biff3.xls", evExcel3, {{"Arbeitsblatt1", 40, 256}}, SheetJsChecks(false, false)},
      {"sheetjs_biff4.xls", evExcel4, {{"Arbeitsblatt1", 40, 256}}, SheetJsChecks(false, false)},
      // All sheets of a bare stream land on one: the later sheets overwrite.
      {"sheetjs_plain_biff5.xls", evExcel5, {{"Arbeitsblatt1", 40, 256}},
       {{0, "A1", "Pos"}, {0, "B3", "_l\tund Essig"}, {0, "C2", "15.03.2024"}, {0, "AB40", "weit drau_en"}}},
  };
  for (const FixtureCase& c : cases) {
    SCOPED_TRACE(c.file);
    TMSExcel reader;
    reader.LoadFromFile(Fixture(c.file));
    EXPECT_EQ(reader.Version(), c.version);
    ASSERT_EQ(reader.Sheets().Count(), static_cast<int32_t>(c.sheets.size()));
    for (size_t i = 0; i < c.sheets.size(); ++i) {
      const TSpreadSheet& sheet = reader.Sheets().Sheet(static_cast<int32_t>(i));
      EXPECT_EQ(AnsiToUtf8(Utf16ToAnsi(sheet.Caption)), c.sheets[i].caption);
      EXPECT_EQ(sheet.Cells.RowCount(), c.sheets[i].rows) << i;
      EXPECT_EQ(sheet.Cells.ColCount(), c.sheets[i].cols) << i;
    }
    for (const CellCheck& check : c.checks)
      EXPECT_EQ(TextAt(reader, check.sheet, check.ref), check.text) << check.ref;
  }
}

TEST(Fixtures, SharedStringTablesOverManyContinueRecords) {
  struct Case {
    std::string file;
    bool paddedNumbers;  // LibreOffice's source pads all numbers, SheetJS's only the German ones
    int32_t sharedStrings;  // SheetJS writes LABEL records instead of an SST
  };
  for (const Case& c : {Case{"lo97_manystrings.xls", true, 800}, Case{"sheetjs_manystrings.xls", false, 0}}) {
    SCOPED_TRACE(c.file);
    TMSExcel reader;
    reader.LoadFromFile(Fixture(c.file));
    ASSERT_EQ(reader.Sheets().Count(), 1);
    const TSpreadSheetCells& cells = reader.Sheets().Sheet(0).Cells;
    ASSERT_EQ(cells.RowCount(), 800);
    for (int32_t i = 0; i < 800; ++i) {
      char number[8];
      std::snprintf(number, sizeof number, c.paddedNumbers || i % 3 ? "%04d" : "%d", i);
      const std::string utf8 = i % 3 ? std::string("Eintrag ") + number + " Größe" : std::string("Запись ") + number + " Ω";
      std::u16string expected;
      for (size_t k = 0; k < utf8.size();) {  // UTF-8 to UTF-16 for the BMP characters used here
        const auto b = static_cast<unsigned char>(utf8[k]);
        if (b < 0x80) { expected += static_cast<char16_t>(b); k += 1; }
        else { expected += static_cast<char16_t>((b & 0x1F) << 6 | (utf8[k + 1] & 0x3F)); k += 2; }
      }
      ASSERT_EQ(cells.GetCell(1, i).AsText(), expected) << i;
      ASSERT_EQ(cells.GetCell(0, i).AsDouble(), i) << i;
    }
    EXPECT_EQ(reader.SharedStrings().Count(), c.sharedStrings);
  }
}

TEST(Fixtures, EncryptedAndXlsxWorkbooks) {
  TMSExcel reader;
  try {
    reader.LoadFromFile(Fixture("lo97_encrypted.xls"));
    ADD_FAILURE() << "no failure";
  } catch (const ESpreadSheetError& e) {
    EXPECT_EQ(e.Message(), "Could not read the password protected file");
  }
  EXPECT_EQ(reader.Sheets().Count(), 0);

  TMSExcelX xlsx;
  xlsx.LoadFromFile(Fixture("sheetjs_content.xlsx"));
  EXPECT_EQ(xlsx.Sheets().Count(), 0);
  EXPECT_EQ(xlsx.FileName, Fixture("sheetjs_content.xlsx"));
  EXPECT_THROW(xlsx.LoadFromFile(Fixture("missing.xlsx")), ESpreadSheetError);
}

TEST(Fixtures, LoadFromStreamReadsTheSameAsLoadFromFile) {
  TMSExcel fromFile, fromStream;
  fromFile.LoadFromFile(Fixture("lo97_content.xls"));
  FILE* f = std::fopen(Fixture("lo97_content.xls").c_str(), "rb");
  ASSERT_NE(f, nullptr);
  std::string bytes(1 << 16, '\0');
  bytes.resize(std::fread(bytes.data(), 1, bytes.size(), f));
  std::fclose(f);
  TMemoryStream stream(bytes);
  stream.SetPosition(100);  // the whole stream is taken, whatever its position
  fromStream.LoadFromStream(stream);
  ASSERT_EQ(fromStream.Sheets().Count(), fromFile.Sheets().Count());
  for (int32_t i = 0; i < fromFile.Sheets().Count(); ++i) {
    const TSpreadSheetCells& a = fromFile.Sheets().Sheet(i).Cells;
    const TSpreadSheetCells& b = fromStream.Sheets().Sheet(i).Cells;
    ASSERT_EQ(a.RowCount(), b.RowCount());
    for (int32_t r = 0; r < a.RowCount(); ++r)
      for (int32_t col = 0; col < a.ColCount(); ++col) ASSERT_EQ(a.GetCell(col, r), b.GetCell(col, r));
  }
}

}  // namespace
}  // namespace sp

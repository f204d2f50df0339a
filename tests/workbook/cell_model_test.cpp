#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "support/formatting.h"
#include "support/text1252.h"
#include "workbook/cell_reference.h"
#include "workbook/cell_text.h"
#include "workbook/spreadsheet_file.h"
#include "workbook/wide_strings.h"

namespace sp {
namespace {

std::string Caption(const TSpreadSheet& sheet) { return Utf16ToAnsi(sheet.Caption); }

TEST(CellValue, HoldsEachKindInTwelveBytes) {
  EXPECT_EQ(sizeof(TCellValue), 12u);
  EXPECT_TRUE(TCellValue().IsNull());
  EXPECT_EQ(TCellValue::Integer(-7).AsInteger(), -7);
  EXPECT_EQ(TCellValue::Number(1.25).AsDouble(), 1.25);
  EXPECT_EQ(TCellValue::DateTime(45366.5).Kind(), TValueKind::DateTime);
  EXPECT_TRUE(TCellValue::Boolean(true).AsBoolean());
  EXPECT_EQ(TCellValue::Text(u"Größe").AsText(), u"Größe");
  EXPECT_NE(TCellValue::Number(2), TCellValue::DateTime(2));
  EXPECT_NE(TCellValue::Integer(1), TCellValue::Boolean(true));
}

TEST(CellValue, CopiesAreIndependentValuesSharingTheCharacters) {
  TCellValue a = TCellValue::Text(u"geteilt");
  TCellValue b = a;
  EXPECT_EQ(a.AsText().data(), b.AsText().data());
  a = TCellValue::Number(3);
  EXPECT_EQ(b.AsText(), u"geteilt");
  TCellValue c = std::move(b);
  EXPECT_TRUE(b.IsNull());  // NOLINT: a moved-from value is Null
  EXPECT_EQ(c.AsText(), u"geteilt");
  c = c;
  EXPECT_EQ(c.AsText(), u"geteilt");
}

TEST(CellText, FollowsTheRegionalFormats) {
  struct Case {
    TCellValue value;
    std::string text;
  };
  const std::vector<Case> cases = {
      {TCellValue(), ""},
      {TCellValue::Boolean(true), "True"},
      {TCellValue::Boolean(false), "False"},
      {TCellValue::Integer(-42), "-42"},
      {TCellValue::Number(1.5), "1,5"},
      {TCellValue::Number(1234567.891), "1234567,891"},
      {TCellValue::Number(1e20), "1E20"},
      {TCellValue::DateTime(45366), "15.03.2024"},
      {TCellValue::DateTime(45366.75), "15.03.2024 18:00:00"},
      {TCellValue::DateTime(0.5), "12:00:00"},
      {TCellValue::DateTime(-1.21332e184), "-1,21332E184"},
      {TCellValue::DateTime(2958466), "2958466"},
      {TCellValue::DateTime(2958465), "31.12.9999"},
      {TCellValue::DateTime(std::nan("")), "NAN"},
      {TCellValue::Text(u"Maß Ω → 5 €"), Ansi("Maß ? ? 5 €")},
      {TCellValue::Text(u""), ""},
  };
  for (const Case& c : cases) EXPECT_EQ(CellText(c.value), c.text);
}

TEST(CellText, UsesTheDecimalSeparatorInForce) {
  TFormatSettings saved = FormatSettings();
  FormatSettings().DecimalSeparator = '.';
  EXPECT_EQ(CellText(TCellValue::Number(2.75)), "2.75");
  FormatSettings() = saved;
}

TEST(ExcelColumnName, NamesColumnsAsExcelDoes) {
  const std::vector<std::pair<int32_t, std::string>> cases = {
      {0, "A"}, {25, "Z"}, {26, "AA"}, {27, "AB"}, {51, "AZ"}, {52, "BA"}, {255, "IV"},
      {701, "ZZ"}, {702, "AAA"}, {16383, "XFD"}, {65536, "A"}, {65535, "CRXP"}};
  for (const auto& [column, name] : cases) EXPECT_EQ(ExcelColumnName(column), name) << column;
  EXPECT_EQ(ExcelCellReference(27, 39), "AB40");
}

TEST(SpreadSheets, ItemAccessAppendsBeyondTheEnd) {
  TSpreadSheets sheets;
  EXPECT_EQ(sheets.Count(), 0);
  EXPECT_EQ(sheets.AddSheet(), 0);
  TSpreadSheet& appended = sheets.Items(3);
  EXPECT_EQ(sheets.Count(), 2);
  EXPECT_EQ(&appended, &sheets.Items(1));
  EXPECT_EQ(Caption(appended), "Arbeitsblatt2");
  EXPECT_EQ(&sheets.Items(-5), &sheets.Items(0));
  EXPECT_THROW(sheets.Delete(2), EStringListError);
  sheets.Delete(0);
  EXPECT_EQ(Caption(sheets.Sheet(0)), "Arbeitsblatt2");
  sheets.Clear();
  EXPECT_EQ(sheets.Count(), 0);
}

TEST(SpreadSheetCells, CountsFollowTheStoredCells) {
  TSpreadSheetCells cells;
  cells.SetCell(5, 7, 3, taCenter, TCellValue::Integer(1));
  EXPECT_EQ(cells.RowCount(), 8);
  EXPECT_EQ(cells.ColCount(), 6);
  EXPECT_TRUE(cells.GetCell(0, 0).IsNull());
  EXPECT_TRUE(cells.GetCell(6, 7).IsNull());
  EXPECT_TRUE(cells.GetCell(-1, 7).IsNull());
  EXPECT_TRUE(cells.GetCell(5, 100).IsNull());
  const TSMICell* cell = cells.Cell(5, 7);
  ASSERT_NE(cell, nullptr);
  EXPECT_EQ(cell->FormatIndex, 3);
  EXPECT_EQ(cell->Alignment, taCenter);

  cells.SetCell(9, 9, 0, taLeftJustify, TCellValue());  // Null stores nothing
  EXPECT_EQ(cells.RowCount(), 8);
  EXPECT_EQ(cells.ColCount(), 6);

  cells.SetCell(5, 7, -1, taRightJustify, TCellValue::Text(u"neu"));
  EXPECT_EQ(cells.GetCell(5, 7).AsText(), u"neu");
  EXPECT_EQ(cells.Cell(5, 7)->FormatIndex, -1);
  EXPECT_EQ(cells.Cell(5, 7)->Alignment, taRightJustify);

  EXPECT_THROW(cells.SetCell(-1, 0, 0, taLeftJustify, TCellValue::Integer(1)), EStringListError);
  EXPECT_THROW(cells.SetCell(0, -1, 0, taLeftJustify, TCellValue::Integer(1)), EStringListError);

  cells.SetDeclaredBounds(1, 1);  // does not shrink while AutoExpand is on
  EXPECT_EQ(cells.RowCount(), 8);
  cells.SetAutoExpand(false);
  cells.SetDeclaredBounds(2, 3);
  EXPECT_EQ(cells.RowCount(), 2);
  EXPECT_EQ(cells.ColCount(), 3);
  cells.Clear();
  EXPECT_EQ(cells.RowCount(), 0);
  EXPECT_EQ(cells.DeclaredColCount(), 0);
  EXPECT_FALSE(cells.AutoExpand());
  EXPECT_TRUE(cells.Rows().empty());
}

TEST(SpreadSheetCells, CellsArrivingOutOfOrderAreOrderedAndTheLastWriteWins) {
  TSpreadSheetCells cells;
  const std::vector<std::pair<int32_t, int32_t>> writes = {{3, 2}, {1, 2}, {2, 0}, {0, 5}, {1, 2}, {0, 0}, {3, 2}};
  int32_t n = 0;
  for (const auto& [column, row] : writes) {
    cells.SetCell(column, row, n, taLeftJustify, TCellValue::Integer(n));
    ++n;
  }
  std::vector<std::string> seen;
  for (const TSpreadSheetRow& row : cells.Rows())
    for (const auto& entry : row.Cols().Entries())
      seen.push_back(ExcelCellReference(entry.Column, row.Index()) + "=" + CellText(entry.Cell.Value));
  EXPECT_EQ(seen, (std::vector<std::string>{"A1=5", "C1=2", "B3=4", "D3=6", "A6=3"}));
  EXPECT_EQ(cells.Row(2)->Cols().Count(), 4);
  EXPECT_EQ(cells.Row(1), nullptr);
  EXPECT_EQ(cells.GetCell(3, 2).AsInteger(), 6);
  cells.SetCell(2, 2, 0, taLeftJustify, TCellValue::Integer(9));  // into an ordered row's middle
  EXPECT_EQ(cells.GetCell(2, 2).AsInteger(), 9);
  EXPECT_EQ(cells.Row(2)->Cols().Entries().size(), 3u);
}

TEST(WideStrings, InvalidIndicesReadEmptyAndRefuseChanges) {
  TWideStrings list;
  EXPECT_EQ(list.Add(TWideText(u"Blatt"), 1234), 0);
  EXPECT_EQ(list.Strings(0).View(), u"Blatt");
  EXPECT_EQ(list.Tags(0), 1234);
  EXPECT_TRUE(list.Strings(1).Empty());
  EXPECT_EQ(list.Tags(-1), 0);
  for (int32_t bad : {-1, 1}) {
    try {
      list.SetString(bad, TWideText(u"x"));
      ADD_FAILURE() << "no failure";
    } catch (const EStringListError& e) {
      EXPECT_EQ(e.Message(), "WideStrings index out of bounds");
    }
    EXPECT_THROW(list.Delete(bad), EStringListError);
  }
  list.SetTag(0, 7);
  EXPECT_EQ(list.Tags(0), 7);
  list.Delete(0);
  EXPECT_EQ(list.Count(), 0);
}

// A reader that raises the events its script gives it.
class ScriptedReader : public TSpreadSheetFile {
 public:
  std::function<void(ScriptedReader&)> script;

 protected:
  void ReadFile(const std::string&) override { script(*this); }
  void ReadStream(TStream&) override { script(*this); }
};

TEST(SpreadSheetFile, DefaultHandlersFillTheModel) {
  ScriptedReader reader;
  reader.Range.LastCol = 10;
  reader.Range.LastRow = 100;
  reader.script = [](ScriptedReader& r) {
    bool skip = false;
    r.OnSheet(r, u"Übersicht", 0, skip);
    r.OnDimensions(r, 0, 0, 1, 0, 50);
    r.OnCellValue(r, 0, 7, 5, 2, TCellValue::Number(1.5), taRightJustify);
    r.OnCellValue(r, 0, 0, 11, 0, TCellValue::Integer(1), taLeftJustify);   // beyond Range.LastCol
    r.OnCellValue(r, 0, 101, 0, 0, TCellValue::Integer(1), taLeftJustify);  // beyond Range.LastRow
    r.OnCellValue(r, 0, 3, 3, 0, TCellValue(), taLeftJustify);              // Null
    r.OnCellValue(r, 0, -4, 0, 0, TCellValue::Integer(1), taLeftJustify);   // refused by the store, dropped
    r.OnColumnWidth(r, 0, 3, 2560);
    r.OnCellValue(r, 5, 0, 0, 0, TCellValue::Boolean(true), taLeftJustify);  // appends a sheet
  };
  TMemoryStream none;
  reader.LoadFromStream(none);
  ASSERT_EQ(reader.Sheets().Count(), 2);
  const TSpreadSheet& first = reader.Sheets().Sheet(0);
  EXPECT_EQ(Caption(first), Ansi("Übersicht"));
  EXPECT_EQ(first.Cells.RowCount(), 8);
  EXPECT_EQ(first.Cells.ColCount(), 6);
  EXPECT_EQ(first.Cells.DeclaredRowCount(), 1);
  EXPECT_EQ(first.Cells.DeclaredColCount(), 10);  // limited by Range.LastCol
  EXPECT_EQ(first.ColumnWidths, (std::vector<int32_t>{0, 0, 0, 2560}));
  EXPECT_EQ(reader.GetCellValue(0, 7, 5).AsDouble(), 1.5);
  EXPECT_EQ(Caption(reader.Sheets().Sheet(1)), "Arbeitsblatt2");
  EXPECT_TRUE(reader.GetCellValue(1, 0, 0).AsBoolean());
}

TEST(SpreadSheetFile, OwnHandlersReceiveTheContentInstead) {
  ScriptedReader reader;
  std::vector<int32_t> rows;
  reader.OnCellValue = [&rows](TCustomSpreadSheetFile&, int32_t, int32_t row, int32_t, int32_t, const TCellValue&,
                               TAlignment) { rows.push_back(row); };
  reader.script = [](ScriptedReader& r) { r.OnCellValue(r, 0, 4, 0, 0, TCellValue::Integer(1), taLeftJustify); };
  TMemoryStream none;
  reader.LoadFromStream(none);
  EXPECT_EQ(rows, std::vector<int32_t>{4});
  EXPECT_EQ(reader.Sheets().Count(), 0);
}

TEST(SpreadSheetFile, RefusesMissingNamesBeforeResetting) {
  ScriptedReader reader;
  reader.script = [](ScriptedReader& r) { r.Sheets().AddSheet(); };
  TMemoryStream none;
  reader.LoadFromStream(none);
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"   ", "File is not defined."}, {"", "File is not defined."}, {"/no/such/file.xls", "File is not exists."}};
  for (const auto& [name, message] : cases) {
    try {
      reader.LoadFromFile(name);
      ADD_FAILURE() << "no failure for " << name;
    } catch (const ESpreadSheetError& e) {
      EXPECT_EQ(e.Message(), message);
    }
    EXPECT_EQ(reader.Sheets().Count(), 1);
  }
  EXPECT_TRUE(reader.FileName.empty());
}

}  // namespace
}  // namespace sp

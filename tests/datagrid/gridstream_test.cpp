#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datagrid/griddata.h"
#include "datagrid/gridstream.h"
#include "support/csvfield.h"
#include "platform/errors.h"
#include "platform/stream.h"
#include "support/formatting.h"

namespace sp {
namespace {

// Sets the process's decimal separator for one test.
class DecimalSeparatorScope {
 public:
  explicit DecimalSeparatorScope(char separator) : saved_(FormatSettings().DecimalSeparator) {
    FormatSettings().DecimalSeparator = separator;
  }
  ~DecimalSeparatorScope() { FormatSettings().DecimalSeparator = saved_; }

 private:
  char saved_;
};

void NameColumns(TDataGridData& grid, const std::vector<std::string>& names) {
  grid.SetColCount(static_cast<int>(names.size()));
  for (size_t i = 0; i < names.size(); ++i) grid.Columns()[static_cast<int>(i)].SetFieldName(names[i]);
}

std::string Saved(TDataGridData& grid) {
  TMemoryStream stream;
  EXPECT_TRUE(grid.SaveToStream(stream));
  return stream.Bytes();
}

bool Load(TDataGridData& grid, std::string bytes) {
  TMemoryStream stream(std::move(bytes));
  return grid.LoadFromStream(stream);
}

const std::string kHeaderZaZe =
    "\"@@DATADEF START@@\"\r\n\"za\"\r\n\"ze\"\r\n\"SecondField\"\r\n\"@@DATADEF END@@\"\r\n"
    "\"za\",\"ze\",\"SecondField\",\r\n";

TEST(GridStream, SavesTheGoldenBytes) {
  TDataGridData grid;
  NameColumns(grid, {"za", "ze"});
  grid.SetRowCount(2);
  grid.SetCell(0, 1, "3");
  grid.SetCell(1, 1, "7");
  EXPECT_EQ(Saved(grid), kHeaderZaZe + "\"3\",\"7\",\"\",\r\n");
}

TEST(GridStream, EscapesQuotesAndDuplicateNames) {
  TDataGridData grid;
  NameColumns(grid, {"TColumn-1", " a\"b ", "Pos.", "pos."});
  grid.SetRowCount(2);
  grid.UseSecondLine = true;
  grid.SetCell(1, 1, "x\"y");
  grid.SetCell(2, 1, "100%\r\n\x81");
  grid.SetCell(3, 1, "hidden by the first pos.");
  grid.SetSecondLine(1, "l1\nl2");
  EXPECT_EQ(Saved(grid),
            "\"@@DATADEF START@@\"\r\n\"TColumn-1\"\r\n\" a\"\"b \"\r\n\"Pos.\"\r\n\"pos.\"\r\n"
            "\"SecondField\"\r\n\"@@DATADEF END@@\"\r\n"
            "\"TColumn-1\",\"a\"\"b\",\"Pos.\",\"pos.\",\"SecondField\",\r\n"
            "\"\",\"x\"\"y\",\"100%%%c%n\x81\",\"100%%%c%n\x81\",\"l1%c%nl2\",\r\n");
}

TEST(GridStream, EscapeTable) {
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"", "\"\""},
      {"50%", "\"50%%\""},
      {std::string("a\0b", 3), "\"a%0b\""},
      {"\r\n", "\"%c%n\""},
      {"%n", "\"%%n\""},
      {"\"", "\"\"\"\""},
  };
  for (const auto& [text, expected] : cases) {
    std::string out;
    AppendEscapedQuoted(out, text);
    EXPECT_EQ(out, expected);
    std::vector<std::string> fields;
    SplitGridFields(out, fields);
    ASSERT_EQ(fields.size(), 1u);
    UnescapeInPlace(fields[0]);
    EXPECT_EQ(fields[0], text);
  }
  std::string odd = "%x%";
  UnescapeInPlace(odd);
  EXPECT_EQ(odd, "%x%");
}

TEST(GridStream, FieldSplitting) {
  const std::vector<std::pair<std::string, std::vector<std::string>>> cases = {
      {"\"a\",\"b\",", {"a", "b"}},
      {"\"a\",,\"b\"", {"a", "", "b"}},
      {"abc,\"x\"", {"", "x"}},      // an unquoted value reads as empty
      {"abc", {}},
      {"\"open,end", {"open,end"}},  // an unclosed quote runs to the end
      {"\"a\"x\"b\"", {"a", "b"}},   // the byte after a closing quote is passed over
      {",,", {"", ""}},
  };
  for (const auto& [line, expected] : cases) {
    std::vector<std::string> fields{"stale"};
    SplitGridFields(line, fields);
    EXPECT_EQ(fields, expected) << line;
  }
}

TEST(GridStream, RoundTripKeepsLineBreaksPercentAndSecondLines) {
  auto describe = [](TDataGridData& g) {
    NameColumns(g, {"TColumn-1", "Bez", "Menge"});
    g.Columns()[2].NumericKind = deInteger;
    g.UseSecondLine = true;
  };
  TDataGridData grid;
  describe(grid);
  grid.SetRowCount(4);
  grid.SetCell(0, 1, "*");
  grid.SetCell(1, 1, "Zeile\r\nzwei 100 %");
  grid.SetCell(2, 3, std::string("nul\0", 4));
  grid.SetSecondLine(2, "Langtext\r\nmit \"Zitat\"");
  const std::string bytes = Saved(grid);

  TDataGridData copy;
  describe(copy);
  copy.SetRowCount(9);
  copy.SetCell(1, 8, "old");
  ASSERT_TRUE(Load(copy, bytes));
  EXPECT_EQ(copy.RowCount(), 4);
  for (int r = 1; r < 4; ++r) {
    for (int c = -2; c < 3; ++c) EXPECT_EQ(copy.Cell(c, r), grid.Cell(c, r)) << c << "," << r;
  }
  EXPECT_EQ(Saved(copy), bytes);
}

TEST(GridStream, UnknownFieldsAreSkippedByName) {
  TDataGridData grid;
  NameColumns(grid, {"TColumn-1", "ZE", "sheet"});
  grid.SetCell(1, 3, "stale");
  const std::string bytes =
      "\"@@DATADEF START@@\"\r\n\"TColumn-1\"\r\n\"sheet\"\r\n\"unknown\"\r\n\"za\"\r\n\"SecondField\"\r\n"
      "\"@@DATADEF END@@\"\r\n\"caption line\",\r\n"
      "\"d\",\"Tabelle1\",\"lost\",\"5\",\"second\",\r\n"
      "\r\n\r\n"
      "\"\",\"Tabelle2\",\"lost\",\r\n";
  ASSERT_TRUE(Load(grid, bytes));
  EXPECT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.Cell(0, 1), "d");
  EXPECT_EQ(grid.Cell(2, 1), "Tabelle1");
  EXPECT_EQ(grid.Cell(1, 1), "");  // "za" is not "ze"; the grid has three columns: "5" is past them
  EXPECT_EQ(grid.Cell(2, 2), "Tabelle2");
  EXPECT_EQ(grid.Cell(1, 2), "");
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 1);
}

TEST(GridStream, SecondLinesOnlyWhenColumnCountsAgree) {
  const std::string bytes = kHeaderZaZe + "\"1\",\"2\",\"lang\",\r\n";
  struct Case { std::vector<std::string> names; std::string second; };
  for (const Case& c : {Case{{"za", "ze"}, "lang"}, Case{{"za", "ze", "x"}, ""}, Case{{"za"}, "2"}}) {
    TDataGridData grid;
    NameColumns(grid, c.names);
    grid.UseSecondLine = true;
    ASSERT_TRUE(Load(grid, bytes));
    EXPECT_EQ(grid.Cell(-2, 1), c.second) << c.names.size();
    EXPECT_EQ(grid.Cell(0, 1), "1");
  }
}

TEST(GridStream, DecimalSeparatorRule) {
  struct Case {
    char separator;
    TEditDataType_ kind;
    std::string stored, expected;
  };
  const std::vector<Case> cases = {
      {',', deCurrency, "1,5", "1,5"},  {',', deCurrency, "1.5", "1.5"}, {'.', deCurrency, "1,5", "1.5"},
      {'.', deFloat, "-2,25", "-2.25"}, {'.', deInteger, "1,5", "1,5"},  {'.', deCurrency, "1.5", "1.5"},
      {'.', deCurrency, "Schraube 3,5 mm", "Schraube 3,5 mm"},  // not a number: left as it is
  };
  for (const Case& c : cases) {
    DecimalSeparatorScope scope(c.separator);
    TDataGridData grid;
    NameColumns(grid, {"TColumn-1", "Preis"});
    grid.Columns()[1].NumericKind = c.kind;
    ASSERT_TRUE(Load(grid, "\"@@DATADEF START@@\"\r\n\"TColumn-1\"\r\n\"Preis\"\r\n\"@@DATADEF END@@\"\r\n\"c\"\r\n\"\",\"" +
                               c.stored + "\",\r\n"));
    EXPECT_EQ(grid.Cell(1, 1), c.expected) << c.separator << " " << c.stored;
  }
}

TEST(GridStream, LoadingRaisesBeforeSetcellButNoWriteEvents) {
  TDataGridData grid;
  NameColumns(grid, {"za", "ze"});
  int before = 0, written = 0;
  grid.OnBeforeSetcell = [&](int, int, std::string& value, const std::string&) { ++before; value = "[" + value + "]"; };
  grid.OnAfterCellWrite = [&](int, int, const std::string&) { ++written; };
  ASSERT_TRUE(Load(grid, kHeaderZaZe + "\"1\",\"2\",\"\",\r\n"));
  EXPECT_EQ(before, 2);
  EXPECT_EQ(written, 0);
  EXPECT_EQ(grid.Cell(1, 1), "[2]");
}

TEST(GridStream, NoDataLinesLeavesOneEmptyRow) {
  for (const std::string& bytes : {kHeaderZaZe, std::string(), std::string("\r\n\n\0", 4)}) {
    TDataGridData grid;
    NameColumns(grid, {"za", "ze"});
    grid.SetRowCount(6);
    grid.SetCell(1, 1, "old");
    ASSERT_TRUE(Load(grid, bytes));
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Cell(1, 1), "");
  }
}

TEST(GridStream, ALineBeforeTheStartMarkerEndsTheHeader) {
  TDataGridData grid;
  NameColumns(grid, {"za", "ze"});
  ASSERT_TRUE(Load(grid, "\"ignored\"\r\n\"1\",\"2\",\r\n\"3\",\r\n"));
  EXPECT_EQ(grid.RowCount(), 3);  // no names: rows counted, nothing stored
  EXPECT_EQ(grid.Cell(0, 1), "");
}

TEST(GridStream, ReadsLinesAcrossBlockBoundaries) {
  TDataGridData grid;
  NameColumns(grid, {"za", "ze"});
  std::string bytes = kHeaderZaZe;
  std::vector<std::string> expected;
  for (int r = 0; r < 900; ++r) {
    expected.push_back(std::string(static_cast<size_t>(r % 37), 'x') + std::to_string(r));
    bytes += "\"" + std::to_string(r) + "\",\"" + expected.back() + "\",\"\",\n\r";
  }
  ASSERT_GT(bytes.size(), 3 * 8192u);
  ASSERT_TRUE(Load(grid, bytes));
  ASSERT_EQ(grid.RowCount(), 901);
  for (int r = 0; r < 900; ++r) EXPECT_EQ(grid.Cell(1, r + 1), expected[static_cast<size_t>(r)]);
}

// Serves its bytes, then fails.
class BreakingStream : public TMemoryStream {
 public:
  using TMemoryStream::TMemoryStream;
  int64_t Read(void* buffer, int64_t count) override {
    const int64_t got = TMemoryStream::Read(buffer, count);
    if (got == 0) throw EReadError("Stream read error");
    return got;
  }
  int64_t Write(const void*, int64_t) override { throw EWriteError("Stream write error"); }
};

TEST(GridStream, FailuresGiveFalse) {
  TDataGridData grid;
  NameColumns(grid, {"za", "ze"});
  BreakingStream broken(kHeaderZaZe + "\"1\",\"2\",\"\",\r\n");
  EXPECT_FALSE(grid.LoadFromStream(broken));
  EXPECT_EQ(grid.Cell(0, 1), "1");  // rows read so far stay
  EXPECT_FALSE(grid.Updating());

  std::string message;
  grid.OnShowMessage = [&](const std::string& text) { message = text; };
  EXPECT_FALSE(grid.SaveToStream(broken));
  EXPECT_EQ(message, "TDataGrid.SaveToStream Stream write error");
}

}  // namespace
}  // namespace sp

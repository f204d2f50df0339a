#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datagrid/cellrules.h"
#include "datagrid/fitting.h"
#include "datagrid/griddata.h"
#include "datagrid/navigation.h"
#include "datagrid/numericrules.h"
#include "datagrid/rowmarker.h"

namespace sp {
namespace {

TEST(RowMarker, KindsAndLooks) {
  struct Case {
    std::string marker;
    TRowKind kind;
    std::string letter;
    bool green, yellow;
    TMarkerLine line;
  };
  const std::vector<Case> cases = {
      {"", TRowKind::Data, "", false, false, TMarkerLine::None},
      {"d", TRowKind::Data, "D", false, false, TMarkerLine::None},
      {"*h", TRowKind::Data, "S", true, false, TMarkerLine::None},
      {"t", TRowKind::Text, "Z", false, false, TMarkerLine::None},
      {"-xp", TRowKind::Separator, "-", false, false, TMarkerLine::Red},
      {"ahgj", TRowKind::Grey, "A", true, true, TMarkerLine::Green},
      {"\x81", TRowKind::Blue, "", false, false, TMarkerLine::None},
      {"x  j", TRowKind::Other, "", false, true, TMarkerLine::None},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(RowKindOf(c.marker), c.kind) << c.marker;
    const TMarkerLook look = MarkerLookOf(c.marker);
    EXPECT_EQ(look.Letter, c.letter) << c.marker;
    EXPECT_EQ(look.GreenFill, c.green) << c.marker;
    EXPECT_EQ(look.YellowFill, c.yellow) << c.marker;
    EXPECT_EQ(look.Line, c.line) << c.marker;
  }
  EXPECT_TRUE(MarkerLookOf("\x81").Bracket);
  EXPECT_TRUE(MarkerLookOf("-").Enlarged);
}

TEST(CellRules, DisplayMasksApplyToDataRowsOnly) {
  TDataGridData grid;
  grid.Columns()[1].SetFormat(cfNumber);
  grid.Columns()[1].DisplayMask = "0.00";
  grid.Columns()[2].SetFormat(cfDate);
  grid.Columns()[2].DisplayMask = "yyyy-mm-dd";
  grid.Columns()[3].DisplayMask = "0.00";  // cfString: never formatted
  grid.SetCell(1, 1, "2,5");
  grid.SetCell(2, 1, "24.12.2026");
  grid.SetCell(3, 1, "7");
  EXPECT_EQ(DisplayText(grid, 1, 1), "2,50");
  EXPECT_EQ(DisplayText(grid, 2, 1), "2026-12-24");
  EXPECT_EQ(DisplayText(grid, 3, 1), "7");
  EXPECT_EQ(grid.Cell(1, 1), "2,5");
  grid.SetCell(1, 2, "kein");
  EXPECT_EQ(DisplayText(grid, 1, 2), "0,00");
  grid.SetCell(2, 2, "kein Datum");
  EXPECT_EQ(DisplayText(grid, 2, 2), "kein Datum");

  grid.SetCell(0, 1, "t");
  EXPECT_EQ(DisplayText(grid, 1, 1), "2,5");
  grid.OnForceFormatThisCell = [](int col, int row, bool& force) { force = col == 1; };
  EXPECT_EQ(DisplayText(grid, 1, 1), "2,50");
  grid.SetCell(0, 1, "x");
  EXPECT_EQ(DisplayText(grid, 1, 1), "2,5");
}

TEST(CellRules, EditorChoice) {
  TDataGridData grid;
  grid.SetColCount(6);
  grid.Columns()[1].SetFormat(cfNumber);
  grid.Columns()[1].NumericKind = deInteger;
  grid.Columns()[2].SetFormat(cfNumber);
  grid.Columns()[2].EditMask = "0.000";
  grid.Columns()[3].SetFormat(cfdblocate);
  grid.Columns()[4].SetFormat(cfcombo);
  grid.Columns()[5].SetFormat(cfcheck);
  grid.Columns()[5].SetAlignment(taRightJustify);
  grid.SetCell(2, 1, "1,5");

  struct Case { int col; TEditorKind kind; std::string hint; int maxLength; };
  for (const Case& c : {Case{1, TEditorKind::Float, "Numerische Daten", 4}, Case{2, TEditorKind::Float, "Numerische Daten", 13},
                       Case{3, TEditorKind::Grid, "F2 F3", 0}, Case{4, TEditorKind::Combo, "F2", 0},
                       Case{5, TEditorKind::Choice, "Beliebige Daten", 0}}) {
    const TEditorSetup setup = ChooseEditor(grid, c.col, 1, false);
    EXPECT_EQ(setup.Kind, c.kind) << c.col;
    EXPECT_EQ(setup.Hint, c.hint) << c.col;
    EXPECT_EQ(setup.MaxLength, c.maxLength) << c.col;
    EXPECT_EQ(setup.Background, RGBColor(213, 213, 213));
  }
  EXPECT_EQ(ChooseEditor(grid, 2, 1, false).Text, "1,500");
  EXPECT_EQ(ChooseEditor(grid, 2, 1, true).Text, "1,5");
  grid.OnGetEditMask = [](int col, int row, std::string& mask) {
    if (col == 2 && row == 1) mask = "0.0";
  };
  EXPECT_EQ(ChooseEditor(grid, 2, 1, false).Text, "1,5");  // the handler's pattern wins
  EXPECT_EQ(ChooseEditor(grid, 2, 1, false).EditMask, "0.0");
  grid.OnGetEditMask = nullptr;
  EXPECT_TRUE(ChooseEditor(grid, 4, 1, false).IgnoreDeleteKeys);
  EXPECT_EQ(ChooseEditor(grid, 5, 1, false).Alignment, taRightJustify);

  grid.SetCell(0, 1, "t");
  const TEditorSetup text = ChooseEditor(grid, 2, 1, false);
  EXPECT_EQ(text.Kind, TEditorKind::Choice);
  EXPECT_EQ(text.Text, "1,5");
  EXPECT_EQ(text.Font.Color, clRed);
  EXPECT_TRUE(text.Font.Bold);
}

TEST(CellRules, EditorReadOnlyState) {
  TDataGridData grid;
  grid.Columns()[1].SetReadOnly(true);
  EXPECT_TRUE(ChooseEditor(grid, 1, 1, false).ReadOnly);
  grid.SetCell(0, 1, "a");
  EXPECT_FALSE(ChooseEditor(grid, 1, 1, false).ReadOnly);
  EXPECT_EQ(ChooseEditor(grid, 1, 1, false).Font.Color, clGray);
  grid.SetCell(0, 1, "t");
  EXPECT_TRUE(ChooseEditor(grid, 1, 1, false).ReadOnly);
  grid.SetCell(0, 1, "\x81");
  grid.ReadOnly = true;
  EXPECT_TRUE(ChooseEditor(grid, 1, 1, false).ReadOnly);
  EXPECT_TRUE(ChooseEditor(grid, 2, 1, false).ReadOnly);
}

TEST(CellRules, RowDragText) {
  TDataGridData grid;
  grid.Columns()[1].SetFieldName("Pos.");
  grid.Columns()[2].SetFieldName("Bezeichnung1");
  EXPECT_EQ(RowDragText(grid, 1), "Verschieben..");
  grid.SetCell(2, 1, " Schraube ");
  EXPECT_EQ(RowDragText(grid, 1), "Schraube");
  grid.SetCell(1, 1, "3");
  EXPECT_EQ(RowDragText(grid, 1), "Pos.3  Schraube");
}

// Columns: 0 marker, 1 wide, 2 narrow (12), 3 read-only, 4 hidden, 5 wide.
void NavigationGrid(TDataGridData& grid, int dataRows) {
  grid.SetColCount(6);
  grid.SetRowCount(dataRows + 1);
  for (int c = 1; c < 6; ++c) grid.Columns()[c].SetWidth(40);
  grid.Columns()[2].SetWidth(12);
  grid.Columns()[3].SetReadOnly(true);
  grid.Columns()[4].SetWidth(-1);
}

TEST(Navigation, EnterableColumns) {
  TDataGridData grid;
  NavigationGrid(grid, 2);
  std::vector<bool> plain, separator;
  grid.SetCell(0, 2, "-");
  for (int c = 0; c < 6; ++c) {
    plain.push_back(IsEnterable(grid, c, 1));
    separator.push_back(IsEnterable(grid, c, 2));
  }
  EXPECT_EQ(plain, (std::vector<bool>{false, true, false, false, false, true}));
  EXPECT_EQ(separator, (std::vector<bool>{false, true, true, true, false, true}));
}

TEST(Navigation, LeftRightEndSkipColumnsNotEnterable) {
  TDataGridData grid;
  NavigationGrid(grid, 2);
  grid.SetCurrent(1, 1);
  KeyRight(grid);
  EXPECT_EQ(grid.Col(), 5);
  KeyRight(grid);
  EXPECT_EQ(grid.Col(), 5);
  KeyLeft(grid);
  EXPECT_EQ(grid.Col(), 1);
  KeyEnd(grid);
  EXPECT_EQ(grid.Col(), 5);
  grid.Columns()[5].SetReadOnly(true);
  KeyEnd(grid);
  EXPECT_EQ(grid.Col(), 1);
}

TEST(Navigation, EnterAtTheEndOfARow) {
  struct Case {
    const char* name;
    TDataGridOptions options;
    int row;
    int rowsAfter, rowAfter, colAfter;
  };
  const std::vector<Case> cases = {
      {"last row appends", dgoAppendRow, 2, 4, 3, 1},
      {"other row inserts below", dgoAppendRow | dgoInsertRow, 1, 4, 2, 1},
      {"other row without insert goes to column 1", dgoAppendRow, 1, 3, 1, 1},
      {"without append stays", 0, 2, 3, 2, 5},
  };
  for (const Case& c : cases) {
    TDataGridData grid;
    NavigationGrid(grid, 2);
    grid.DataGridOptions = c.options;
    grid.SetCell(1, 2, "second");
    grid.SetCurrent(1, c.row);
    KeyEnter(grid);
    EXPECT_EQ(grid.Col(), 5) << c.name;
    KeyEnter(grid);
    EXPECT_EQ(grid.RowCount(), c.rowsAfter) << c.name;
    EXPECT_EQ(grid.Row(), c.rowAfter) << c.name;
    EXPECT_EQ(grid.Col(), c.colAfter) << c.name;
    if (c.rowsAfter == 4 && c.row == 1) {
      EXPECT_EQ(grid.Cell(1, 3), "second") << c.name;
    }
  }
}

TEST(Navigation, DownAppendsOnlyInTheLastRowWithTheOption) {
  TDataGridData grid;
  NavigationGrid(grid, 2);
  grid.SetCurrent(5, 2);
  KeyDown(grid);
  EXPECT_EQ(grid.RowCount(), 3);
  grid.DataGridOptions = dgoAppendRow;
  KeyDown(grid);
  EXPECT_EQ(grid.RowCount(), 4);
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 5);
  KeyUp(grid);
  EXPECT_EQ(grid.Row(), 2);
}

TEST(Navigation, CtrlInsertAndCtrlDelete) {
  TDataGridData grid;
  NavigationGrid(grid, 1);
  grid.SetCell(1, 1, "only");
  grid.DataGridOptions = dgoInsertRow | dgoDeleteRow;
  KeyCtrlInsert(grid);  // without dgoAppendRow: nothing
  EXPECT_EQ(grid.RowCount(), 2);
  KeyCtrlDelete(grid);  // the only row is emptied
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.Cell(1, 1), "");
  grid.DataGridOptions |= dgoAppendRow;
  grid.SetCell(1, 1, "a");
  KeyCtrlInsert(grid);
  EXPECT_EQ(grid.RowCount(), 3);
  EXPECT_EQ(grid.Cell(1, 2), "a");
  EXPECT_EQ(grid.Row(), 1);
}

TEST(Navigation, FocusLeavesAHiddenColumn) {
  TDataGridData grid;
  NavigationGrid(grid, 1);
  grid.Columns()[1].SetWidth(-1);
  grid.SetCurrent(4, 1);
  FocusEntered(grid);
  EXPECT_EQ(grid.Col(), 2);
}

TEST(NumericRules, TypedCharacters) {
  TNumericRules currency{deCurrency, 2, 2, ',', 2};
  TNumericRules integer{deInteger, 3, 0, ',', 2};
  struct Case {
    const TNumericRules* rules;
    std::string text;
    int selStart, selLength;
    char typed;
    TKeyVerdict verdict;
  };
  const std::vector<Case> cases = {
      {&integer, "12", 2, 0, '3', TKeyVerdict::Accept},
      {&integer, "12", 2, 0, ',', TKeyVerdict::Refuse},
      {&integer, "12", 2, 0, 'e', TKeyVerdict::Refuse},
      {&integer, "12", 0, 0, '-', TKeyVerdict::Accept},
      {&integer, "12", 1, 0, '-', TKeyVerdict::Refuse},
      {&integer, "-12", 0, 0, '-', TKeyVerdict::Refuse},
      {&integer, "-12", 0, 1, '-', TKeyVerdict::ClearThenAccept},
      {&currency, "1", 1, 0, ',', TKeyVerdict::Accept},
      {&currency, "1,5", 3, 0, ',', TKeyVerdict::Refuse},
      {&currency, "1,5", 0, 3, ',', TKeyVerdict::ClearThenAccept},
      {&currency, "1,5", 3, 0, '7', TKeyVerdict::Accept},
      {&currency, "1,57", 4, 0, '7', TKeyVerdict::Refuse},
      {&currency, "1,57", 0, 0, '7', TKeyVerdict::Accept},
      {&currency, "1", 1, 0, 'e', TKeyVerdict::Accept},
      {&currency, "1", 1, 0, 'x', TKeyVerdict::Refuse},
      {&currency, "1", 1, 0, '.', TKeyVerdict::Refuse},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(NumericKeyVerdict(*c.rules, c.text, c.selStart, c.selLength, c.typed), c.verdict)
        << c.text << " + " << c.typed;
  }
}

TEST(NumericRules, ConfirmedValues) {
  TNumericRules integer{deInteger, 3, 0, ',', 2};
  TNumericRules floating{deFloat, 3, 4, ',', 2};
  TNumericRules currency{deCurrency, 2, 9, ',', 2};
  struct Case { const TNumericRules* rules; std::string text; bool ok; std::string accepted; };
  const std::vector<Case> cases = {
      {&integer, "", true, ""},          {&integer, "123", true, "123"},   {&integer, "1234", false, ""},
      {&integer, "-12", true, "-12"},    {&integer, "1,5", false, ""},     {&floating, "1,5", true, "1,5000"},
      {&floating, "123", true, "123,0000"}, {&floating, "1234", false, ""}, {&floating, "1,23456", false, ""},
      {&floating, ",5", true, "0,5000"}, {&floating, "1E5", false, ""},    {&floating, "-", false, ""},
      {&currency, "12,3", true, "12,30"}, {&currency, "12,345", false, ""}, {&currency, "1-2", false, ""},
  };
  for (const Case& c : cases) {
    std::string accepted = "untouched";
    EXPECT_EQ(ConfirmNumericText(*c.rules, c.text, accepted), c.ok) << c.text;
    if (c.ok) {
      EXPECT_EQ(accepted, c.accepted) << c.text;
    }
  }
}

TEST(Fitting, WidthTable) {
  struct Case {
    const char* name;
    std::vector<int> widths;
    int client, scrollBar, line;
    std::vector<int> expected;
  };
  const std::vector<Case> cases = {
      {"grows in proportion", {10, 40, 50, 50}, 210, 0, 0, {10, 40, 80, 80}},
      {"hidden and first columns keep", {10, 40, -1, 30, 10}, 150, 10, 1, {10, 40, -1, 64, 22}},
      {"equal stops", {10, 40, 50, 50}, 150, 0, 0, {10, 40, 50, 50}},
      {"one pixel goes to the last", {10, 40, 50, 50}, 151, 0, 0, {10, 40, 50, 51}},
      {"narrow ones get 15 and stay", {10, 10, 10, 100, 100}, 130, 0, 0, {10, 10, 15, 47, 48}},
      {"nothing adjustable", {10, 40}, 500, 0, 0, {10, 40}},
      {"rounding down, the last takes the rest", {10, 10, 33, 33, 34}, 130, 0, 0, {10, 10, 36, 36, 38}},
      {"three uneven", {10, 10, 7, 11, 13}, 120, 0, 1, {10, 10, 21, 33, 41}},
  };
  for (const Case& c : cases) {
    const std::vector<int> fitted = FitColumnWidths(c.widths, 1, c.client, c.scrollBar, c.line);
    EXPECT_EQ(fitted, c.expected) << c.name;
  }
}

TEST(Fitting, AdjustableWidthsAddUpToTheTarget) {
  for (int client = 60; client < 900; client += 7) {
    const std::vector<int> widths{10, 63, 52, 52, 49, 72, 54, 67, 83, 50, 74, 38, -1, -1, 87, -1, -1};
    const std::vector<int> fitted = FitColumnWidths(widths, 1, client, 0, 1);
    int used = 0;
    for (size_t i = 0; i < fitted.size(); ++i) {
      if (fitted[i] != -1) used += fitted[i] + 1;
      if (i > 1 && fitted[i] != -1) {
        EXPECT_GE(fitted[i], 15);
      }
    }
    if (client > 11 * 16 + 10 + 63 + 13) {
      EXPECT_EQ(used, client) << client;
    }
  }
}

TEST(Scaling, AdjustGridArithmetic) {
  int size = 0;
  double factor = 0;
  EXPECT_TRUE(ParseAdjustGrid("8 1.25", size, factor));
  EXPECT_EQ(size, 8);
  EXPECT_DOUBLE_EQ(factor, 1.25);
  EXPECT_TRUE(ParseAdjustGrid("9 1,5", size, factor));
  EXPECT_DOUBLE_EQ(factor, 1.5);
  for (const char* bad : {"", "8", "x 1.2", "8 y", "8  1.2", "-3 1", "8 1.2x"}) {
    EXPECT_FALSE(ParseAdjustGrid(bad, size, factor)) << bad;
  }
  EXPECT_EQ(ScaledFontSize(8, 1.25, 96), 10);
  EXPECT_EQ(ScaledFontSize(8, 0.5, 96), 8);    // never below s
  EXPECT_EQ(ScaledFontSize(8, 1.5, 192), 12);  // max(s, s*96/ppi) keeps s
  EXPECT_EQ(ScaledMaxSecondHeight(100, 0.6, 96), 60);
  EXPECT_EQ(ScaledMaxSecondHeight(100, 0.6, 120), 100);
  EXPECT_EQ(ScaledMaxSecondHeight(100, 0.3, 96), 50);
}

TEST(SecondLineHeight, GrowsSettlesAndClips) {
  bool clipped = true;
  EXPECT_EQ(SecondLineRowHeight(14, 17, 17, 100, clipped), 31);
  EXPECT_FALSE(clipped);
  EXPECT_EQ(SecondLineRowHeight(14, 17, 31, 100, clipped), 41);
  EXPECT_EQ(SecondLineRowHeight(14, 17, 41, 100, clipped), 41);
  EXPECT_EQ(SecondLineRowHeight(140, 17, 41, 100, clipped), 100);
  EXPECT_TRUE(clipped);
}

}  // namespace
}  // namespace sp

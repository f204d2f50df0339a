#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "datagrid/griddata.h"

namespace sp {
namespace {

// Three data rows "r1".."r3" in column 1, markers in column 0.
void FillRows(TDataGridData& grid, int rows) {
  grid.SetRowCount(rows + 1);
  for (int r = 1; r <= rows; ++r) {
    grid.SetCell(0, r, "d");
    grid.SetCell(1, r, "r" + std::to_string(r));
  }
}

std::vector<std::string> Column1(const TDataGridData& grid) {
  std::vector<std::string> texts;
  for (int r = grid.FixedRows(); r < grid.RowCount(); ++r) texts.push_back(grid.Cell(1, r));
  return texts;
}

TEST(GridData, NeverFewerThanTwoRows) {
  TDataGridData grid;
  EXPECT_EQ(grid.RowCount(), 5);
  EXPECT_EQ(grid.ColCount(), 5);
  EXPECT_EQ(grid.DefaultRowHeight(), 17);
  grid.SetFixedRows(3);
  grid.SetRowCount(0);
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.FixedRows(), 1);
}

TEST(GridData, RowCountMinRaisesAtOnceAndNegativeIsZero) {
  TDataGridData grid;
  grid.SetRowCount(2);
  grid.SetRowCountMin(8);
  EXPECT_EQ(grid.RowCount(), 8);
  grid.SetRowCountMin(-3);
  EXPECT_EQ(grid.RowCountMin(), 0);
}

TEST(GridData, SecondLineIsColumnMinusTwo) {
  TDataGridData grid;
  grid.SetSecondLine(1, "ignored while off");
  EXPECT_EQ(grid.Cell(-2, 1), "");
  grid.UseSecondLine = true;
  grid.SetRowHeight(1, 60);
  grid.SetCell(-2, 1, "eins\ndrei\r\nvier\r\n");
  EXPECT_EQ(grid.Cell(-2, 1), "eins\r\ndrei\r\nvier");
  EXPECT_EQ(grid.RowHeight(1), 60);
  grid.SetSecondLine(1, "");
  EXPECT_EQ(grid.Cell(-2, 1), "");
  EXPECT_EQ(grid.RowHeight(1), 17);
  grid.SecondLine = true;
  EXPECT_EQ(grid.RowHeight(1), 34);
  EXPECT_EQ(grid.RowHeight(0), 17);
}

TEST(GridData, MaxSecondHeightIsHeldWithin50And100) {
  TDataGridData grid;
  EXPECT_EQ(grid.MaxSecondHeight(), 100);
  for (const auto& [set, expected] : std::vector<std::pair<int, int>>{{30, 50}, {150, 100}, {75, 75}}) {
    grid.SetMaxSecondHeight(set);
    EXPECT_EQ(grid.MaxSecondHeight(), expected);
  }
}

TEST(GridData, BeforeSetcellOnlyForDecimalColumns) {
  TDataGridData grid;
  grid.Columns()[1].NumericKind = deInteger;
  grid.Columns()[2].NumericKind = deFloat;
  grid.Columns()[3].SetFieldName("Preis");  // deCurrency by default
  std::vector<std::string> seen;
  grid.OnBeforeSetcell = [&](int col, int row, std::string& value, const std::string& fieldName) {
    seen.push_back(fieldName + "=" + value);
    value += "!";
  };
  grid.SetCell(1, 1, "1");
  grid.SetCell(2, 1, "2");
  grid.SetCell(3, 1, "3");
  EXPECT_EQ(seen, (std::vector<std::string>{"TColumn-3=2", "Preis=3"}));
  EXPECT_EQ(grid.Cell(1, 1), "1");
  EXPECT_EQ(grid.Cell(3, 1), "3!");
}

TEST(GridData, AfterCellWriteOutsideBulkUpdatesFromColumnOne) {
  TDataGridData grid;
  std::vector<int> written;
  grid.OnAfterCellWrite = [&](int col, int row, const std::string&) { written.push_back(col); };
  grid.SetCell(0, 1, "d");
  grid.SetCell(2, 1, "x");
  grid.BeginUpdate();
  grid.SetCell(3, 1, "y");
  grid.EndUpdate();
  EXPECT_EQ(written, std::vector<int>{2});
}

TEST(GridData, EditorClosedWritesWhenDifferentAndTellsEquality) {
  TDataGridData grid;
  grid.Columns()[1].SetFieldName("sheet");
  grid.SetCell(1, 1, "Tabelle1");
  std::vector<std::string> edits;
  grid.OnAfterCellEdit = [&](int col, int row, const std::string& fieldName, bool equal) {
    edits.push_back(fieldName + (equal ? " equal" : " changed"));
  };
  grid.EditorClosed(1, 1, "Tabelle1");
  grid.EditorClosed(1, 1, "Tabelle2");
  EXPECT_EQ(edits, (std::vector<std::string>{"sheet equal", "sheet changed"}));
  EXPECT_EQ(grid.Cell(1, 1), "Tabelle2");
}

TEST(GridData, EditMaskPassesThroughOnGetEditMask) {
  TDataGridData grid;
  grid.Columns()[2].EditMask = "0";
  grid.OnGetEditMask = [](int col, int row, std::string& value) { value += "#"; };
  EXPECT_EQ(grid.EditMaskFor(2, 1), "0#");
}

TEST(GridData, AppendMakesTheNewRowCurrent) {
  TDataGridData grid;
  FillRows(grid, 2);
  grid.SetCurrent(3, 1);
  std::vector<std::string> events;
  grid.BeforeInsert = [&] { events.push_back("before " + std::to_string(grid.RowCount())); };
  grid.AfterInsert = [&] { events.push_back("after " + std::to_string(grid.RowCount())); };
  grid.AppendRow();
  EXPECT_EQ(events, (std::vector<std::string>{"before 3", "after 4"}));
  EXPECT_EQ(grid.Row(), 3);
  EXPECT_EQ(grid.Col(), 3);
}

TEST(GridData, InsertNeedsAppendAndInsertOptions) {
  TDataGridData grid;
  FillRows(grid, 3);
  grid.UseSecondLine = true;
  grid.SetSecondLine(2, "lang");
  grid.SetRowHeight(2, 40);
  grid.DataGridOptions = dgoInsertRow;
  EXPECT_FALSE(grid.InsertRow(2, false));
  EXPECT_EQ(grid.RowCount(), 4);
  grid.DataGridOptions = dgoAppendRow | dgoInsertRow;
  grid.SetCurrent(2, 3);
  EXPECT_TRUE(grid.InsertRow(2, false));
  EXPECT_EQ(Column1(grid), (std::vector<std::string>{"r1", "", "r2", "r3"}));
  EXPECT_EQ(grid.Cell(0, 2), "");
  EXPECT_EQ(grid.Cell(-2, 2), "");
  EXPECT_EQ(grid.RowHeight(2), 17);
  EXPECT_EQ(grid.Cell(-2, 3), "lang");  // moved with its row
  EXPECT_EQ(grid.RowHeight(3), 40);
  EXPECT_EQ(grid.Row(), 2);
  EXPECT_EQ(grid.Col(), 2);
}

TEST(GridData, DeleteRules) {
  struct Case {
    const char* name;
    int dataRows, rowCountMin, position;
    std::vector<std::string> expected;
    int currentRow;
  };
  const std::vector<Case> cases = {
      {"middle row goes, current moves up", 3, 0, 2, {"r1", "r3"}, 1},
      {"first row goes, current stays", 3, 0, 1, {"r2", "r3"}, 1},
      {"only row is emptied", 1, 0, 1, {""}, 1},
      {"RowCountMin 5 with 5 rows empties", 4, 5, 2, {"r1", "", "r3", "r4"}, 1},
      {"RowCountMin below the count deletes", 4, 3, 4, {"r1", "r2", "r3"}, 3},
  };
  for (const Case& c : cases) {
    TDataGridData grid;
    FillRows(grid, c.dataRows);
    grid.SetRowCountMin(c.rowCountMin);
    grid.DataGridOptions = dgoDeleteRow;
    grid.UseSecondLine = true;
    grid.SetSecondLine(c.position, "weg");
    EXPECT_TRUE(grid.DeleteRow(c.position, false)) << c.name;
    EXPECT_EQ(Column1(grid), c.expected) << c.name;
    EXPECT_EQ(grid.Row(), c.currentRow) << c.name;
  }
}

TEST(GridData, EmptyingKeepsTheMarker) {
  TDataGridData grid;
  FillRows(grid, 1);
  grid.DataGridOptions = dgoDeleteRow;
  grid.DeleteRow(1, false);
  EXPECT_EQ(grid.Cell(0, 1), "d");
  EXPECT_EQ(grid.Cell(1, 1), "");
}

TEST(GridData, DeleteNeedsTheOptionAndReportsFailures) {
  TDataGridData grid;
  FillRows(grid, 3);
  EXPECT_FALSE(grid.DeleteRow(2, false));
  EXPECT_EQ(grid.RowCount(), 4);
  grid.DataGridOptions = dgoDeleteRow;
  std::string message;
  grid.OnShowMessage = [&](const std::string& text) { message = text; };
  grid.BeforeDelete = [] { throw std::runtime_error("gesperrt"); };
  EXPECT_FALSE(grid.DeleteRow(2, false));
  EXPECT_EQ(message, "gesperrt");
  EXPECT_EQ(grid.RowCount(), 4);
  EXPECT_FALSE(grid.Updating());
}

TEST(GridData, ClearLeavesOneEmptyRowAtColumnOne) {
  TDataGridData grid;
  FillRows(grid, 4);
  grid.SetRowHeight(2, 50);
  grid.SetCurrent(3, 4);
  grid.Clear();
  EXPECT_EQ(grid.RowCount(), 2);
  EXPECT_EQ(grid.Cell(0, 1), "");
  EXPECT_EQ(grid.Cell(1, 1), "");
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 1);
  grid.SetRowCount(3);
  EXPECT_EQ(grid.RowHeight(2), 17);
}

TEST(GridData, MoveRowTakesCellsSecondLineAndHeight) {
  TDataGridData grid;
  FillRows(grid, 3);
  grid.UseSecondLine = true;
  grid.SetSecondLine(1, "erste");
  grid.SetRowHeight(1, 44);
  grid.MoveRow(1, 3);
  EXPECT_EQ(Column1(grid), (std::vector<std::string>{"r2", "r3", "r1"}));
  EXPECT_EQ(grid.Cell(-2, 3), "erste");
  EXPECT_EQ(grid.RowHeight(3), 44);
}

class CountingListener : public TDataGridListener {
 public:
  void GridChanged() override { ++changes; }
  void CellChanged(int, int) override { ++cells; }
  int changes = 0, cells = 0;
};

TEST(GridData, BulkUpdateHoldsBackTheListenerAndCanMoveToStart) {
  TDataGridData grid;
  CountingListener listener;
  grid.SetListener(&listener);
  grid.SetCurrent(3, 3);
  grid.BeginUpdate();
  grid.BeginUpdate();
  grid.SetCell(1, 1, "a");
  grid.SetRowCount(9);
  grid.EndUpdate();
  EXPECT_EQ(listener.changes + listener.cells, 0);
  grid.EndUpdate(true);
  EXPECT_EQ(listener.changes, 1);
  EXPECT_EQ(listener.cells, 0);
  EXPECT_EQ(grid.Col(), 1);
  EXPECT_EQ(grid.Row(), 1);
  grid.SetCell(1, 1, "b");
  EXPECT_EQ(listener.cells, 1);
}

TEST(GridData, LoadedRaisesOnAfterloading) {
  TDataGridData grid;
  bool raised = false;
  grid.OnAfterloading = [&] { raised = !grid.IsLoading(); };
  grid.Loading();
  EXPECT_TRUE(grid.IsLoading());
  grid.Loaded();
  EXPECT_TRUE(raised);
}

}  // namespace
}  // namespace sp

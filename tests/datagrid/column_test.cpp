#include <gtest/gtest.h>

#include "datagrid/griddata.h"

namespace sp {
namespace {

TEST(Column, DefaultsFollowTheGrid) {
  TDataGridData grid;
  ASSERT_EQ(grid.Columns().Count(), 5);
  const TColumn& column = grid.Columns()[2];
  EXPECT_EQ(column.FieldName(), "TColumn-3");
  EXPECT_EQ(column.InternalCol(), 2);
  EXPECT_EQ(column.Width(), 10);
  EXPECT_EQ(column.Format(), cfString);
  EXPECT_EQ(column.NumericKind, deCurrency);
  EXPECT_EQ(column.NumericPrecision, 2);
  EXPECT_EQ(column.NumericDigits, 2);
  EXPECT_TRUE(column.ButtonExists);
  EXPECT_EQ(column.DropDownRows, 7u);
  EXPECT_TRUE(column.LimitToList);
  EXPECT_EQ(column.Title().Caption(), "");
  EXPECT_EQ(column.Title().Alignment(), taLeftJustify);
  EXPECT_FALSE(column.ReadOnly());

  grid.Look().Editing = false;
  grid.Look().Color = RGBColor(1, 2, 3);
  grid.Look().Font.Name = "Arial";
  EXPECT_TRUE(column.ReadOnly());
  EXPECT_EQ(column.Color(), RGBColor(1, 2, 3));
  EXPECT_EQ(column.Font().Name, "Arial");
  EXPECT_EQ(column.Title().Font().Name, "Arial");
  EXPECT_FALSE(column.ReadOnlyAssigned() || column.ColorAssigned() || column.FontAssigned());
}

TEST(Column, AssignedValuesStopFollowingTheGrid) {
  TDataGridData grid;
  TColumn& column = grid.Columns()[1];
  column.SetReadOnly(false);
  column.SetColor(15138815);
  grid.Look().Editing = false;
  grid.Look().Color = clRed;
  EXPECT_FALSE(column.ReadOnly());
  EXPECT_EQ(column.Color(), 15138815u);
  EXPECT_TRUE(column.ReadOnlyAssigned() && column.ColorAssigned());
}

TEST(Column, WidthRules) {
  struct Case { int set, expected; };
  for (const Case c : {Case{5, 10}, Case{0, 10}, Case{9, 10}, Case{10, 10}, Case{63, 63}, Case{-1, -1}, Case{-7, -1}}) {
    TDataGridData grid;
    grid.Columns()[1].SetWidth(c.set);
    EXPECT_EQ(grid.Columns()[1].Width(), c.expected) << c.set;
  }
}

TEST(Column, BlankFieldNameFallsBackAndFormatEmptiesDisplayMask) {
  TDataGridData grid;
  TColumn& column = grid.Columns()[3];
  column.SetFieldName("  \t");
  EXPECT_EQ(column.FieldName(), "TColumn-4");
  column.SetFieldName(" Preis ");
  EXPECT_EQ(column.FieldName(), " Preis ");
  EXPECT_EQ(column.DisplayName(), "Preis");
  column.DisplayMask = "0.00";
  column.SetFormat(cfNumber);
  EXPECT_EQ(column.DisplayMask, "");
}

TEST(Column, AssignCopiesPropertiesAndFlags) {
  TDataGridData grid;
  TColumn& source = grid.Columns()[1];
  source.SetFieldName("Stueck");
  source.SetFormat(cfNumber);
  source.EditMask = "0.###";
  source.PickList = {"8 %", "16 %"};
  source.SetAlignment(taRightJustify);
  source.Title().SetCaption("St\xFC" "ck");
  source.SetWidth(34);
  TColumn& target = grid.Columns()[2];
  target.Assign(source);
  EXPECT_EQ(target.FieldName(), "Stueck");
  EXPECT_EQ(target.Format(), cfNumber);
  EXPECT_EQ(target.EditMask, "0.###");
  EXPECT_EQ(target.PickList, source.PickList);
  EXPECT_EQ(target.Alignment(), taRightJustify);
  EXPECT_TRUE(target.AlignmentAssigned());
  EXPECT_TRUE(target.Title().CaptionAssigned());
  EXPECT_EQ(target.Title().Caption(), "St\xFC" "ck");
  EXPECT_EQ(target.Width(), 34);
  EXPECT_EQ(target.InternalCol(), 2);
  grid.Look().Font.Name = "Verdana";  // unassigned font still follows this grid
  EXPECT_EQ(target.Font().Name, "Verdana");
}

TEST(Columns, CountFollowsTheGridAndLookupIgnoresCase) {
  TDataGridData grid;
  grid.SetColCount(3);
  EXPECT_EQ(grid.Columns().Count(), 3);
  TColumn& added = grid.Columns().Add();
  EXPECT_EQ(grid.ColCount(), 4);
  EXPECT_EQ(added.FieldName(), "TColumn-4");
  added.SetFieldName("St\xFC" "ck");
  grid.Columns()[2].SetFieldName("Pos.");
  grid.Columns()[1].SetFieldName("pos.");
  EXPECT_EQ(grid.IndexOfField("POS."), 1);  // first match wins
  EXPECT_EQ(grid.IndexOfField("ST\xDC" "CK"), 3);
  EXPECT_EQ(grid.IndexOfField("Pos"), -1);
  grid.SetCell(3, 1, "x");
  grid.SetColCount(2);
  grid.SetColCount(4);
  EXPECT_EQ(grid.Cell(3, 1), "");  // removed columns take their cells along
  EXPECT_EQ(grid.Columns()[3].FieldName(), "TColumn-4");
}

TEST(Columns, MovingAColumnMovesItsCells) {
  TDataGridData grid;
  grid.Columns()[1].SetFieldName("a");
  grid.Columns()[3].SetFieldName("c");
  grid.SetCell(1, 1, "A");
  grid.SetCell(3, 1, "C");
  grid.MoveColumn(3, 1);
  EXPECT_EQ(grid.Columns()[1].FieldName(), "c");
  EXPECT_EQ(grid.Columns()[2].FieldName(), "a");
  EXPECT_EQ(grid.Cell(1, 1), "C");
  EXPECT_EQ(grid.Cell(2, 1), "A");
}

}  // namespace
}  // namespace sp

#include <gtest/gtest.h>

#include "support/symbolset.h"

namespace sp {
namespace {

TEST(SymbolSet, DefaultSetMakesNineColumnsAndSevenRows) {
  const std::string set = DefaultSymbolSet();
  EXPECT_EQ(set.size(), 68u);
  const std::vector<std::string> cells = SymbolCells(set);
  ASSERT_EQ(cells.size(), 62u);
  EXPECT_EQ(cells.front(), "\x84");
  EXPECT_EQ(cells[52], "m\xB2");
  EXPECT_EQ(cells[53], "m\xB3");
  EXPECT_EQ(cells.back(), "\xD8");
  const TSymbolGridShape shape = SymbolGridShape(set, cells.size());
  EXPECT_EQ(shape.Columns, 9);
  EXPECT_EQ(shape.Rows, 7);
}

TEST(SymbolSet, BracketGroups) {
  struct Case {
    const char* text;
    std::vector<std::string> cells;
  };
  const Case cases[] = {
      {"ab", {"a", "b"}},
      {"(m\xB2)x", {"m\xB2", "x"}},
      {"()x", {"x"}},
      {"x(abc", {"x", "(", "a", "b", "c"}},
      {"a)b", {"a", ")", "b"}},
      {"((a))", {"(a", ")"}},
      {"", {}},
  };
  for (const Case& c : cases) EXPECT_EQ(SymbolCells(c.text), c.cells) << c.text;
}

TEST(SymbolSet, GridShapes) {
  struct Case {
    const char* text;
    int columns;
    int rows;
  };
  const Case cases[] = {{"a", 1, 1}, {"abcd", 2, 2}, {"abcde", 3, 2}, {"(ab)(cd)(ef)", 4, 1}, {"abcdefghij", 4, 3}};
  for (const Case& c : cases) {
    const TSymbolGridShape shape = SymbolGridShape(c.text, SymbolCells(c.text).size());
    EXPECT_EQ(shape.Columns, c.columns) << c.text;
    EXPECT_EQ(shape.Rows, c.rows) << c.text;
  }
}

TEST(SymbolSet, CellSizeAndWindowSize) {
  EXPECT_EQ(ClampSymbolCellSize(10), 20);
  EXPECT_EQ(ClampSymbolCellSize(80), 50);
  EXPECT_EQ(ClampSymbolCellSize(30), 30);
  const TSymbolDialogSize size = SymbolDialogSize({9, 7}, 30, 1, 41);
  EXPECT_EQ(size.Width, 31 * 10 + 10);
  EXPECT_EQ(size.Height, 31 * 8 + 41 + 15);
}

}  // namespace
}  // namespace sp

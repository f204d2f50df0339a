#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "datagrid/widget/datagrid.h"
#include "platform/stream.h"
#include "support/formatting.h"

namespace sp {
namespace {

QApplication& App() {
  static int argc = 1;
  static char name[] = "datagrid_widget_tests";
  static char* argv[] = {name, nullptr};
  // Never destroyed: tearing Qt down among the static destructors crashes.
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// A shown grid with column 0 and five wide columns, two data rows.
class GridTest : public ::testing::Test {
 protected:
  void SetUp() override {
    grid.Data().SetColCount(6);
    grid.Data().SetRowCount(3);
    for (int c = 1; c < 6; ++c) {
      grid.Columns()[c].SetWidth(60);
      grid.Columns()[c].SetFieldName("f" + std::to_string(c));
    }
    grid.Data().OnShowMessage = [this](const std::string& text) { messages.push_back(text); };
    grid.resize(500, 200);
    grid.show();
    QApplication::setActiveWindow(&grid);
    grid.setFocus();
    QApplication::processEvents();
  }

  void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &grid;
    QTest::keyClick(target, static_cast<Qt::Key>(key), modifiers);
    QApplication::processEvents();
  }
  // One key at a time, each to the widget that has the focus then, as a user's keys go.
  void Type(const char* text) {
    for (const char* c = text; *c; ++c) {
      QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &grid;
      QTest::keyClick(target, *c);
      QApplication::processEvents();
    }
  }

  QApplication& app = App();  // before any widget
  TDataGrid grid;
  std::vector<std::string> messages;
};

TEST_F(GridTest, EnterInTheLastColumnOfTheLastRowAppendsAndMovesIn) {
  grid.Data().DataGridOptions = dgoAppendRow;
  grid.Data().SetCurrent(4, 2);
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Data().Col(), 5);
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Data().RowCount(), 4);
  EXPECT_EQ(grid.Data().Row(), 3);
  EXPECT_EQ(grid.Data().Col(), 1);
  EXPECT_EQ(grid.model()->rowCount(), 3);
  EXPECT_EQ(grid.currentIndex().row(), 2);
  EXPECT_EQ(grid.currentIndex().column(), 1);
}

TEST_F(GridTest, CtrlDeleteEmptiesTheOnlyRowAndCtrlInsertNeedsAppend) {
  grid.Data().SetRowCount(2);
  grid.Data().SetCell(1, 1, "x");
  grid.Data().DataGridOptions = dgoDeleteRow | dgoInsertRow;
  grid.Data().SetCurrent(1, 1);
  Key(Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(grid.Data().RowCount(), 2);
  Key(Qt::Key_Delete, Qt::ControlModifier);
  EXPECT_EQ(grid.Data().RowCount(), 2);
  EXPECT_EQ(grid.Data().Cell(1, 1), "");
  grid.Data().DataGridOptions |= dgoAppendRow;
  Key(Qt::Key_Insert, Qt::ControlModifier);
  EXPECT_EQ(grid.Data().RowCount(), 3);
}

TEST_F(GridTest, DownInTheLastRowAppendsAndHiddenColumnsAreSkipped) {
  grid.Data().DataGridOptions = dgoAppendRow;
  grid.Columns()[2].SetWidth(-1);
  EXPECT_TRUE(grid.isColumnHidden(2));
  grid.Data().SetCurrent(1, 2);
  Key(Qt::Key_Right);
  EXPECT_EQ(grid.Data().Col(), 3);
  Key(Qt::Key_Down);
  EXPECT_EQ(grid.Data().RowCount(), 4);
  EXPECT_EQ(grid.Data().Row(), 3);
  Key(Qt::Key_End);
  EXPECT_EQ(grid.Data().Col(), 5);
}

TEST_F(GridTest, TypingOpensTheEditorAndEnterStoresAndMovesOn) {
  std::vector<std::string> edits;
  grid.Data().OnAfterCellEdit = [&](int col, int row, const std::string& fieldName, bool equal) {
    edits.push_back(fieldName + (equal ? "=" : "*"));
  };
  grid.Data().SetCurrent(2, 1);
  grid.Data().SetCell(2, 1, "alt");
  Type("Neu");
  ASSERT_NE(grid.ActiveEditor(), nullptr);
  EXPECT_EQ(grid.ActiveEditor()->Text(), "Neu");
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.ActiveEditor(), nullptr);
  EXPECT_EQ(grid.Data().Cell(2, 1), "Neu");
  EXPECT_EQ(grid.Data().Col(), 3);
  Key(Qt::Key_F2);
  ASSERT_NE(grid.ActiveEditor(), nullptr);
  Type("x");
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.Data().Cell(3, 1), "");
  EXPECT_EQ(edits, (std::vector<std::string>{"f2*", "f3="}));
}

TEST_F(GridTest, EditorIsChosenPerCellAndHandedToOnEditorPrepared) {
  grid.Columns()[1].SetFormat(cfNumber);
  grid.Columns()[2].SetFormat(cfdblocate);
  grid.Columns()[3].SetFormat(cfcombo);
  grid.Columns()[3].PickList = {"8 %", "16 %"};
  std::vector<std::string> prepared;
  grid.OnEditorPrepared = [&](TInplaceEditControl& editor, TColumn& column, int col, int row) {
    prepared.push_back(column.FieldName() + " " + editor.Widget()->toolTip().toStdString());
    if (column.FieldName() != "f3") editor.SetReadOnly(true);
  };
  int comboSettings = 0;
  grid.OnBeforeComboEditorSettings = [&](int, int, TI_InplaceComboEdit& combo) { comboSettings = combo.count(); };
  struct Case { int col; bool isFloat, isGrid, isCombo; };
  for (const Case& c : {Case{1, true, false, false}, Case{2, false, true, false}, Case{3, false, false, true},
                        Case{4, false, false, false}}) {
    grid.Data().SetCurrent(c.col, 1);
    grid.OpenEditor();
    ASSERT_NE(grid.ActiveEditor(), nullptr);
    QWidget* widget = grid.ActiveEditor()->Widget();
    EXPECT_EQ(dynamic_cast<TI_InplaceFloatEdit*>(widget) != nullptr, c.isFloat) << c.col;
    EXPECT_EQ(dynamic_cast<TI_InplaceGridEdit*>(widget) != nullptr, c.isGrid) << c.col;
    EXPECT_EQ(dynamic_cast<TI_InplaceComboEdit*>(widget) != nullptr, c.isCombo) << c.col;
    EXPECT_EQ(widget->palette().color(QPalette::Base), QColor(213, 213, 213));
    grid.CloseEditor(true);
  }
  EXPECT_EQ(prepared, (std::vector<std::string>{"f1 Numerische Daten", "f2 F2 F3", "f3 F2", "f4 Beliebige Daten"}));
  EXPECT_EQ(comboSettings, 2);
  grid.Data().SetCurrent(4, 1);
  Type("abc");  // read-only editor: typing changes nothing
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Data().Cell(4, 1), "");
}

TEST_F(GridTest, NumericEditorFiltersAndPadsDecimals) {
  TColumn& column = grid.Columns()[1];
  column.SetFormat(cfNumber);
  column.NumericKind = deFloat;
  column.NumericDigits = 3;
  column.NumericPrecision = 3;
  grid.Data().SetCurrent(1, 1);
  Type("1x,5");
  ASSERT_NE(grid.ActiveEditor(), nullptr);
  EXPECT_EQ(grid.ActiveEditor()->Text(), "1,5");
  Key(Qt::Key_Return);
  EXPECT_EQ(grid.Data().Cell(1, 1), "1,500");

  grid.Data().SetCurrent(1, 2);
  Type("12345");  // five digits before the separator: refused on confirmation
  Key(Qt::Key_Return);
  EXPECT_NE(grid.ActiveEditor(), nullptr);
  EXPECT_EQ(grid.Data().Cell(1, 2), "");
  Key(Qt::Key_Escape);
  EXPECT_EQ(grid.ActiveEditor(), nullptr);
}

TEST_F(GridTest, EditorPassesArrowKeysAtTheTextEdges) {
  grid.Data().SetCurrent(2, 1);
  Type("ab");
  Key(Qt::Key_Left);  // caret inside the text: stays in the editor
  ASSERT_NE(grid.ActiveEditor(), nullptr);
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);  // caret at the end: the grid moves on
  EXPECT_EQ(grid.ActiveEditor(), nullptr);
  EXPECT_EQ(grid.Data().Cell(2, 1), "ab");
  EXPECT_EQ(grid.Data().Col(), 3);
}

TEST_F(GridTest, ComboIgnoresDeleteKeysWhileButtonExists) {
  grid.Columns()[1].SetFormat(cfcombo);
  grid.Data().SetCell(1, 1, "16 %");
  grid.Data().SetCurrent(1, 1);
  grid.OpenEditor();
  ASSERT_NE(grid.ActiveEditor(), nullptr);
  Key(Qt::Key_Backspace);
  Key(Qt::Key_Delete);
  EXPECT_EQ(grid.ActiveEditor()->Text(), "16 %");
  grid.CloseEditor(false);
  grid.Columns()[1].ButtonExists = false;
  grid.OpenEditor();
  Key(Qt::Key_Backspace);
  EXPECT_EQ(grid.ActiveEditor()->Text(), "");
}

TEST_F(GridTest, F2InALocateCellAsksForTheExternalEditor) {
  grid.Columns()[2].SetFormat(cfdblocate);
  grid.Data().SetCell(2, 2, "A,B");
  auto dataSet = std::make_shared<int>(7);
  grid.SetEditorDataSet(dataSet);
  std::string seen;
  std::string appended;
  grid.OnAppendRecord = [&](int col, int row, const std::string& text, const std::shared_ptr<void>& set) {
    appended = text + (set ? " with set" : "");
  };
  grid.OnExternalDBGridEditor = [&](const std::string& text, const std::string& fieldName, int col, int row, QPoint,
                                    const std::function<void(const std::string&)>& appendRecord,
                                    const std::shared_ptr<void>& set) {
    seen = text + "|" + fieldName + "|" + std::to_string(col) + "," + std::to_string(row);
    appendRecord("neu");
    throw std::runtime_error("ignored");
  };
  grid.Data().SetCurrent(2, 2);
  grid.OpenEditor();
  Key(Qt::Key_F2);
  QApplication::processEvents();
  EXPECT_EQ(seen, "A,B|f2|2,2");
  EXPECT_EQ(appended, "neu with set");
  dataSet.reset();
  EXPECT_EQ(grid.EditorDataSet(), nullptr);
}

TEST_F(GridTest, F4OpensTheSecondLineEditorAndF8StoresIt) {
  grid.Data().UseSecondLine = true;
  grid.Data().SetCurrent(1, 1);
  Type("a");
  Key(Qt::Key_F4);
  ASSERT_TRUE(grid.SecondLineEditorOpen());
  EXPECT_GT(grid.Data().RowHeight(1), grid.Data().DefaultRowHeight());
  EXPECT_EQ(grid.Data().Cell(1, 1), "a");  // the cell editor was closed first
  Type("Zeile");
  Key(Qt::Key_Return);
  Type("zwei");
  Key(Qt::Key_F8);
  EXPECT_FALSE(grid.SecondLineEditorOpen());
  EXPECT_EQ(grid.Data().Cell(-2, 1), "Zeile\r\nzwei");
}

TEST_F(GridTest, SecondLineEditorNeedsUseSecondLine) {
  grid.Data().SetCurrent(1, 1);
  Type("a");
  Key(Qt::Key_F4);
  EXPECT_FALSE(grid.SecondLineEditorOpen());
}

TEST_F(GridTest, FittingFillsTheClientWidthExactly) {
  grid.Columns()[3].SetWidth(-1);
  for (const int width : {300, 517, 800}) {
    grid.resize(width, 200);
    QApplication::processEvents();
    grid.FitColumnsToClientWidth();
    int used = 0;
    for (int c = 0; c < grid.Data().ColCount(); ++c) {
      if (!grid.isColumnHidden(c)) used += grid.columnWidth(c);
      if (!grid.isColumnHidden(c)) {
        EXPECT_EQ(grid.columnWidth(c), grid.Columns()[c].Width());
      }
    }
    const int scrollBar = grid.verticalScrollBar()->isVisible() ? 0 : grid.style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    EXPECT_EQ(used, grid.viewport()->width() - scrollBar) << width;
    EXPECT_EQ(grid.Columns()[1].Width(), 60);  // not adjustable
  }
}

TEST_F(GridTest, FittingWaitsWhileLoading) {
  grid.Data().Loading();
  grid.FitColumnsToClientWidth();
  EXPECT_EQ(grid.Columns()[2].Width(), 60);
  grid.Data().Loaded();
  grid.FitColumnsToClientWidth();
  EXPECT_NE(grid.Columns()[2].Width(), 60);
}

TEST_F(GridTest, AdjustGridScalesFontsAndIgnoresBadValues) {
  grid.SetAdjustGrid("8 1.25");
  const int expected = grid.logicalDpiY() > 0 ? std::max(8, static_cast<int>(1.25 * std::max(8, 8 * 96 / grid.logicalDpiY()))) : 10;
  EXPECT_EQ(grid.Columns()[2].Font().Size, expected);
  EXPECT_EQ(grid.Columns()[2].Title().Font().Size, expected);
  EXPECT_EQ(grid.Data().SecondFont.Size, expected);
  const int rowHeight = grid.Data().DefaultRowHeight();
  EXPECT_GT(rowHeight, 8);
  grid.SetAdjustGrid("acht 1");
  EXPECT_EQ(grid.Columns()[2].Font().Size, expected);
  grid.SetGlobalFontName("Verdana");
  EXPECT_EQ(grid.Columns()[4].Font().Name, "Verdana");
  EXPECT_EQ(grid.Columns()[4].Title().Font().Name, "Verdana");
  EXPECT_EQ(grid.Data().SecondFont.Name, "Verdana");
  EXPECT_EQ(grid.Columns()[4].Font().Size, expected);
}

TEST_F(GridTest, LoadingAStreamResetsTheView) {
  grid.Columns()[1].SetFieldName("Bezeichnung1");
  grid.Columns()[1].Title().SetCaption("Bez");
  TMemoryStream stream(
      "\"@@DATADEF START@@\"\r\n\"TColumn-1\"\r\n\"Bezeichnung1\"\r\n\"@@DATADEF END@@\"\r\n\"c\"\r\n"
      "\"*\",\"Schraube\"\r\n\"\",\"Mutter\"\r\n\"\",\"Ring\"\r\n");
  ASSERT_TRUE(grid.Data().LoadFromStream(stream));
  EXPECT_EQ(grid.model()->rowCount(), 3);
  EXPECT_EQ(grid.model()->index(1, 1).data().toString(), QString::fromLatin1("Mutter"));
  EXPECT_EQ(grid.model()->headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QString::fromLatin1("Bez"));
  EXPECT_FALSE(grid.RowDragImage(1).isNull());
}

TEST_F(GridTest, ReadOnlyGridOpensEditorsReadOnlyAndFreezesLayout) {
  grid.Data().ReadOnly = true;
  grid.Data().ColMoving = true;
  grid.Columns()[1].SetWidth(61);  // any column change lays the grid out again
  EXPECT_FALSE(grid.horizontalHeader()->sectionsMovable());
  EXPECT_EQ(grid.horizontalHeader()->sectionResizeMode(1), QHeaderView::Fixed);
  grid.Data().SetCurrent(1, 1);
  grid.OpenEditor();
  ASSERT_NE(grid.ActiveEditor(), nullptr);
  EXPECT_TRUE(grid.ActiveEditor()->ReadOnly());
}

}  // namespace
}  // namespace sp

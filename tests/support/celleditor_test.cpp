#include <QApplication>
#include <QClipboard>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTest>
#include <gtest/gtest.h>

#include "gui_app.h"
#include "scratch_folder.h"
#include "support/settings.h"
#include "support/symbolset.h"
#include "support/ui/celleditor.h"
#include "support/ui/qtext.h"
#include "support/ui/symboldlg.h"
#include "support/ui/textpopupmenu.h"

namespace sp {
namespace {

TEditor* Editor(QWidget* modal) {
  auto* editor = qobject_cast<TEditor*>(modal);
  EXPECT_NE(editor, nullptr);
  // The initial input is applied once the showing has settled.
  QApplication::processEvents();
  return editor;
}

class CellEditorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model_.setRowCount(3);
    model_.setColumnCount(3);
    grid_.setModel(&model_);
    grid_.resize(400, 300);
    grid_.show();
  }
  QStandardItemModel model_;
  QTableView grid_;
};

TEST_F(CellEditorTest, TypedCharacterIsAppliedAtTheSelection) {
  struct Case {
    int start;
    int length;
    char16_t typed;
    const char* expected;
  };
  const Case cases[] = {{3, 0, u'x', "abcx"}, {0, 3, u'x', "x"}, {1, 1, u'\u00FC', "a\xFC" "c"}, {1, 1, 0, "abc"},
                        {9, 9, u'x', "abcx"}};
  for (const Case& c : cases) {
    std::string text = "abc";
    WhenModalShown([&](QWidget* modal) {
      TEditor* editor = Editor(modal);
      EXPECT_EQ(editor->InputText(), c.expected);
      QTest::keyClick(editor->RE, Qt::Key_Return);
    });
    EXPECT_TRUE(EditGridCell(&grid_, text, "", c.length, c.start, c.typed, 1, 1));
    EXPECT_EQ(text, c.expected);
  }
}

TEST_F(CellEditorTest, CancelKeepsTheTextEvenAfterEdits) {
  struct Case {
    const char* what;
    std::function<void(TEditor*)> cancel;
  };
  const Case cases[] = {
      {"Escape in the input", [](TEditor* e) { QTest::keyClick(e->RE, Qt::Key_Escape); }},
      {"Escape on a button", [](TEditor* e) { QTest::keyClick(e->FOK, Qt::Key_Escape); }},
      {"Abbruch", [](TEditor* e) { QTest::mouseClick(e->FCANCEL, Qt::LeftButton); }},
  };
  for (const Case& c : cases) {
    std::string text = "alt";
    WhenModalShown([&](QWidget* modal) {
      TEditor* editor = Editor(modal);
      QTest::keyClicks(editor->RE, "neu");
      EXPECT_EQ(editor->InputText(), "altneu");
      c.cancel(editor);
    });
    EXPECT_FALSE(EditGridCell(&grid_, text, "", 0, 3, 0, 0, 0)) << c.what;
    EXPECT_EQ(text, "alt") << c.what;
  }
}

TEST_F(CellEditorTest, OpensBelowTheCellAndFertigConfirms) {
  std::string text = "5";
  QPoint shownAt;
  WhenModalShown([&](QWidget* modal) {
    TEditor* editor = Editor(modal);
    shownAt = editor->pos();
    EXPECT_TRUE(editor->windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_EQ(editor->Help->HTMLText(), "Geben Sie Ihre Daten ein:");
    EXPECT_TRUE(editor->RE->font().bold());
    QTest::mouseClick(editor->FOK, Qt::LeftButton);
  });
  EXPECT_TRUE(EditGridCell(&grid_, text, "", 0, 0, 0, 2, 1));
  const QRect cell = grid_.visualRect(model_.index(2, 1));
  EXPECT_EQ(shownAt, grid_.viewport()->mapToGlobal(
                         QPoint(cell.left(), cell.top() + grid_.verticalHeader()->defaultSectionSize())));
}

TEST_F(CellEditorTest, OpensBelowAGivenCellRectangle) {
  std::string text = "7";
  QPoint shownAt;
  WhenModalShown([&](QWidget* modal) {
    shownAt = Editor(modal)->pos();
    QTest::keyClick(Editor(modal)->RE, Qt::Key_Escape);
  });
  EXPECT_FALSE(EditGridCellAt(grid_.viewport(), QRect(40, 60, 80, 20), 24, text, "", 0, 0, 0));
  EXPECT_EQ(shownAt, grid_.viewport()->mapToGlobal(QPoint(40, 84)));
}

TEST_F(CellEditorTest, HelpLinksInsertTheirTargetAndTheHelpGrowsTheWindow) {
  std::string text = "Spalte X";
  int grownBy = 0;
  WhenModalShown([&](QWidget* modal) {
    TEditor* editor = Editor(modal);
    TEditor plain;
    grownBy = editor->height() - plain.height();
    emit editor->Help->linkActivated(QStringLiteral("B"));
    QTest::keyClick(editor->RE, Qt::Key_Enter);
  });
  const std::string help = "Spalte:<br><a href=\"A\">A</a><br><a href=\"B\">B</a><br>oder Zahl";
  EXPECT_TRUE(EditGridCell(&grid_, text, help, 1, 7, 0, 0, 2));
  EXPECT_EQ(text, "Spalte B");
  EXPECT_GT(grownBy, 0);
}

class SymbolTest : public ::testing::Test {
 protected:
  std::string Folder() const { return scratch_.Path(); }
  TScratchFolder scratch_;
};

TEST_F(SymbolTest, DefaultSetGivesNineColumnsSevenRowsAndIsWrittenBack) {
  TSymbolDlg dialog(nullptr, Folder());
  std::string chosen;
  dialog.OnSymbolChosen = [&](const std::string& symbol) { chosen = symbol; };
  WhenModalShown([&](QWidget*) {
    EXPECT_EQ(dialog.Grid->columnCount(), 9);
    EXPECT_EQ(dialog.Grid->rowCount(), 7);
    EXPECT_EQ(dialog.Grid->columnWidth(0), 30);
    EXPECT_EQ(dialog.Grid->rowHeight(0), 30);
    EXPECT_EQ(dialog.size(), QSize(31 * 10 + 10, 31 * 8 + 41 + 15));
    EXPECT_EQ(dialog.SymbolAt(5, 7), "m\xB2");
    dialog.Grid->setCurrentCell(5, 7);
    QTest::keyClick(dialog.Grid, Qt::Key_F3);
  });
  EXPECT_EQ(dialog.exec(), QDialog::Accepted);
  EXPECT_EQ(chosen, "m\xB2");
  EXPECT_EQ(ReadUserModeInteger("TSymbolDlg.Grid.XY", 0, Folder()), 30);
  EXPECT_EQ(ReadUserModeString("TSymbolDlg.ASCII.Chars", "", Folder()), DefaultSymbolSet());
}

TEST_F(SymbolTest, CellSizeIsClampedAndOwnSymbolsAreUsed) {
  struct Case {
    int stored;
    int cell;
  };
  WriteUserModeString("TSymbolDlg.ASCII.Chars", "(ab)c\x80", Folder());
  for (const Case c : {Case{10, 20}, Case{80, 50}, Case{35, 35}}) {
    WriteUserModeInteger("TSymbolDlg.Grid.XY", c.stored, Folder());
    TSymbolDlg dialog(nullptr, Folder());
    WhenModalShown([&](QWidget*) {
      EXPECT_EQ(dialog.Grid->columnWidth(0), c.cell);
      EXPECT_EQ(dialog.Grid->columnCount(), 3);  // six bytes
      EXPECT_EQ(dialog.SymbolAt(0, 0), "ab");
      EXPECT_EQ(dialog.SymbolAt(0, 2), "\x80");
      QTest::keyClick(dialog.Grid, Qt::Key_Escape);
    });
    EXPECT_EQ(dialog.exec(), QDialog::Rejected);
  }
}

TEST_F(SymbolTest, EnterDoubleClickAndFertigChoose) {
  struct Case {
    const char* what;
    std::function<void(TSymbolDlg&)> act;
    const char* expected;
  };
  const Case cases[] = {
      {"Enter", [](TSymbolDlg& d) { QTest::keyClick(d.Grid, Qt::Key_Return); }, "\x84"},
      {"Fertig", [](TSymbolDlg& d) { QTest::mouseClick(d.fok, Qt::LeftButton); }, "\x84"},
      {"double-click", [](TSymbolDlg& d) { emit d.Grid->cellDoubleClicked(0, 0); }, "\x84"},
      {"Abbruch", [](TSymbolDlg& d) { QTest::mouseClick(d.FCancel, Qt::LeftButton); }, ""},
  };
  for (const Case& c : cases) {
    TSymbolDlg dialog(nullptr, Folder());
    std::string chosen;
    dialog.OnSymbolChosen = [&](const std::string& symbol) { chosen = symbol; };
    WhenModalShown([&](QWidget*) { c.act(dialog); });
    dialog.exec();
    EXPECT_EQ(chosen, c.expected) << c.what;
  }
}

TEST_F(SymbolTest, MenuInsertsTheChosenSymbolThroughTheClipboard) {
  QLineEdit input;
  input.setText(ToQString("Fl\xE4" "che "));
  TTextoxPopupMenu menu;
  menu.SymbolSettingsFolder = Folder();
  menu.PrepareMenu(&input);
  const qsizetype before = input.text().size();
  WhenModalShown([&](QWidget* modal) {
    auto* dialog = qobject_cast<TSymbolDlg*>(modal);
    ASSERT_NE(dialog, nullptr);
    dialog->Grid->setCurrentCell(5, 7);
    QTest::keyClick(dialog->Grid, Qt::Key_Return);
  });
  menu.SymbolItem->trigger();
  EXPECT_EQ(FromQString(input.text()), "Fl\xE4" "che m\xB2");
  EXPECT_EQ(input.text().size(), before + 2);
  EXPECT_EQ(FromQString(QGuiApplication::clipboard()->text()), "m\xB2");
}

TEST(TextPopupMenu, ItemsFollowTheControl) {
  TTextoxPopupMenu menu;
  QStringList captions;
  for (const QAction* item : menu.actions()) captions << (item->isSeparator() ? "-" : item->text());
  EXPECT_EQ(captions, (QStringList{"Ausschneiden", "Kopieren", ToQString("Einf\xFCgen"), "-", "Alles markieren",
                                   ToQString("Symbol einf\xFCgen")}));

  struct Case {
    const char* what;
    bool readOnly;
    bool selected;
    bool cut, copy, paste, symbol;
  };
  const Case cases[] = {
      {"editable, no selection", false, false, false, false, true, true},
      {"editable with selection", false, true, true, true, true, true},
      {"read-only with selection", true, true, false, true, false, false},
      {"read-only", true, false, false, false, false, false},
  };
  for (const Case& c : cases) {
    QLineEdit input("abc");
    input.setReadOnly(c.readOnly);
    if (c.selected) input.setSelection(0, 2);
    menu.PrepareMenu(&input);
    EXPECT_EQ(menu.CutItem->isEnabled(), c.cut) << c.what;
    EXPECT_EQ(menu.CopyItem->isEnabled(), c.copy) << c.what;
    EXPECT_EQ(menu.PasteItem->isEnabled(), c.paste) << c.what;
    EXPECT_EQ(menu.SymbolItem->isEnabled(), c.symbol) << c.what;
    EXPECT_TRUE(menu.SelectAllItem->isEnabled()) << c.what;
  }
  QPushButton noText;
  menu.PrepareMenu(&noText);
  EXPECT_FALSE(menu.PasteItem->isEnabled());
  EXPECT_FALSE(menu.SymbolItem->isEnabled());
}

TEST(TextPopupMenu, ItemsActOnTheControl) {
  TTextoxPopupMenu menu;
  QLineEdit input("Wort");
  menu.PrepareMenu(&input);
  menu.MenuItemClick(menu.SelectAllItem);
  EXPECT_EQ(input.selectedText(), QStringLiteral("Wort"));
  menu.MenuItemClick(menu.CutItem);
  EXPECT_EQ(input.text(), QString());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("Wort"));
  menu.MenuItemClick(menu.PasteItem);
  menu.MenuItemClick(menu.PasteItem);
  EXPECT_EQ(input.text(), QStringLiteral("WortWort"));

  int clicked = 0;
  menu.SetStandardItemsVisible(false);
  EXPECT_FALSE(menu.CopyItem->isVisible());
  QAction* own = menu.AddMenuItem("Eigenes", 7, QIcon(), [&] { ++clicked; });
  own->trigger();
  EXPECT_EQ(clicked, 1);
  EXPECT_EQ(own->data().toInt(), 7);
  menu.ClearMenuItems();
  EXPECT_TRUE(menu.actions().isEmpty());
  EXPECT_EQ(menu.SymbolItem, nullptr);
}

}  // namespace
}  // namespace sp

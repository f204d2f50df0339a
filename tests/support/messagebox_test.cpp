#include <QAbstractItemView>
#include <QLineEdit>
#include <QPainter>
#include <QTest>
#include <gtest/gtest.h>

#include "gui_app.h"
#include "links_fixture.h"
#include "recorder.h"
#include "support/boxtext.h"
#include "support/opendocument.h"
#include "support/ui/messagebox.h"
#include "support/ui/qtext.h"

namespace sp {
namespace {

TFSB_BOX* Box(QWidget* modal) {
  auto* box = qobject_cast<TFSB_BOX*>(modal);
  EXPECT_NE(box, nullptr);
  return box;
}

std::string Lines(int count) {
  std::string text;
  for (int i = 1; i <= count; ++i) text += "Zeile " + std::to_string(i) + "\r\n";
  return text;
}

TEST(MessageBox, ThirtyLinesShowTwentyOneADottedLineAndTheLast) {
  std::string shown;
  bool closed = false;
  WhenModalShown([&](QWidget* modal) {
    TFSB_BOX* box = Box(modal);
    shown = box->TextLabel->HTMLText();
    EXPECT_TRUE(box->TextLabel->text().contains("Zeile 21<br>................<br>Zeile 30"));
    EXPECT_TRUE(box->Pmsg->isVisible());
    EXPECT_FALSE(box->Pinput->isVisible());
    EXPECT_FALSE(box->FBhelpS->isVisible());
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Excel-Import"));
    EXPECT_EQ(box->height(), box->TextArea->height() + 37);
    QTest::keyClick(box, Qt::Key_X);
    closed = true;
  });
  ShowMessageBox(Lines(30));
  EXPECT_TRUE(closed);
  EXPECT_EQ(shown, FormatBoxText(Lines(30)));
  EXPECT_EQ(shown.find("Zeile 22"), std::string::npos);
}

TEST(MessageBox, BrAndCrLfMixedGiveOneBreakEach) {
  std::string shown;
  WhenModalShown([&](QWidget* modal) {
    shown = Box(modal)->TextLabel->HTMLText();
    QTest::keyClick(modal, Qt::Key_Space);
  });
  ShowMessageBox("eins<br>zwei\r\ndrei<BR>\r\nvier", "", "Titel");
  EXPECT_EQ(shown, "eins<br>zwei<br>drei<br><br>vier");
}

TEST(MessageBox, ModifiersAndF1DoNotCloseButALetterDoes) {
  int stillOpen = 0;
  WhenModalShown([&](QWidget* modal) {
    struct Press {
      Qt::Key key;
      Qt::KeyboardModifiers modifiers;
    };
    const Press presses[] = {{Qt::Key_Shift, Qt::NoModifier}, {Qt::Key_Shift, Qt::ShiftModifier},
                             {Qt::Key_Control, Qt::ControlModifier}, {Qt::Key_Alt, Qt::AltModifier},
                             {Qt::Key_X, Qt::ControlModifier}, {Qt::Key_X, Qt::ShiftModifier},
                             {Qt::Key_F1, Qt::NoModifier}};
    for (const Press& press : presses) {
      QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, press.key, press.modifiers);
      if (modal->isVisible()) ++stillOpen;
    }
    QTest::keyClick(modal->focusWidget() ? modal->focusWidget() : modal, Qt::Key_X);
  });
  ShowMessageBox("Hinweis", "Mehr dazu", "");
  EXPECT_EQ(stillOpen, 7);
}

TEST(MessageBox, HelpGrowsTheBoxOnce) {
  WhenModalShown([&](QWidget* modal) {
    TFSB_BOX* box = Box(modal);
    ASSERT_TRUE(box->FBhelpS->isVisible());
    const int before = box->height();
    QTest::mouseClick(box->FBhelpS, Qt::LeftButton);
    EXPECT_TRUE(box->FP_help->isVisible());
    EXPECT_FALSE(box->FBhelpS->isEnabled());
    EXPECT_EQ(box->HelpLabel->HTMLText(), "Erste Hilfe<br>zweite Zeile");
    EXPECT_EQ(box->FP_help->height(), box->HelpLabel->height() + 5);
    EXPECT_EQ(box->height(), before + box->FP_help->height());
    QTest::mouseClick(box->FB_BREAK2, Qt::LeftButton);
  });
  ShowMessageBox("Meldung", "Erste Hilfe\r\nzweite Zeile");
}

TEST(InputBox, PickFromListReturnsTheIndexOrMinusOne) {
  const std::vector<std::string> items = {"erste", "zweite", "dritte"};
  struct Case {
    const char* what;
    std::function<void(TFSB_BOX*)> act;
    const char* expected;
  };
  const Case cases[] = {
      {"third item confirmed",
       [](TFSB_BOX* box) {
         box->FINPE->setCurrentIndex(2);
         QTest::keyClick(box->FINPE, Qt::Key_Return);
       },
       "2"},
      {"default item confirmed", [](TFSB_BOX* box) { QTest::mouseClick(box->FB_IOK, Qt::LeftButton); }, "1"},
      {"cancelled with Escape", [](TFSB_BOX* box) { QTest::keyClick(box->FINPE, Qt::Key_Escape); }, "-1"},
      {"cancelled by the button", [](TFSB_BOX* box) { QTest::mouseClick(box->FB_ICANCEL, Qt::LeftButton); }, "-1"},
      {"closed by the window", [](TFSB_BOX* box) { box->close(); }, "-1"},
  };
  for (const Case& c : cases) {
    WhenModalShown([&](QWidget* modal) {
      TFSB_BOX* box = Box(modal);
      EXPECT_FALSE(box->FINPE->isEditable());
      EXPECT_EQ(box->FINPE->count(), 3);
      EXPECT_EQ(box->FINPE->currentIndex(), 1);
      c.act(box);
    });
    EXPECT_EQ(ShowInputBox("zweite", "Welche?", "", 0, &items, true), c.expected) << c.what;
  }
}

TEST(InputBox, FreeInputIsTrimmedAndCancelGivesNothing) {
  struct Case {
    const char* what;
    bool hideCancel;
    std::function<void(TFSB_BOX*)> act;
    const char* expected;
  };
  const Case cases[] = {
      {"Enter confirms", false, [](TFSB_BOX* box) { QTest::keyClick(box->FINPE, Qt::Key_Return); }, "Vorgabe"},
      {"typed text", false,
       [](TFSB_BOX* box) {
         box->FINPE->lineEdit()->selectAll();
         QTest::keyClicks(box->FINPE->lineEdit(), "  neu ");
         QTest::keyClick(box->FINPE->lineEdit(), Qt::Key_Enter);
       },
       "neu"},
      {"Escape cancels", false, [](TFSB_BOX* box) { QTest::keyClick(box->FINPE, Qt::Key_Escape); }, ""},
      {"Escape confirms without cancel button", true,
       [](TFSB_BOX* box) {
         EXPECT_FALSE(box->FB_ICANCEL->isVisible());
         QTest::keyClick(box->FINPE, Qt::Key_Escape);
       },
       "Vorgabe"},
      {"Enter on Abbrechen cancels", false,
       [](TFSB_BOX* box) {
         box->FB_IOK->setFocus();
         QTest::keyClick(box->FB_IOK, Qt::Key_Left);
         EXPECT_EQ(box->focusWidget(), box->FB_ICANCEL);
         QTest::keyClick(box->FB_ICANCEL, Qt::Key_Right);
         EXPECT_EQ(box->focusWidget(), box->FB_IOK);
         QTest::keyClick(box->FB_IOK, Qt::Key_Right);
         QTest::keyClick(box->FB_ICANCEL, Qt::Key_Return);
       },
       ""},
      {"F1 is swallowed", false,
       [](TFSB_BOX* box) {
         QTest::keyClick(box->FINPE, Qt::Key_F1);
         EXPECT_TRUE(box->isVisible());
         QTest::keyClick(box->FINPE, Qt::Key_Return);
       },
       "Vorgabe"},
  };
  for (const Case& c : cases) {
    WhenModalShown([&](QWidget* modal) {
      TFSB_BOX* box = Box(modal);
      EXPECT_TRUE(box->FINPE->isEditable());
      EXPECT_TRUE(box->Pinput->isVisible());
      EXPECT_FALSE(box->FB_HELPI->isVisible());
      EXPECT_EQ(box->height(), box->TextArea->height() + 70);
      EXPECT_EQ(box->focusWidget(), box->FINPE);
      c.act(box);
    });
    EXPECT_EQ(ShowInputBox("Vorgabe", "Ihr <B>Text</B>:", "", fsBold, nullptr, false, c.hideCancel), c.expected)
        << c.what;
  }
}

TEST(InputBox, FreeInputOffersTheListAndKeepsTheFontStyle) {
  const std::vector<std::string> items = {"a", "b"};
  WhenModalShown([&](QWidget* modal) {
    TFSB_BOX* box = Box(modal);
    EXPECT_EQ(box->FINPE->count(), 2);
    EXPECT_EQ(box->FINPE->currentText(), QStringLiteral("frei"));
    EXPECT_TRUE(box->FINPE->font().italic());
    EXPECT_FALSE(box->FINPE->font().bold());
    EXPECT_EQ(box->FINPE->maxVisibleItems(), 20);
    EXPECT_EQ(box->windowTitle(), QStringLiteral("Frage"));
    QTest::keyClick(box->FINPE, Qt::Key_Return);
  });
  EXPECT_EQ(ShowInputBox("frei", "?", "Hilfe", fsItalic, &items, false, false, "Frage"), "frei");
}

TEST(InputBox, ListRowsAlternateTheirBackground) {
  TFSB_BOX box;
  const std::vector<std::string> items = {"gerade", "ungerade"};
  box.PrepareInput("", "", "", 0, &items, true, false, "");
  QAbstractItemDelegate* delegate = box.FINPE->itemDelegate();
  QStyleOptionViewItem option;
  option.initFrom(box.FINPE->view());
  option.rect = QRect(0, 0, 60, 19);
  const QColor painted[] = {Qt::white, QColor(0xFE, 0xF5, 0xBC)};
  for (int row = 0; row < 2; ++row) {
    QImage image(60, 19, QImage::Format_RGB32);
    QPainter painter(&image);
    delegate->paint(&painter, option, box.FINPE->model()->index(row, 0));
    painter.end();
    EXPECT_EQ(image.pixelColor(58, 1), painted[row]) << row;
  }
  EXPECT_EQ(delegate->sizeHint(option, box.FINPE->model()->index(0, 0)).height(), 19);
}

class MessageBoxLinks : public TClientRootTest {};

TEST_F(MessageBoxLinks, ClickedLinkOpensTheDocumentAndClosesTheBox) {
  TRecorderPrograms programs(scratch_);
  const std::string file = MakeFile("Kunde A/plan.xls");
  const std::string target = "FILE://" + file;
  bool linkClicked = false;
  WhenModalShown([&](QWidget* modal) {
    TFSB_BOX* box = Box(modal);
    emit box->TextLabel->linkActivated(QStringLiteral("kein Link"));  // neither :// nor mailto: - ignored
    EXPECT_TRUE(box->isVisible());
    emit box->TextLabel->linkActivated(ToQString(target));
    linkClicked = box->LinkClicked;
  });
  ShowMessageBox("Siehe <a href=\"" + target + "\">Plan</a>");
  EXPECT_TRUE(linkClicked);
  WaitForOpenJobs();
  EXPECT_EQ(programs.Recorded("opener"), (std::vector<std::string>{"opener", "1", file}));
}

}  // namespace
}  // namespace sp

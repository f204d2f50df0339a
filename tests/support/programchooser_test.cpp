#include <QFileDialog>
#include <QKeyEvent>
#include <gtest/gtest.h>

#include "gui_app.h"
#include "links_fixture.h"
#include "support/ui/programchooser.h"

namespace sp {
namespace {

void SendControl(QWidget* to, QEvent::Type type, quint32 symbol) {
  QKeyEvent event(type, Qt::Key_Control, type == QEvent::KeyPress ? Qt::ControlModifier : Qt::NoModifier, 0, symbol,
                  0);
  QApplication::sendEvent(to, &event);
}

TEST(ProgramChooser, OnlyTheRightCtrlKeyAsks) {
  TQtProgramChooser chooser;
  QWidget window;
  EXPECT_FALSE(chooser.ChoiceRequested());
  SendControl(&window, QEvent::KeyPress, 0xFFE3);  // left Ctrl
  EXPECT_FALSE(chooser.ChoiceRequested());
  SendControl(&window, QEvent::KeyPress, 0xFFE4);
  EXPECT_TRUE(chooser.ChoiceRequested());
  SendControl(&window, QEvent::KeyRelease, 0xFFE4);
  EXPECT_FALSE(chooser.ChoiceRequested());
}

class ProgramChooserDialog : public TClientRootTest {};

TEST_F(ProgramChooserDialog, PicksAFileOrCancels) {
  const std::string program = MakeFile("tools/sheets");
  TQtProgramChooser chooser;
  struct Case {
    bool accept;
    bool result;
  };
  for (const Case c : {Case{true, true}, Case{false, false}}) {
    QString shownFolder;
    WhenModalShown([&](QWidget* modal) {
      auto* dialog = qobject_cast<QFileDialog*>(modal);
      ASSERT_NE(dialog, nullptr);
      shownFolder = dialog->directory().absolutePath();
      EXPECT_EQ(dialog->nameFilters().size(), 2);
      if (c.accept) {
        dialog->selectFile(QString::fromUtf8(program.c_str()));
        QMetaObject::invokeMethod(dialog, "accept");
      } else {
        dialog->reject();
      }
    });
    std::string chosen = "unchanged";
    EXPECT_EQ(chooser.ChooseProgram("", Scratch("tools/"), chosen), c.result);
    EXPECT_EQ(chosen, c.accept ? program : "unchanged");
    EXPECT_EQ(shownFolder, QString::fromUtf8(Scratch("tools").c_str()));
  }
}

}  // namespace
}  // namespace sp

#include <QScreen>
#include <thread>
#include <gtest/gtest.h>

#include "gui_app.h"
#include "scratch_folder.h"
#include "support/busyhook.h"
#include "support/settings.h"
#include "support/ui/busycursor.h"
#include "support/ui/formplacement.h"

namespace sp {
namespace {

// The offscreen platform has one screen; the cases of several monitors are
// computed in placement_test.cpp.
QRect Screen() { return QGuiApplication::primaryScreen()->availableGeometry(); }

TEST(FormPlacement, KeepsFormsInsideTheScreen) {
  const QRect area = Screen();
  struct Case {
    const char* what;
    QRect form;
    Qt::WindowFlags flags;
    bool force;
    QPoint expected;
  };
  const Case cases[] = {
      {"beyond bottom-right", QRect(area.right() - 10, area.bottom() - 10, 300, 200), Qt::Window, false,
       QPoint(area.right() + 1 - 300, area.bottom() + 1 - 200)},
      {"above and left", QRect(area.left() - 50, area.top() - 40, 300, 200), Qt::Window, false, area.topLeft()},
      {"frameless stays", QRect(area.right() - 10, 5, 300, 200), Qt::FramelessWindowHint, false,
       QPoint(area.right() - 10, 5)},
      {"frameless forced", QRect(area.right() - 10, 5, 300, 200), Qt::FramelessWindowHint, true,
       QPoint(area.right() + 1 - 300, 5)},
  };
  for (const Case& c : cases) {
    QWidget form(nullptr, c.flags);
    form.setGeometry(c.form);
    form.move(c.form.topLeft());
    PlaceFormOnMonitor(&form, c.force);
    EXPECT_EQ(form.pos(), c.expected) << c.what;
  }
}

TEST(FormPlacement, PreferredMonitorThatDoesNotExistFallsBack) {
  SetFormMonitor(1);
  QWidget form;
  form.resize(200, 100);
  form.move(-500, -500);
  PlaceFormOnMonitor(&form, false);
  EXPECT_TRUE(Screen().contains(QRect(form.pos(), form.size())));
  SetFormMonitor(-1);
}

TEST(FormPlacement, CentredOnceThenPlacedAsItStands) {
  QWidget form;
  form.resize(200, 100);
  SetCentredOnScreen(&form);
  PlaceFormOnGivenMonitor(&form, 0);
  const QRect area = Screen();
  EXPECT_EQ(form.pos(), QPoint((area.left() + area.right() + 1) / 2 - 100, (area.top() + area.bottom() + 1) / 2 - 50));
  form.move(10, 20);
  PlaceFormOnGivenMonitor(&form, 0);
  EXPECT_EQ(form.pos(), QPoint(10, 20));
  PlaceFormOnGivenMonitor(&form, 7);  // no such monitor: nothing happens
  EXPECT_EQ(form.pos(), QPoint(10, 20));
}

TEST(FormPositions, SavedAndRestoredThroughUserMode) {
  TScratchFolder scratch;
  const std::string folder = scratch.Path();
  QWidget saved;
  saved.setObjectName("TFTest");
  saved.setGeometry(40, 30, 320, 240);
  SaveFormPosition(&saved, folder, "", 5, false);
  EXPECT_EQ(ReadUserModeInteger("TFTest.Width", 0, folder), 320);
  EXPECT_EQ(ReadUserModeInteger("TFTest.Height", 0, folder), 240);
  EXPECT_EQ(ReadUserModeInteger("TFTest.Left", 0, folder), 40);
  EXPECT_EQ(ReadUserModeInteger("TFTest.Top", 0, folder), 30);
  EXPECT_EQ(ReadUserModeInteger("TFTest.Add0", 0, folder), 5);

  QWidget restored;
  restored.setObjectName("TFTest");
  restored.resize(100, 100);
  EXPECT_EQ(RestoreFormPosition(&restored, folder, "", -1, kPlaceCentre), 5);
  EXPECT_EQ(restored.geometry(), QRect(40, 30, 320, 240));

  SaveFormPosition(&saved, folder, "Other", -1, true);
  EXPECT_EQ(ReadUserModeInteger("Other.Left", 0, folder), 90);
  EXPECT_EQ(ReadUserModeInteger("Other.Top", 0, folder), 80);
  EXPECT_EQ(ReadUserModeInteger("Other.Add0", -7, folder), -7);
}

TEST(FormPositions, DefaultsByKindAndSizeLimits) {
  TScratchFolder scratch;
  const QRect area = Screen();
  struct Case {
    int kind;
    QPoint expected;
  };
  const Case cases[] = {
      {kPlaceCentre, QPoint((area.right() + 1) / 2 - 100, (area.bottom() + 1) / 2 - 50)},
      {kPlaceTopLeft, area.topLeft()},
      {kPlaceTopRight, QPoint(area.right() + 1 - 200, area.top())},
      {kPlaceBottomRight, QPoint(area.right() + 1 - 200, area.bottom() + 1 - 100)},
      {kPlaceSizeOnly, QPoint(33, 44)},
      {9, QPoint(0, 0)},
  };
  for (const Case& c : cases) {
    QWidget form;
    form.setObjectName("Fresh");
    form.setGeometry(33, 44, 200, 100);
    EXPECT_EQ(RestoreFormPosition(&form, scratch.Path(), "", 12, c.kind), 12);
    EXPECT_EQ(form.pos(), c.expected) << c.kind;
    EXPECT_EQ(form.size(), QSize(200, 100));
  }
  WriteUserModeInteger("Limited.Width", 5000, scratch.Path());
  WriteUserModeInteger("Limited.Height", 10, scratch.Path());
  QWidget limited;
  limited.setMinimumHeight(90);
  limited.setMaximumWidth(400);
  RestoreFormPosition(&limited, scratch.Path(), "Limited", 0, kPlaceSizeOnly);
  EXPECT_EQ(limited.size(), QSize(400, 90));
}

TEST(BusyCursor, OnAndOffAndScopes) {
  auto shape = [] {
    const QCursor* cursor = QGuiApplication::overrideCursor();
    return cursor ? cursor->shape() : Qt::ArrowCursor;
  };
  BusyCursorOn();
  BusyCursorOn();
  EXPECT_EQ(shape(), Qt::BusyCursor);
  BusyCursorOff();
  EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

  InstallBusyCursorHook();
  {
    TBusyScope scope;
    EXPECT_EQ(shape(), Qt::BusyCursor);
  }
  EXPECT_FALSE(BusyCursorShown());
  BusyCursorOn();
  { TBusyScope scope; }
  EXPECT_TRUE(BusyCursorShown());  // a scope leaves an earlier busy cursor on
  std::thread other([] { BusyCursorOff(); });
  other.join();
  EXPECT_TRUE(BusyCursorShown());  // only the GUI thread changes it
  BusyCursorOff();
  EXPECT_FALSE(BusyCursorShown());
  RemoveBusyCursorHook();
}

}  // namespace
}  // namespace sp

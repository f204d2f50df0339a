#include <gtest/gtest.h>

#include "support/placement.h"

namespace sp {
namespace {

// One 1920 x 1080 monitor with a 40-pixel task bar at the bottom.
const TMonitorList kOne = {{RectOf(0, 0, 1920, 1080), RectOf(0, 0, 1920, 1040)}};
// The same plus a 1280 x 1024 monitor to its right, its dock on the left.
const TMonitorList kTwo = {{RectOf(0, 0, 1920, 1080), RectOf(0, 0, 1920, 1040)},
                           {RectOf(1920, 0, 1280, 1024), RectOf(1980, 0, 1220, 1024)}};
// A second monitor left of and above the first one (negative coordinates).
const TMonitorList kLeftAbove = {{RectOf(0, 0, 1920, 1080), RectOf(0, 0, 1920, 1040)},
                                 {RectOf(-1280, -200, 1280, 1024), RectOf(-1280, -200, 1280, 1024)}};
const TRect kSystemArea = RectOf(0, 0, 1920, 1040);

TEST(Placement, ChoosesTheMonitor) {
  struct Case {
    const char* what;
    const TMonitorList* monitors;
    int preferred;
    std::optional<TRect> reference;
    int expected;
  };
  const Case cases[] = {
      {"preferred valid", &kTwo, 1, RectOf(10, 10, 400, 300), 1},
      {"preferred 1 with one monitor goes by the active form", &kOne, 1, RectOf(10, 10, 400, 300), 0},
      {"preferred negative, form mostly on the second", &kTwo, -1, RectOf(1800, 100, 400, 300), 1},
      {"preferred out of range, form mostly on the first", &kTwo, 5, RectOf(1700, 100, 400, 300), 0},
      {"half exactly is not more than half: the form's monitor", &kTwo, -1, RectOf(1720, 100, 400, 300), 0},
      {"form across the corner, most area on the second", &kTwo, -1, RectOf(1900, 900, 400, 300), 1},
      {"no reference: the first monitor", &kTwo, -1, std::nullopt, 0},
      {"form off every monitor: the nearest", &kTwo, -1, RectOf(5000, 100, 400, 300), 1},
      {"preferred above 255 never counts", &kTwo, 256, RectOf(1800, 100, 400, 300), 1},
  };
  for (const Case& c : cases) EXPECT_EQ(ChooseMonitor(*c.monitors, c.preferred, c.reference), c.expected) << c.what;
  EXPECT_EQ(ChooseMonitor({}, 0, RectOf(0, 0, 10, 10)), -1);
}

TEST(Placement, CentresOnTheWorkArea) {
  EXPECT_EQ(CentreOnWorkArea(kTwo[0].WorkArea, 406, 187), (TPoint{757, 427}));
  EXPECT_EQ(CentreOnWorkArea(kTwo[1].WorkArea, 400, 300), (TPoint{2390, 362}));
}

TEST(Placement, KeepsFormsInsideTheWorkArea) {
  struct Case {
    const char* what;
    const TMonitorList* monitors;
    TRect form;
    int target;  // index of the target monitor
    TPoint expected;
  };
  const Case cases[] = {
      {"inside stays", &kOne, RectOf(100, 100, 400, 300), 0, {100, 100}},
      {"below the task bar moves up", &kOne, RectOf(100, 900, 400, 300), 0, {100, 740}},
      {"beyond the right edge moves left", &kOne, RectOf(1800, 100, 400, 300), 0, {1520, 100}},
      {"larger than the work area: left and top win", &kOne, RectOf(50, 50, 2500, 1500), 0, {0, 0}},
      {"carried to the second monitor by the work areas' offset", &kTwo, RectOf(100, 100, 400, 300), 1, {2080, 100}},
      {"carried back to the first monitor", &kTwo, RectOf(2020, 100, 400, 300), 0, {40, 100}},
      {"carried over, then kept right of the dock", &kTwo, RectOf(0, 0, 400, 300), 1, {1980, 0}},
      {"carried over, then clamped to the smaller monitor", &kTwo, RectOf(1500, 800, 400, 300), 1, {2800, 724}},
      {"restored at 0,0 relative lands at the second monitor's origin", &kTwo, RectOf(0, 0, 1216, 1020), 1,
       {1980, 0}},
      {"monitor to the left and above", &kLeftAbove, RectOf(100, 100, 400, 300), 1, {-1180, 100}},
      {"top-left corner on no work area: carried by the target's origin, then clamped", &kTwo,
       RectOf(1950, 10, 400, 300), 1, {2800, 10}},
      {"far off every monitor comes back to the nearest", &kOne, RectOf(-3000, -3000, 400, 300), 0, {0, 0}},
  };
  for (const Case& c : cases) {
    const TRect target = (*c.monitors)[static_cast<size_t>(c.target)].WorkArea;
    EXPECT_EQ(KeepInsideWorkArea(c.form, target, *c.monitors, kSystemArea), c.expected) << c.what;
  }
  EXPECT_EQ(KeepInsideWorkArea(RectOf(5, 5, 10, 10), RectOf(0, 0, 100, 100), {}, RectOf(20, 30, 800, 600)),
            (TPoint{120, 130}));
}

TEST(Placement, MonitorRelativeCoordinates) {
  struct Case {
    const TMonitorList* monitors;
    TRect form;
    int left;
    int top;
  };
  const Case cases[] = {
      {&kTwo, RectOf(2020, 100, 400, 300), 100, 100},
      {&kTwo, RectOf(100, 100, 400, 300), 100, 100},        // on the first monitor: unchanged
      {&kOne, RectOf(2020, 100, 400, 300), 2020, 100},      // no second monitor
      {&kLeftAbove, RectOf(-1180, -100, 400, 300), 100, 100},
      {&kTwo, RectOf(1720, 100, 400, 300), 1720, 100},      // only half on the second
  };
  for (const Case& c : cases) {
    EXPECT_EQ(MonitorRelative(c.form, c.form.Left, true, *c.monitors), c.left);
    EXPECT_EQ(MonitorRelative(c.form, c.form.Top, false, *c.monitors), c.top);
  }
}

TEST(Placement, DefaultPositionsByKind) {
  const TRect area = RectOf(0, 0, 1920, 1040);
  struct Case {
    int kind;
    TPoint expected;
  };
  const Case cases[] = {{kPlaceCentre, {760, 370}},       {kPlaceTopLeft, {0, 0}},  {kPlaceTopRight, {1520, 0}},
                        {kPlaceBottomRight, {1520, 740}}, {kPlaceSizeOnly, {0, 0}}, {9, {0, 0}}};
  for (const Case& c : cases) EXPECT_EQ(DefaultFormPosition(c.kind, area, 400, 300), c.expected) << c.kind;
  EXPECT_EQ(DefaultFormPosition(kPlaceTopLeft, RectOf(60, 25, 1000, 700), 400, 300), (TPoint{60, 25}));
}

TEST(Placement, SizeLimits) {
  struct Case {
    int value, minimum, maximum, expected;
  };
  const Case cases[] = {{50, 100, 0, 100}, {500, 100, 400, 400}, {300, 100, 400, 300}, {5, 0, 0, 5}, {900, 0, 800, 800}};
  for (const Case& c : cases) EXPECT_EQ(ClampToLimits(c.value, c.minimum, c.maximum), c.expected);
}

TEST(Placement, WhatIsStored) {
  struct Case {
    const char* what;
    TRect form;
    bool maximized;
    bool cascade;
    TStoredPlacement expected;
  };
  const Case cases[] = {
      {"plain on the first", RectOf(100, 120, 400, 300), false, false, {400, 300, 100, 120}},
      {"plain on the second", RectOf(2020, 120, 400, 300), false, false, {400, 300, 100, 120}},
      {"maximized on the second", RectOf(1980, 0, 1220, 1024), true, false, {1212, 1016, 0, 0}},
      {"cascade", RectOf(100, 120, 400, 300), false, true, {400, 300, 150, 170}},
      {"cascade on the second", RectOf(2020, 120, 400, 300), false, true, {400, 300, 150, 170}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(PlacementToStore(c.form, c.maximized, c.cascade, 2, 2, kTwo), c.expected) << c.what;
  }
}

TEST(Placement, MaximizedOnTheSecondMonitorRestoresInsideIt) {
  const TRect maximized = RectOf(1980, 0, 1220, 1024);
  const TStoredPlacement stored = PlacementToStore(maximized, true, false, 2, 2, kTwo);
  const TRect restored = RectOf(stored.Left, stored.Top, stored.Width, stored.Height);
  const TPoint at = KeepInsideWorkArea(restored, kTwo[1].WorkArea, kTwo, kSystemArea);
  const TRect placed = RectOf(at.X, at.Y, stored.Width, stored.Height);
  EXPECT_EQ(at, (TPoint{1980, 0}));
  EXPECT_GE(placed.Left, kTwo[1].WorkArea.Left);
  EXPECT_LE(placed.Right, kTwo[1].WorkArea.Right);
  EXPECT_LE(placed.Bottom, kTwo[1].WorkArea.Bottom);
}

}  // namespace
}  // namespace sp

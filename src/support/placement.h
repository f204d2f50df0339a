// The arithmetic of window placement over monitor rectangles, kept apart from
// any window system so that every multi-monitor case can be computed (and
// tested) without monitors. The windows layer feeds it the screens' geometry.
//
// Rectangles are half-open: Right and Bottom lie just outside, so
// Width = Right - Left. Monitors are given in the screen's order.
#pragma once

#include <optional>
#include <vector>

namespace sp {

struct TRect {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;

  int Width() const { return Right - Left; }
  int Height() const { return Bottom - Top; }
  bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
  bool Contains(int x, int y) const { return x >= Left && x < Right && y >= Top && y < Bottom; }
  bool operator==(const TRect&) const = default;
};

inline TRect RectOf(int left, int top, int width, int height) { return {left, top, left + width, top + height}; }

struct TMonitorArea {
  TRect Bounds;    // the whole monitor
  TRect WorkArea;  // without task bars and docks
};
using TMonitorList = std::vector<TMonitorArea>;

// True when the overlap of monitor and form is wider than half the form's
// width and higher than half its height.
bool HoldsMoreThanHalf(const TRect& monitor, const TRect& form);

// Index of the monitor nearest to the point (one containing it, else the one
// at the least distance); -1 without monitors.
int MonitorNearestTo(const TMonitorList& monitors, int x, int y);

// The monitor new windows go to: `preferred` when it is a valid index (and at
// most 255); else the first monitor holding more than half of `reference`
// (the active form, else the main form); else the reference's nearest monitor
// or, without reference, the first monitor. -1 only without monitors (the
// caller then keeps the form's own monitor).
int ChooseMonitor(const TMonitorList& monitors, int preferred, const std::optional<TRect>& reference);

// Top-left corner that centres a form of the given size on the work area.
struct TPoint {
  int X = 0;
  int Y = 0;
  bool operator==(const TPoint&) const = default;
};
TPoint CentreOnWorkArea(const TRect& workArea, int width, int height);

// Moves the form into the target work area: first it is carried over from the
// work area R it is on (R empty when its top-left corner lies on no monitor)
// by the offset between the two work areas, then clamped into the work area
// of the monitor it has landed on (left and top win over right and bottom).
// Without monitors it goes to the system work area's top-left + (100, 100).
TPoint KeepInsideWorkArea(const TRect& form, const TRect& target, const TMonitorList& monitors,
                          const TRect& systemWorkArea);

// The coordinate minus the left (horizontal) or top edge of the first monitor
// after the first one that holds more than half of the form; else unchanged.
int MonitorRelative(const TRect& form, int coordinate, bool horizontal, const TMonitorList& monitors);

// Where a restored form goes when no position is stored, by placement kind:
// 0 centre, 1 top-left, 2 top-right, 3 bottom-right, 4 size only (position
// kept), any other (0, 0).
enum TPlacementKind { kPlaceCentre = 0, kPlaceTopLeft = 1, kPlaceTopRight = 2, kPlaceBottomRight = 3, kPlaceSizeOnly = 4 };
TPoint DefaultFormPosition(int kind, const TRect& systemWorkArea, int width, int height);

// A size read from the settings clamped to the form's limits (0: no limit).
int ClampToLimits(int value, int minimum, int maximum);

// What SaveFormPosition stores for a form.
struct TStoredPlacement {
  int Width = 0;
  int Height = 0;
  int Left = 0;
  int Top = 0;
  bool operator==(const TStoredPlacement&) const = default;
};
// `form` is the form's rectangle; a maximized form stores its size less four
// edges and, unless cascading, the position (0, 0). Cascading stores the
// position 50 pixels further right and down. Positions are MonitorRelative.
TStoredPlacement PlacementToStore(const TRect& form, bool maximized, bool cascade, int edgeWidth, int edgeHeight,
                                  const TMonitorList& monitors);

}  // namespace sp

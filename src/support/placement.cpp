#include "support/placement.h"

#include <algorithm>
#include <cstdint>

namespace sp {

namespace {

int64_t SquaredDistance(const TRect& rect, int x, int y) {
  const int64_t dx = x < rect.Left ? rect.Left - x : (x >= rect.Right ? x - (rect.Right - 1) : 0);
  const int64_t dy = y < rect.Top ? rect.Top - y : (y >= rect.Bottom ? y - (rect.Bottom - 1) : 0);
  return dx * dx + dy * dy;
}

int64_t OverlapArea(const TRect& a, const TRect& b) {
  const int64_t w = std::min(a.Right, b.Right) - std::max(a.Left, b.Left);
  const int64_t h = std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top);
  return w > 0 && h > 0 ? w * h : 0;
}

// The monitor a form is on: the one it overlaps most, else the nearest.
int MonitorOfRect(const TMonitorList& monitors, const TRect& form) {
  int best = -1;
  int64_t bestArea = 0;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const int64_t area = OverlapArea(monitors[i].Bounds, form);
    if (area > bestArea) {
      bestArea = area;
      best = static_cast<int>(i);
    }
  }
  if (best >= 0) return best;
  return MonitorNearestTo(monitors, form.Left + form.Width() / 2, form.Top + form.Height() / 2);
}

}  // namespace

bool HoldsMoreThanHalf(const TRect& monitor, const TRect& form) {
  const int overlapWidth = std::min(monitor.Right, form.Right) - std::max(monitor.Left, form.Left);
  const int overlapHeight = std::min(monitor.Bottom, form.Bottom) - std::max(monitor.Top, form.Top);
  return overlapWidth > form.Width() / 2.0 && overlapHeight > form.Height() / 2.0;
}

int MonitorNearestTo(const TMonitorList& monitors, int x, int y) {
  int best = -1;
  int64_t bestDistance = 0;
  for (size_t i = 0; i < monitors.size(); ++i) {
    const int64_t distance = SquaredDistance(monitors[i].Bounds, x, y);
    if (best < 0 || distance < bestDistance) {
      best = static_cast<int>(i);
      bestDistance = distance;
    }
  }
  return best;
}

int ChooseMonitor(const TMonitorList& monitors, int preferred, const std::optional<TRect>& reference) {
  const int count = static_cast<int>(monitors.size());
  if (preferred >= 0 && preferred < count && preferred <= 255) return preferred;
  if (count == 0) return -1;
  if (!reference) return 0;
  for (int i = 0; i < count; ++i) {
    if (HoldsMoreThanHalf(monitors[static_cast<size_t>(i)].Bounds, *reference)) return i;
  }
  return MonitorOfRect(monitors, *reference);
}

TPoint CentreOnWorkArea(const TRect& workArea, int width, int height) {
  const int centreX = (workArea.Left + workArea.Right) / 2;
  const int centreY = (workArea.Top + workArea.Bottom) / 2;
  return {centreX - width / 2, centreY - height / 2};
}

TPoint KeepInsideWorkArea(const TRect& form, const TRect& target, const TMonitorList& monitors,
                          const TRect& systemWorkArea) {
  const TPoint fallback{systemWorkArea.Left + 100, systemWorkArea.Top + 100};
  const int width = form.Width();
  const int height = form.Height();
  int left = form.Left;
  int top = form.Top;

  const int from = MonitorNearestTo(monitors, left + 1, top + 1);
  if (from < 0) return fallback;
  TRect r = monitors[static_cast<size_t>(from)].WorkArea;
  if (!r.Contains(left, top)) r = TRect{};
  if (left + width > target.Right) left += target.Left - r.Left;
  if (left < target.Left) left += target.Left - r.Left;
  if (top + height > target.Bottom) top += target.Top - r.Top;
  if (top < target.Top) top += target.Top - r.Top;

  const int landed = MonitorNearestTo(monitors, left + 1, top + 1);
  const TRect w = monitors[static_cast<size_t>(landed)].WorkArea;
  if (w.IsEmpty()) return fallback;
  if (left + width > w.Right) left = w.Right - width;
  if (left < w.Left) left = w.Left;
  if (top + height > w.Bottom) top = w.Bottom - height;
  if (top < w.Top) top = w.Top;
  return {left, top};
}

int MonitorRelative(const TRect& form, int coordinate, bool horizontal, const TMonitorList& monitors) {
  for (size_t i = 1; i < monitors.size(); ++i) {
    const TRect& bounds = monitors[i].Bounds;
    if (HoldsMoreThanHalf(bounds, form)) return coordinate - (horizontal ? bounds.Left : bounds.Top);
  }
  return coordinate;
}

TPoint DefaultFormPosition(int kind, const TRect& area, int width, int height) {
  switch (kind) {
    case kPlaceCentre:
      return {area.Right / 2 - width / 2, area.Bottom / 2 - height / 2};
    case kPlaceTopLeft:
      return {area.Left, area.Top};
    case kPlaceTopRight:
      return {area.Right - width, area.Top};
    case kPlaceBottomRight:
      return {area.Right - width, area.Bottom - height};
    default:
      return {0, 0};
  }
}

int ClampToLimits(int value, int minimum, int maximum) {
  if (minimum > 0 && value < minimum) return minimum;
  if (maximum > 0 && value > maximum) return maximum;
  return value;
}

TStoredPlacement PlacementToStore(const TRect& form, bool maximized, bool cascade, int edgeWidth, int edgeHeight,
                                  const TMonitorList& monitors) {
  TStoredPlacement stored;
  stored.Width = maximized ? form.Width() - 4 * edgeWidth : form.Width();
  stored.Height = maximized ? form.Height() - 4 * edgeHeight : form.Height();
  if (cascade) {
    stored.Left = MonitorRelative(form, form.Left + 50, true, monitors);
    stored.Top = MonitorRelative(form, form.Top + 50, false, monitors);
  } else if (!maximized) {
    stored.Left = MonitorRelative(form, form.Left, true, monitors);
    stored.Top = MonitorRelative(form, form.Top, false, monitors);
  }
  return stored;
}

}  // namespace sp

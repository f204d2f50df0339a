#include "support/ui/formplacement.h"

#include <QApplication>
#include <QScreen>
#include <QStyle>

#include "support/settings.h"
#include "support/ui/qtext.h"

namespace sp {

namespace {

int preferredMonitor = -1;
constexpr const char* kCentredProperty = "spCentredOnScreen";

TRect ToRect(const QRect& r) { return RectOf(r.x(), r.y(), r.width(), r.height()); }

TRect FormRect(const QWidget* form) {
  const QSize size = form->isWindow() && form->isVisible() ? form->frameGeometry().size() : form->size();
  return RectOf(form->x(), form->y(), size.width(), size.height());
}

// The window that decides the monitor: the active one, else the main window
// (the first visible plain top-level window other than the form itself).
const QWidget* ReferenceWindow(const QWidget* form) {
  if (const QWidget* active = QApplication::activeWindow(); active && active != form) return active;
  for (const QWidget* widget : QApplication::topLevelWidgets()) {
    if (widget != form && widget->isVisible() && widget->windowType() == Qt::Window) return widget;
  }
  return nullptr;
}

// Qt reports "no limit" as QWIDGETSIZE_MAX; the arithmetic uses 0.
int Limit(int qtMaximum) { return qtMaximum >= QWIDGETSIZE_MAX ? 0 : qtMaximum; }

std::string Key(std::string_view prefix, const char* suffix) { return std::string(prefix) + suffix; }

}  // namespace

void SetFormMonitor(int monitorIndex) { preferredMonitor = monitorIndex; }
int PreferredMonitor() { return preferredMonitor; }

TMonitorList CurrentMonitors() {
  TMonitorList monitors;
  for (const QScreen* screen : QGuiApplication::screens()) {
    monitors.push_back({ToRect(screen->geometry()), ToRect(screen->availableGeometry())});
  }
  return monitors;
}

TRect SystemWorkArea() {
  const QScreen* primary = QGuiApplication::primaryScreen();
  return primary ? ToRect(primary->availableGeometry()) : TRect{};
}

void SetCentredOnScreen(QWidget* form, bool centred) { form->setProperty(kCentredProperty, centred); }

void PlaceFormOnMonitor(QWidget* form, bool force) {
  if (!force && form->windowFlags().testFlag(Qt::FramelessWindowHint)) return;
  const QWidget* reference = ReferenceWindow(form);
  const int monitor = ChooseMonitor(CurrentMonitors(), preferredMonitor,
                                    reference ? std::optional<TRect>(FormRect(reference)) : std::nullopt);
  if (monitor >= 0) PlaceFormOnGivenMonitor(form, monitor);
}

void PlaceFormOnGivenMonitor(QWidget* form, int monitorIndex) {
  const TMonitorList monitors = CurrentMonitors();
  if (monitorIndex < 0 || static_cast<size_t>(monitorIndex) >= monitors.size()) return;
  const TRect target = monitors[static_cast<size_t>(monitorIndex)].WorkArea;
  const TRect rect = FormRect(form);
  if (form->property(kCentredProperty).toBool()) {
    SetCentredOnScreen(form, false);
    const TPoint at = CentreOnWorkArea(target, rect.Width(), rect.Height());
    form->move(at.X, at.Y);
    return;
  }
  const bool visible = form->isVisible();
  if (visible) form->setUpdatesEnabled(false);
  const TPoint at = KeepInsideWorkArea(rect, target, monitors, SystemWorkArea());
  form->move(at.X, at.Y);
  if (visible) {
    form->setUpdatesEnabled(true);
    form->update();
  }
}

int MonitorRelative(const QWidget* form, int coordinate, bool horizontal) {
  return MonitorRelative(FormRect(form), coordinate, horizontal, CurrentMonitors());
}

int RestoreFormPosition(QWidget* form, std::string_view folder, std::string_view prefix, int extraDefault,
                        int placementKind) {
  const std::string name = prefix.empty() ? FromQString(form->objectName()) : std::string(prefix);
  const TPoint fallback = DefaultFormPosition(placementKind, SystemWorkArea(), form->width(), form->height());
  const int width = ClampToLimits(ReadUserModeInteger(Key(name, ".Width"), form->width(), folder),
                                  form->minimumWidth(), Limit(form->maximumWidth()));
  const int height = ClampToLimits(ReadUserModeInteger(Key(name, ".Height"), form->height(), folder),
                                   form->minimumHeight(), Limit(form->maximumHeight()));
  form->resize(width, height);
  if (placementKind != kPlaceSizeOnly) {
    const int left = ReadUserModeInteger(Key(name, ".Left"), fallback.X, folder);
    const int top = ReadUserModeInteger(Key(name, ".Top"), fallback.Y, folder);
    form->move(left, top);
  }
  const int extra = ReadUserModeInteger(Key(name, ".Add0"), extraDefault, folder);
  PlaceFormOnMonitor(form, false);
  return extra;
}

void SaveFormPosition(QWidget* form, std::string_view folder, std::string_view prefix, int extra, bool cascade) {
  const std::string name = prefix.empty() ? FromQString(form->objectName()) : std::string(prefix);
  const int edge = form->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, form);
  const TRect rect = RectOf(form->x(), form->y(), form->width(), form->height());
  const TStoredPlacement stored = PlacementToStore(rect, form->isMaximized(), cascade, edge, edge, CurrentMonitors());
  WriteUserModeInteger(Key(name, ".Width"), stored.Width, folder);
  WriteUserModeInteger(Key(name, ".Height"), stored.Height, folder);
  WriteUserModeInteger(Key(name, ".Left"), stored.Left, folder);
  WriteUserModeInteger(Key(name, ".Top"), stored.Top, folder);
  if (extra != -1) WriteUserModeInteger(Key(name, ".Add0"), extra, folder);
}

void BringToFront(QWidget* window) {
  if (!window) return;
  window->raise();
  window->activateWindow();
}

}  // namespace sp

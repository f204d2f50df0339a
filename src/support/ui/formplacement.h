// Placing the module's windows: on the monitor the host asked for, always
// inside that monitor's work area, and back where the user left them (sizes
// and positions in the user settings "UserMode.INI", section "MODE").
//
// The arithmetic is in support/placement.h; this layer only reads the screens
// (QScreen geometry and availableGeometry) and moves widgets. Positions are
// the window frame's top-left corner; sizes are the widget's own size.
// GUI thread only. REQUIRES: a QApplication exists.
#pragma once

#include <QWidget>
#include <string>
#include <string_view>

#include "support/placement.h"

namespace sp {

// The monitor on which new windows appear (-1: none). Set once at start.
void SetFormMonitor(int monitorIndex);
int PreferredMonitor();

// The screens in Qt's order as monitor rectangles.
TMonitorList CurrentMonitors();
// The primary screen's work area (the system work area).
TRect SystemWorkArea();

// A form marked so is centred on the chosen monitor by its next placement,
// and then placed as it stands ever after.
void SetCentredOnScreen(QWidget* form, bool centred = true);

// Places the form on the monitor of ChooseMonitor (the preferred one, else
// the one holding the active window or the main window): a form marked
// centred is centred on its work area, any other is kept inside it. A
// frameless form is left alone unless `force` is set.
void PlaceFormOnMonitor(QWidget* form, bool force);
// The same with the given monitor; nothing for an index out of range.
void PlaceFormOnGivenMonitor(QWidget* form, int monitorIndex);
// support/placement.h MonitorRelative for the form's current rectangle.
int MonitorRelative(const QWidget* form, int coordinate, bool horizontal);

// Reads prefix ".Width", ".Height", ".Left", ".Top" (not for kPlaceSizeOnly)
// and ".Add0" from the user settings in `folder` (empty prefix: the form's
// object name), applies them within the form's size limits, places the form
// (PlaceFormOnMonitor, not forced) and returns the ".Add0" value.
int RestoreFormPosition(QWidget* form, std::string_view folder, std::string_view prefix, int extraDefault,
                        int placementKind);
// Writes the keys RestoreFormPosition reads; ".Add0" unless extra is -1.
void SaveFormPosition(QWidget* form, std::string_view folder, std::string_view prefix, int extra, bool cascade);

// Raises and activates the window. A window of another process (the host's)
// cannot be brought forward here; the platform decides.
void BringToFront(QWidget* window);

}  // namespace sp

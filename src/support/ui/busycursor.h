// The busy cursor: Qt's busy cursor as the application's override cursor.
//
// BusyCursorOn / BusyCursorOff set and clear it (they do not nest: one Off
// clears any number of On). Core code shows it through TBusyScope
// (support/busyhook.h) once InstallBusyCursorHook ran; a scope never clears a
// busy cursor that was on before it began. Calls from threads other than the
// GUI thread are ignored.
// REQUIRES: a QGuiApplication exists.
#pragma once

namespace sp {

void BusyCursorOn();
void BusyCursorOff();
// True while the busy cursor is shown.
bool BusyCursorShown();

// Lets core code's busy scopes show the cursor; run once at start.
void InstallBusyCursorHook();
void RemoveBusyCursorHook();

}  // namespace sp

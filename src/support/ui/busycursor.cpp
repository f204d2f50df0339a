#include "support/ui/busycursor.h"

#include <QCursor>
#include <QGuiApplication>
#include <QThread>

#include "support/busyhook.h"

namespace sp {

namespace {

// GUI thread only, so no lock.
bool explicitBusy = false;
int scopeDepth = 0;
bool shown = false;

bool OnGuiThread() {
  const QCoreApplication* app = QCoreApplication::instance();
  return app && QThread::currentThread() == app->thread();
}

void Apply() {
  const bool wanted = explicitBusy || scopeDepth > 0;
  if (wanted == shown) return;
  if (wanted) {
    QGuiApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
  } else {
    QGuiApplication::restoreOverrideCursor();
  }
  shown = wanted;
}

void ScopeHook(bool busy) {
  if (!OnGuiThread()) return;
  scopeDepth += busy ? 1 : -1;
  if (scopeDepth < 0) scopeDepth = 0;
  Apply();
}

}  // namespace

void BusyCursorOn() {
  if (!OnGuiThread()) return;
  explicitBusy = true;
  Apply();
}

void BusyCursorOff() {
  if (!OnGuiThread()) return;
  explicitBusy = false;
  Apply();
}

bool BusyCursorShown() { return shown; }

void InstallBusyCursorHook() { InstallBusyHook(&ScopeHook); }
void RemoveBusyCursorHook() { InstallBusyHook(nullptr); }

}  // namespace sp

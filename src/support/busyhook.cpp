#include "support/busyhook.h"

#include <atomic>

namespace sp {

namespace {
std::atomic<TBusyHook> installedHook{nullptr};
}

void InstallBusyHook(TBusyHook hook) { installedHook.store(hook); }

TBusyScope::TBusyScope() : hook_(installedHook.load()) {
  if (hook_) hook_(true);
}

TBusyScope::~TBusyScope() {
  if (hook_) hook_(false);
}

}  // namespace sp

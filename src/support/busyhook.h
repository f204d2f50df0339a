// Lets core code show the busy cursor while it works without knowing about
// windows. The windows layer installs a hook at start; without one, a
// TBusyScope does nothing. The hook is called on the thread of the scope and
// must itself ignore calls from threads that own no windows.
#pragma once

namespace sp {

using TBusyHook = void (*)(bool busy);

// Installs the process's hook (nullptr removes it). Safe from any thread.
void InstallBusyHook(TBusyHook hook);

// Busy from construction to destruction.
class TBusyScope {
 public:
  TBusyScope();
  ~TBusyScope();
  TBusyScope(const TBusyScope&) = delete;
  TBusyScope& operator=(const TBusyScope&) = delete;

 private:
  TBusyHook hook_;  // the hook seen at construction, so on and off pair up
};

}  // namespace sp

// The owner thread's event loop as the core sees it. The core never touches a
// window system: it posts jobs to the owner thread and pumps pending jobs while
// it waits. sheetpull installs a dispatcher on the Qt event loop; tests and the
// host stand-ins use TPlainDispatcher.
//
// Post may be called from any thread; PumpFor, RunPending and Install only on
// the owner thread (the thread that created the dispatcher).
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace sp {

class IDispatcher {
 public:
  using Job = std::function<void()>;
  virtual ~IDispatcher() = default;

  // Queues `job` to run on the owner thread; never runs it inline.
  virtual void Post(Job job) = 0;
  // Runs jobs as they arrive for `milliseconds`, then returns.
  virtual void PumpFor(int milliseconds) = 0;
  virtual bool IsOwnerThread() const = 0;

  // Runs `job` on the owner thread and returns when it has run: inline on the
  // owner thread, else posted and waited for. REQUIRES: the owner thread keeps
  // pumping while another thread waits here, or the waiter blocks forever.
  void Send(const Job& job);
};

// Installs the process's dispatcher (not owned); nullptr removes it.
void InstallDispatcher(IDispatcher* dispatcher);
// The installed dispatcher. REQUIRES: one is installed.
IDispatcher& Dispatcher();

// Pumps the installed dispatcher for `milliseconds`; without one, sleeps.
void PumpMessagesFor(int milliseconds);

// A dispatcher on a plain queue: jobs run inside PumpFor or RunPending.
class TPlainDispatcher : public IDispatcher {
 public:
  TPlainDispatcher();
  void Post(Job job) override;
  void PumpFor(int milliseconds) override;
  bool IsOwnerThread() const override;

  // Runs the jobs queued now (and those they queue), without waiting.
  void RunPending();
  // Pumps until `done()` holds or `milliseconds` passed; returns done().
  bool PumpUntil(const std::function<bool()>& done, int milliseconds);

 private:
  bool RunOne(std::unique_lock<std::mutex>& lock);

  std::thread::id owner_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<Job> jobs_;
};

}  // namespace sp

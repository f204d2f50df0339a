// A small pool of worker threads for background jobs that must not block the
// user interface (starting a document's program, say).
//
// Post may be called from any thread. Jobs run in no particular order across
// the threads; a job must not throw (an escaping exception is swallowed).
// Destroying the pool runs the jobs still queued, then joins the threads.
#pragma once

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace sp {

class TWorkerPool {
 public:
  using Job = std::function<void()>;

  // REQUIRES: threads >= 1.
  explicit TWorkerPool(int threads);
  ~TWorkerPool();
  TWorkerPool(const TWorkerPool&) = delete;
  TWorkerPool& operator=(const TWorkerPool&) = delete;

  void Post(Job job);
  // Returns when no job is queued or running.
  void WaitIdle();

 private:
  void Work();

  std::mutex mutex_;
  std::condition_variable wake_;  // a job arrived, or stopping
  std::condition_variable idle_;  // a job finished
  std::deque<Job> jobs_;
  int running_ = 0;
  bool stopping_ = false;
  std::vector<std::thread> threads_;
};

}  // namespace sp

#include "support/workerpool.h"

namespace sp {

TWorkerPool::TWorkerPool(int threads) {
  for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
}

TWorkerPool::~TWorkerPool() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  wake_.notify_all();
  for (auto& thread : threads_) thread.join();
}

void TWorkerPool::Post(Job job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  wake_.notify_one();
}

void TWorkerPool::WaitIdle() {
  std::unique_lock<std::mutex> lock(mutex_);
  idle_.wait(lock, [this] { return jobs_.empty() && running_ == 0; });
}

void TWorkerPool::Work() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    wake_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (jobs_.empty()) return;  // stopping, and everything queued has run
    Job job = std::move(jobs_.front());
    jobs_.pop_front();
    ++running_;
    lock.unlock();
    try {
      job();
    } catch (...) {
      // A job's failure is its own; the worker goes on.
    }
    lock.lock();
    --running_;
    idle_.notify_all();
  }
}

}  // namespace sp

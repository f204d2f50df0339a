#include "platform/dispatcher.h"

#include <atomic>
#include <chrono>
#include <future>

#include "platform/clock.h"

namespace sp {

namespace {
std::atomic<IDispatcher*> installed{nullptr};
}

void IDispatcher::Send(const Job& job) {
  if (IsOwnerThread()) {
    job();
    return;
  }
  std::promise<void> ran;
  auto done = ran.get_future();
  Post([&] {
    try {
      job();
      ran.set_value();
    } catch (...) {
      ran.set_exception(std::current_exception());
    }
  });
  done.get();
}

void InstallDispatcher(IDispatcher* dispatcher) { installed.store(dispatcher); }

IDispatcher& Dispatcher() { return *installed.load(); }

void PumpMessagesFor(int milliseconds) {
  if (IDispatcher* d = installed.load()) d->PumpFor(milliseconds);
  else SleepMs(milliseconds);
}

TPlainDispatcher::TPlainDispatcher() : owner_(std::this_thread::get_id()) {}

bool TPlainDispatcher::IsOwnerThread() const { return std::this_thread::get_id() == owner_; }

void TPlainDispatcher::Post(Job job) {
  {
    std::lock_guard lock(mutex_);
    jobs_.push_back(std::move(job));
  }
  arrived_.notify_one();
}

bool TPlainDispatcher::RunOne(std::unique_lock<std::mutex>& lock) {
  if (jobs_.empty()) return false;
  Job job = std::move(jobs_.front());
  jobs_.pop_front();
  lock.unlock();
  job();
  lock.lock();
  return true;
}

void TPlainDispatcher::RunPending() {
  std::unique_lock lock(mutex_);
  while (RunOne(lock)) {
  }
}

void TPlainDispatcher::PumpFor(int milliseconds) {
  PumpUntil([] { return false; }, milliseconds);
}

bool TPlainDispatcher::PumpUntil(const std::function<bool()>& done, int milliseconds) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
  std::unique_lock lock(mutex_);
  while (true) {
    while (RunOne(lock)) {
    }
    lock.unlock();
    const bool finished = done();
    lock.lock();
    if (finished) return true;
    if (std::chrono::steady_clock::now() >= deadline) return false;
    arrived_.wait_until(lock, deadline, [&] { return !jobs_.empty(); });
  }
}

}  // namespace sp

#include "platform/dispatcher.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "platform/clock.h"

namespace sp {
namespace {

TEST(PlainDispatcher, JobsRunOnTheOwnerThreadInOrder) {
  TPlainDispatcher d;
  std::vector<int> order;
  std::thread worker([&] {
    for (int i = 0; i < 100; ++i) d.Post([&order, i] { order.push_back(i); });
  });
  worker.join();
  EXPECT_TRUE(order.empty());  // nothing runs before the owner pumps
  d.RunPending();
  ASSERT_EQ(order.size(), 100u);
  for (int i = 0; i < 100; ++i) EXPECT_EQ(order[i], i);
}

TEST(PlainDispatcher, SendWaitsForTheOwnerAndCarriesExceptions) {
  TPlainDispatcher d;
  std::atomic<bool> sent{false};
  bool threw = false;
  std::thread worker([&] {
    d.Send([] {});
    sent = true;
    try {
      d.Send([] { throw std::runtime_error("boom"); });
    } catch (const std::runtime_error&) {
      threw = true;
    }
  });
  EXPECT_TRUE(d.PumpUntil([&] { return sent.load(); }, 5000));
  d.PumpFor(50);
  worker.join();
  EXPECT_TRUE(threw);
  bool inline_ran = false;
  d.Send([&] { inline_ran = true; });  // on the owner thread: runs at once
  EXPECT_TRUE(inline_ran);
}

TEST(PlainDispatcher, PumpForWaitsTheTimeAndPumpUntilGivesUp) {
  TPlainDispatcher d;
  const uint64_t start = TickCount();
  d.PumpFor(60);
  EXPECT_GE(TickCount() - start, 60u);
  EXPECT_FALSE(d.PumpUntil([] { return false; }, 20));
}

TEST(PumpMessagesFor, UsesTheInstalledDispatcher) {
  TPlainDispatcher d;
  InstallDispatcher(&d);
  int ran = 0;
  d.Post([&] { ++ran; });
  PumpMessagesFor(1);
  EXPECT_EQ(ran, 1);
  InstallDispatcher(nullptr);
}

}  // namespace
}  // namespace sp

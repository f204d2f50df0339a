#include <QCoreApplication>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/ui/qtdispatcher.h"
#include "support/ui/qtext.h"

namespace sp {
namespace {

TEST(QtText, ConvertsAtTheEdge) {
  EXPECT_EQ(ToQString("M\xE4rz \x80"), QString::fromUtf8("M\u00E4rz \u20AC"));
  EXPECT_EQ(FromQString(QString::fromUtf8("St\u00FCck \u4E2D")), "St\xFC" "ck ?");
}

TEST(QtDispatcher, RunsJobsFromOtherThreadsOnTheOwnerThread) {
  int argc = 0;
  QCoreApplication app(argc, nullptr);
  TQtDispatcher dispatcher;
  InstallDispatcher(&dispatcher);
  std::atomic<bool> ranOnOwner{false};
  int handedOver = 0;
  std::thread worker([&] {
    dispatcher.Post([&] { ranOnOwner = dispatcher.IsOwnerThread(); });
    dispatcher.Send([&] { handedOver = 42; });  // returns only after the job ran
    EXPECT_EQ(handedOver, 42);
  });
  while (!ranOnOwner || handedOver == 0) PumpMessagesFor(10);
  worker.join();
  EXPECT_TRUE(ranOnOwner);
  InstallDispatcher(nullptr);
}

}  // namespace
}  // namespace sp

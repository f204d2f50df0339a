// The QApplication of a GUI test program, and a way to act on a modal window
// once it shows (the test's code runs inside the modal loop).
#pragma once

#include <QApplication>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace sp {

class TGuiEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    static int argc = 1;
    static char name[] = "gui_test";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
    QApplication::setApplicationDisplayName(QStringLiteral("Excel-Import"));
  }
  void TearDown() override { app_.reset(); }

 private:
  std::unique_ptr<QApplication> app_;
};

// Runs `action` with the modal window as soon as there is one (polled on the
// event loop, so it runs inside the window's modal loop). A window that never
// shows fails the test instead of hanging it.
inline void WhenModalShown(std::function<void(QWidget*)> action, int giveUpMs = 10000) {
  auto* poll = new QTimer();
  auto waited = std::make_shared<int>(0);
  QObject::connect(poll, &QTimer::timeout, [poll, waited, action, giveUpMs] {
    QWidget* modal = QApplication::activeModalWidget();
    if (modal && modal->isVisible()) {
      poll->stop();
      poll->deleteLater();
      action(modal);
    } else if ((*waited += 10) > giveUpMs) {
      poll->stop();
      poll->deleteLater();
      ADD_FAILURE() << "no modal window appeared";
    }
  });
  poll->start(10);
}

}  // namespace sp

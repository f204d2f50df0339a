#include "support/ui/qtdispatcher.h"

#include <algorithm>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <QTimer>

namespace sp {

TQtDispatcher::TQtDispatcher() : receiver_(new QObject) {}

TQtDispatcher::~TQtDispatcher() { delete receiver_; }

void TQtDispatcher::Post(Job job) {
  QMetaObject::invokeMethod(receiver_, std::move(job), Qt::QueuedConnection);
}

void TQtDispatcher::PumpFor(int milliseconds) {
  // A nested loop sleeps between events instead of spinning.
  QEventLoop loop;
  QTimer::singleShot(std::max(milliseconds, 0), &loop, &QEventLoop::quit);
  loop.exec();
}

bool TQtDispatcher::IsOwnerThread() const { return QThread::currentThread() == receiver_->thread(); }

}  // namespace sp

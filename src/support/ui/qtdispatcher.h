// The dispatcher of the windows: jobs posted from any thread run on the Qt
// event loop of the thread that created it (the GUI thread).
// REQUIRES: a QCoreApplication exists for the dispatcher's whole life.
#pragma once

#include <QObject>

#include "platform/dispatcher.h"

namespace sp {

class TQtDispatcher : public IDispatcher {
 public:
  TQtDispatcher();
  ~TQtDispatcher() override;
  void Post(Job job) override;
  // Processes events (posted jobs, paint, input) for `milliseconds`.
  void PumpFor(int milliseconds) override;
  bool IsOwnerThread() const override;

 private:
  QObject* receiver_;  // lives on the owner thread; posted jobs are queued to it
};

}  // namespace sp

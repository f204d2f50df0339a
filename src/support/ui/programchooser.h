// The windows' side of document opening: the user picks the program for a
// document in a file dialog while holding the right Ctrl key.
//
// The right Ctrl key is told from the left one by its key symbol, which the
// chooser watches on every key event of the application; where the platform
// gives no key symbols, either Ctrl key counts.
// GUI thread only. REQUIRES: a QApplication exists while installed.
#pragma once

#include <QObject>
#include <string>

#include "support/opendocument.h"

namespace sp {

class TQtProgramChooser : public QObject, public IProgramChooser {
  Q_OBJECT

 public:
  TQtProgramChooser();
  ~TQtProgramChooser() override;

  bool ChoiceRequested() override;
  // A file dialog "Öffnen" over the active window, filters "Ausführbare
  // Dateien" (executable files) and "Alle Dateien".
  bool ChooseProgram(const std::string& preset, const std::string& startFolder, std::string& chosen) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  bool rightCtrlDown_ = false;
};

// Installs what the core reaches the windows through: the busy cursor for
// busy scopes and the program chooser. Run once at start; Remove before the
// QApplication goes.
void InstallSupportWindowHooks();
void RemoveSupportWindowHooks();

}  // namespace sp

#include "support/ui/programchooser.h"

#include <QApplication>
#include <QFileDialog>
#include <QKeyEvent>
#include <memory>

#include "support/text1252.h"
#include "support/ui/busycursor.h"
#include "support/ui/qtext.h"

namespace sp {

namespace {

constexpr quint32 kRightControlSymbol = 0xFFE4;  // the keysym Control_R
std::unique_ptr<TQtProgramChooser> installedChooser;

}  // namespace

TQtProgramChooser::TQtProgramChooser() { qApp->installEventFilter(this); }

TQtProgramChooser::~TQtProgramChooser() {
  if (qApp) qApp->removeEventFilter(this);
}

bool TQtProgramChooser::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease: {
      const auto* key = static_cast<QKeyEvent*>(event);
      if (key->key() == Qt::Key_Control && !key->isAutoRepeat()) {
        const quint32 symbol = key->nativeVirtualKey();
        if (symbol == 0 || symbol == kRightControlSymbol) rightCtrlDown_ = event->type() == QEvent::KeyPress;
      }
      break;
    }
    case QEvent::ApplicationDeactivate:
      rightCtrlDown_ = false;  // its release goes elsewhere
      break;
    default:
      break;
  }
  return QObject::eventFilter(watched, event);
}

bool TQtProgramChooser::ChoiceRequested() { return rightCtrlDown_; }

bool TQtProgramChooser::ChooseProgram(const std::string& preset, const std::string& startFolder,
                                      std::string& chosen) {
  QFileDialog dialog(QApplication::activeWindow(), ToQString(Ansi("Öffnen")));
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setFileMode(QFileDialog::ExistingFile);
  const QString executables = ToQString(Ansi("Ausführbare Dateien (*)"));
  dialog.setNameFilters({executables, QStringLiteral("Alle Dateien (*)")});
  const QDir::Filters base = QDir::AllDirs | QDir::Files | QDir::NoDotAndDotDot;
  dialog.setFilter(base | QDir::Executable);
  QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog, executables, base](const QString& f) {
    dialog.setFilter(f == executables ? base | QDir::Executable : base);
  });
  if (!preset.empty()) {
    dialog.selectFile(ToQString(preset));
  } else if (!startFolder.empty()) {
    dialog.setDirectory(ToQString(startFolder));
  }
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
  chosen = FromQString(dialog.selectedFiles().front());
  return true;
}

void InstallSupportWindowHooks() {
  InstallBusyCursorHook();
  if (!installedChooser) installedChooser = std::make_unique<TQtProgramChooser>();
  InstallProgramChooser(installedChooser.get());
}

void RemoveSupportWindowHooks() {
  InstallProgramChooser(nullptr);
  installedChooser.reset();
  RemoveBusyCursorHook();
}

}  // namespace sp

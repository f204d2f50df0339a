// TSymbolDlg: a picker of special characters (typographic quotes, fractions,
// units such as m² and m³). Its symbols and cell size come from the user
// settings ("TSymbolDlg.ASCII.Chars", "TSymbolDlg.Grid.XY", both written
// back on showing so that users find and edit them).
//
// Enter in the grid, a double-click, F3 or "&Fertig" choose the selected
// cell: OnSymbolChosen gets its text and the dialog closes accepted. Escape
// or "&Abbruch" close it without choosing.
// GUI thread only; shown modally, owned by whoever created it.
#pragma once

#include <QDialog>
#include <QPushButton>
#include <QTableWidget>
#include <functional>
#include <string>

namespace sp {

class TSymbolDlg : public QDialog {
  Q_OBJECT

 public:
  // `settingsFolder`: the folder of "UserMode.INI" (empty: the program folder).
  explicit TSymbolDlg(QWidget* parent = nullptr, std::string settingsFolder = {});

  std::function<void(const std::string& symbol)> OnSymbolChosen;

  QTableWidget* Grid;
  QWidget* BottomPanel;
  QPushButton* FCancel;
  QPushButton* fok;

  // The text of the cell at row, column ("" outside the symbols).
  std::string SymbolAt(int row, int column) const;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Fill();
  void ChooseSelected();

  std::string settingsFolder_;
  bool filled_ = false;
};

}  // namespace sp

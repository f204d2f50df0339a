// The popup cell editor: a small borderless window directly below a grid
// cell with one bold input line, a help text above it (HTML; a clicked link
// inserts its target text at the cursor), the key hints "ENTER übernimmt" /
// "ESC Abbruch" and the buttons "&Fertig" and "&Abbruch".
//
// Enter confirms and Escape cancels, wherever the focus is. The input line
// has the context menu TTextoxPopupMenu. Once shown, the editor sets the
// input's text and selection and, when given, types the initial character
// into it, so the key that opened the editor is not lost.
// GUI thread only; each editor lives for one modal showing.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <string>
#include <string_view>

#include "support/ui/htmllabel.h"
#include "support/ui/textpopupmenu.h"

namespace sp {

class TEditor : public QDialog {
  Q_OBJECT

 public:
  explicit TEditor(QWidget* parent = nullptr);

  // What the editor shows once it is up. initialCharacter: a UTF-16 code,
  // 0 for none.
  void SetInitialInput(std::string_view text, int selectionStart, int selectionLength, char16_t initialCharacter);
  // Replaces "Geben Sie Ihre Daten ein:" (nothing for an empty text).
  void SetHelpText(std::string_view html);
  std::string InputText() const;

  QWidget* Panel1;
  TSBHTM* Help;
  QWidget* Panel3;
  QLineEdit* RE;
  TTextoxPopupMenu* REMenu;
  QWidget* Panel2;
  TSBHTM* HTMLabel2;
  QWidget* PMAIN;
  QPushButton* FCANCEL;
  QPushButton* FOK;

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ApplyInitialInput();
  void Panel1Resized();

  int panel1DesignHeight_ = 0;
  int designHeight_ = 0;
  std::string initialText_;
  int selectionStart_ = 0;
  int selectionLength_ = 0;
  char16_t initialCharacter_ = 0;
};

// Opens the editor below a cell: its left edge at the cell's left, its top
// one default row height below the cell's top. `cell` is in the coordinates
// of `area` (a grid's viewport). True with `text` replaced by the input when
// the user confirms; false with `text` unchanged when the user cancels. The
// caller puts the text into its cell.
bool EditGridCellAt(QWidget* area, const QRect& cell, int defaultRowHeight, std::string& text,
                    std::string_view helpHtml, int selectionLength, int selectionStart, char16_t initialCharacter);
// The same for the cell of model row `row` and column `column` of a table
// view, with the vertical header's default section size as the default row
// height. A grid whose fixed rows are not model rows maps its row first.
bool EditGridCell(QTableView* grid, std::string& text, std::string_view helpHtml, int selectionLength,
                  int selectionStart, char16_t initialCharacter, int row, int column);

}  // namespace sp

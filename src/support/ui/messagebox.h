// The message and input box: formatted (HTML) text, an optional help text
// behind "Hilfe", and, for input, a combo box that takes free text or picks
// from a list. The box stays on top, takes the foreground back while it is
// shown (until a link in it was clicked) and closes on a link click after
// handing the link to the document opener.
//
// Keys reach the box before its controls: F1 is swallowed; in message mode
// any key without Shift, Ctrl or Alt closes; Enter confirms (cancels when
// "Abbrechen" has the focus); Escape cancels (confirms when the cancel button
// is hidden) unless the drop-down list is open, which it only closes; Left
// and Right move the focus between "Übernehmen" and "Abbrechen" while one of
// them has it.
//
// GUI thread only. Each box lives for one call: created, shown modally,
// deleted. REQUIRES: a QApplication exists.
#pragma once

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <string>
#include <string_view>
#include <vector>

#include "support/ui/htmllabel.h"

namespace sp {

// Font style of the input, as bits.
enum TFontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4, fsStrikeOut = 8 };

class TFSB_BOX : public QDialog {
  Q_OBJECT

 public:
  explicit TFSB_BOX(QWidget* parent = nullptr);
  ~TFSB_BOX() override;

  // Fill the box for one of its two modes before it is shown.
  void PrepareMessage(std::string_view message, std::string_view helpText, std::string_view caption);
  void PrepareInput(std::string_view defaultValue, std::string_view prompt, std::string_view helpText,
                    unsigned fontStyle, const std::vector<std::string>* items, bool pickFromList, bool hideCancel,
                    std::string_view caption);
  // What ShowInputBox returns for the way the box was closed.
  std::string InputResult() const;

  // Components, top to bottom.
  QScrollArea* TextArea;
  TSBHTM* TextLabel;
  QWidget* Pinput;
  QWidget* FlatPanel1;
  QLabel* Label1;
  QComboBox* FINPE;
  QWidget* Panel3;
  QPushButton* FB_ICANCEL;
  QPushButton* FB_IOK;
  QPushButton* FB_HELPI;
  QWidget* Pmsg;
  QWidget* Panel2;
  QPushButton* FB_BREAK2;
  QPushButton* FBhelpS;
  QWidget* FP_help;
  TSBHTM* HelpLabel;

  std::string HelpText;
  bool LinkClicked = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  bool InputMode() const { return !Pinput->isHidden(); }
  bool HandleKey(QKeyEvent* key);
  void LayOutForShowing();
  void ShowHelp(QPushButton* pressed);
  void AnchorClicked(const std::string& target);
  int LabelAreaHeight(int labelHeight) const;

  bool pickFromList_ = false;
  bool hasItems_ = false;
  bool filtering_ = false;
  int helpHeight_ = 0;  // height added by the shown help panel
  int maxHeight_ = 0;   // 70 % of the screen's height
};

// A modal box with the message and "Schließen"; "Hilfe" only with a help
// text; the caption, or the application's display name when empty.
void ShowMessageBox(std::string_view message, std::string_view helpText = {}, std::string_view caption = {});

// A modal box with the prompt and the input. Returns on "Übernehmen" the
// trimmed input text, or with pickFromList and items the chosen item's index
// in decimal ("-1" when none is chosen); on cancel "" or, with pickFromList,
// "-1". `items` may be nullptr (no list).
std::string ShowInputBox(std::string_view defaultValue, std::string_view prompt, std::string_view helpText = {},
                         unsigned fontStyle = 0, const std::vector<std::string>* items = nullptr,
                         bool pickFromList = false, bool hideCancel = false, std::string_view caption = {});

}  // namespace sp

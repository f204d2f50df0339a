// TTextoxPopupMenu: the context menu of text inputs: "Ausschneiden",
// "Kopieren", "Einfügen", "Alles markieren" and "Symbol einfügen" (the
// symbol picker), on a yellow-to-light-blue background with the vertical
// banner "Text bearbeiten".
//
// The menu works on one control (a QLineEdit, QTextEdit or QPlainTextEdit,
// or any widget with the slots cut/copy/paste/selectAll). A control without a
// "readOnly" property counts as read-only. Inserting a symbol goes through the
// clipboard (the clipboard keeps it) and the control's paste.
// GUI thread only; the menu belongs to its Qt parent; the control must
// outlive the menu's showing.
#pragma once

#include <QIcon>
#include <QMenu>
#include <functional>
#include <string>

namespace sp {

class TTextoxPopupMenu : public QMenu {
  Q_OBJECT

 public:
  explicit TTextoxPopupMenu(QWidget* parent = nullptr);

  // Opens the menu for `control` at the global position.
  void Popup(QWidget* control, const QPoint& globalPosition);
  QWidget* Control() const { return control_; }

  virtual void ShowSymbolDialog();
  // Puts the text on the clipboard and pastes it into the control.
  virtual void InsertText(const std::string& text);
  // Enables the items for the control as it is now and focuses it.
  virtual void PrepareMenu(QWidget* control);
  virtual void MenuItemClick(QAction* item);
  virtual void SetStandardItemsVisible(bool visible);
  virtual void SetBannerCaption(const std::string& caption);
  virtual QAction* AddMenuItem(const std::string& caption, int tag, const QIcon& picture,
                               std::function<void()> onClick);
  virtual void ClearMenuItems();

  // The folder of "UserMode.INI" for the symbol picker (empty: the program
  // folder).
  std::string SymbolSettingsFolder;

  QAction* CutItem = nullptr;
  QAction* CopyItem = nullptr;
  QAction* PasteItem = nullptr;
  QAction* SeparatorItem = nullptr;
  QAction* SelectAllItem = nullptr;
  QAction* SymbolItem = nullptr;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  void AddStandardItems();

  QWidget* control_ = nullptr;
  QString banner_;
};

}  // namespace sp

// The five in-place editors a TDataGrid owns: four of one edit family for
// data cells (plain text, numeric, with ellipsis button, combo) and the
// second-line memo. The grid creates each once, parents it to its viewport,
// places, prepares and shows the one a cell needs, and reads it back when it
// closes. Editors convert text at the Qt edge only; Text()/SetText() take
// Windows-1252. GUI thread only.
#pragma once

#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QToolButton>
#include <functional>
#include <string>

#include "datagrid/gridtypes.h"
#include "datagrid/numericrules.h"

namespace sp {

// What every editor of the edit family offers the grid and OnEditorPrepared.
class TInplaceEditControl {
 public:
  virtual ~TInplaceEditControl() = default;
  virtual QWidget* Widget() = 0;
  virtual std::string Text() const = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual bool ReadOnly() const = 0;
  virtual void SetReadOnly(bool readOnly) = 0;
  virtual void SetEditorAlignment(TAlignment alignment) = 0;
  virtual void SetMaxLength(int length) = 0;  // 0: no limit
  virtual int CaretPosition() const = 0;
  virtual int TextLength() const = 0;
  virtual int SelectionStart() const = 0;
  virtual int SelectionLength() const = 0;
  virtual void SetCaretPosition(int position) = 0;
  virtual void SelectAll() = 0;
  // Puts a typed character in as if it had been typed (numeric rules apply).
  virtual void TypeCharacter(char character) = 0;
};

// A line edit as the family's base for three of the editors.
class TInplaceLineEdit : public QLineEdit, public TInplaceEditControl {
 public:
  explicit TInplaceLineEdit(QWidget* parent);
  QWidget* Widget() override { return this; }
  std::string Text() const override;
  void SetText(const std::string& text) override;
  bool ReadOnly() const override { return isReadOnly(); }
  void SetReadOnly(bool readOnly) override { setReadOnly(readOnly); }
  void SetEditorAlignment(TAlignment alignment) override;
  void SetMaxLength(int length) override;
  int CaretPosition() const override { return cursorPosition(); }
  int TextLength() const override { return static_cast<int>(text().size()); }
  int SelectionStart() const override;
  int SelectionLength() const override { return static_cast<int>(selectedText().size()); }
  void SetCaretPosition(int position) override { setCursorPosition(position); }
  void SelectAll() override { selectAll(); }
  void TypeCharacter(char character) override;
};

// The plain text editor.
class TI_InplaceChoiceEdit : public TInplaceLineEdit {
 public:
  using TInplaceLineEdit::TInplaceLineEdit;
};

// The numeric editor: filters typed characters by TNumericRules and checks
// the confirmed text. Its button, shown when the column has ButtonExists,
// selects the whole number for retyping.
class TI_InplaceFloatEdit : public TInplaceLineEdit {
 public:
  explicit TI_InplaceFloatEdit(QWidget* parent);
  void SetRules(const TNumericRules& rules) { rules_ = rules; }
  const TNumericRules& Rules() const { return rules_; }
  void SetButtonVisible(bool visible);
  // The text to store: false when the value is not accepted.
  bool ConfirmedText(std::string& accepted) const;
  void TypeCharacter(char character) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  TNumericRules rules_;
  QToolButton* button_;
};

// The editor with an ellipsis button; the button and F2 ask for the
// external editor through OnExternalEditor.
class TI_InplaceGridEdit : public TInplaceLineEdit {
 public:
  explicit TI_InplaceGridEdit(QWidget* parent);
  std::function<void()> OnExternalEditor;
  QToolButton* Button() const { return button_; }

 protected:
  void resizeEvent(QResizeEvent* event) override;

 private:
  QToolButton* button_;
};

// The combo editor: items from the column's PickList, free text allowed.
// While IgnoreDeleteKeys is set, Delete and Backspace do nothing.
class TI_InplaceComboEdit : public QComboBox, public TInplaceEditControl {
 public:
  explicit TI_InplaceComboEdit(QWidget* parent);
  void SetItems(const std::vector<std::string>& items);
  bool IgnoreDeleteKeys = false;

  QWidget* Widget() override { return this; }
  std::string Text() const override;
  void SetText(const std::string& text) override;
  bool ReadOnly() const override { return readOnly_; }
  void SetReadOnly(bool readOnly) override;
  void SetEditorAlignment(TAlignment alignment) override;
  void SetMaxLength(int length) override;
  int CaretPosition() const override { return lineEdit()->cursorPosition(); }
  int TextLength() const override { return static_cast<int>(currentText().size()); }
  int SelectionStart() const override;
  int SelectionLength() const override { return static_cast<int>(lineEdit()->selectedText().size()); }
  void SetCaretPosition(int position) override { lineEdit()->setCursorPosition(position); }
  void SelectAll() override { lineEdit()->selectAll(); }
  void TypeCharacter(char character) override;

 protected:
  void keyPressEvent(QKeyEvent* event) override;

 private:
  bool readOnly_ = false;
};

// The second-line editor, a memo.
class TI_InplaceSecondEdit : public QPlainTextEdit {
 public:
  explicit TI_InplaceSecondEdit(QWidget* parent);
  std::string Text() const;
  void SetText(const std::string& text);
};

}  // namespace sp

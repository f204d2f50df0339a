#include "datagrid/widget/inplaceeditors.h"

#include <QKeyEvent>
#include <QStyle>

#include "datagrid/widget/qtlook.h"
#include "support/text1252.h"
#include "support/ui/qtext.h"

namespace sp {
namespace {

QToolButton* MakeButton(QWidget* parent, const char* text) {
  auto* button = new QToolButton(parent);
  button->setText(QString::fromLatin1(text));
  button->setCursor(Qt::ArrowCursor);
  button->setFocusPolicy(Qt::NoFocus);
  button->hide();
  return button;
}

// Keeps a button at the right edge of its line edit, as high as the edit.
void PlaceButton(QLineEdit& edit, QToolButton& button) {
  const int side = edit.height();
  button.setGeometry(edit.width() - side, 0, side, side);
  edit.setTextMargins(0, 0, button.isVisible() ? side : 0, 0);
}

}  // namespace

TInplaceLineEdit::TInplaceLineEdit(QWidget* parent) : QLineEdit(parent) {
  setFrame(false);
  hide();
}

std::string TInplaceLineEdit::Text() const { return FromQString(text()); }

void TInplaceLineEdit::SetText(const std::string& text) { setText(ToQString(text)); }

void TInplaceLineEdit::SetEditorAlignment(TAlignment alignment) { setAlignment(QtAlignmentOf(alignment)); }

void TInplaceLineEdit::SetMaxLength(int length) { setMaxLength(length > 0 ? length : 32767); }

int TInplaceLineEdit::SelectionStart() const { return hasSelectedText() ? selectionStart() : cursorPosition(); }

void TInplaceLineEdit::TypeCharacter(char character) {
  if (!isReadOnly()) insert(ToQString(std::string(1, character)));
}

TI_InplaceFloatEdit::TI_InplaceFloatEdit(QWidget* parent) : TInplaceLineEdit(parent), button_(MakeButton(this, "...")) {
  connect(button_, &QToolButton::clicked, this, [this] {
    setFocus();
    selectAll();
  });
}

void TI_InplaceFloatEdit::SetButtonVisible(bool visible) {
  button_->setVisible(visible);
  PlaceButton(*this, *button_);
}

void TI_InplaceFloatEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  PlaceButton(*this, *button_);
}

bool TI_InplaceFloatEdit::ConfirmedText(std::string& accepted) const {
  return ConfirmNumericText(rules_, Text(), accepted);
}

void TI_InplaceFloatEdit::TypeCharacter(char character) {
  if (isReadOnly()) return;
  const std::string text = Text();
  switch (NumericKeyVerdict(rules_, text, SelectionStart(), SelectionLength(), character)) {
    case TKeyVerdict::Refuse: return;
    case TKeyVerdict::ClearThenAccept: clear(); break;
    case TKeyVerdict::Accept: break;
  }
  insert(ToQString(std::string(1, static_cast<char>(AnsiUpperChar(static_cast<unsigned char>(character))))));
}

void TI_InplaceFloatEdit::keyPressEvent(QKeyEvent* event) {
  const bool control = event->modifiers() & Qt::ControlModifier;
  const bool passes = event->key() == Qt::Key_Backspace ||
                      (control && (event->key() == Qt::Key_C || event->key() == Qt::Key_V || event->key() == Qt::Key_X));
  const QString typed = event->text();
  if (passes || typed.isEmpty() || !typed.at(0).isPrint()) {
    QLineEdit::keyPressEvent(event);
    return;
  }
  const std::string ansi = FromQString(typed);
  for (const char c : ansi) TypeCharacter(c);
  event->accept();
}

TI_InplaceGridEdit::TI_InplaceGridEdit(QWidget* parent) : TInplaceLineEdit(parent), button_(MakeButton(this, "...")) {
  button_->show();
  connect(button_, &QToolButton::clicked, this, [this] {
    if (OnExternalEditor) OnExternalEditor();
  });
}

void TI_InplaceGridEdit::resizeEvent(QResizeEvent* event) {
  QLineEdit::resizeEvent(event);
  PlaceButton(*this, *button_);
}

TI_InplaceComboEdit::TI_InplaceComboEdit(QWidget* parent) : QComboBox(parent) {
  setEditable(true);
  setInsertPolicy(QComboBox::NoInsert);
  setFrame(false);
  hide();
}

void TI_InplaceComboEdit::SetItems(const std::vector<std::string>& items) {
  const QString keep = currentText();
  clear();
  for (const std::string& item : items) addItem(ToQString(item));
  setEditText(keep);
}

std::string TI_InplaceComboEdit::Text() const { return FromQString(currentText()); }

void TI_InplaceComboEdit::SetText(const std::string& text) { setEditText(ToQString(text)); }

void TI_InplaceComboEdit::SetReadOnly(bool readOnly) {
  readOnly_ = readOnly;
  lineEdit()->setReadOnly(readOnly);
}

void TI_InplaceComboEdit::SetEditorAlignment(TAlignment alignment) { lineEdit()->setAlignment(QtAlignmentOf(alignment)); }

void TI_InplaceComboEdit::SetMaxLength(int length) { lineEdit()->setMaxLength(length > 0 ? length : 32767); }

int TI_InplaceComboEdit::SelectionStart() const {
  return lineEdit()->hasSelectedText() ? lineEdit()->selectionStart() : lineEdit()->cursorPosition();
}

void TI_InplaceComboEdit::TypeCharacter(char character) {
  if (!readOnly_) lineEdit()->insert(ToQString(std::string(1, character)));
}

void TI_InplaceComboEdit::keyPressEvent(QKeyEvent* event) {
  if (IgnoreDeleteKeys && (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace)) {
    event->accept();
    return;
  }
  if (readOnly_ && !(event->modifiers() & Qt::AltModifier) && !event->text().isEmpty()) {
    event->accept();  // a read-only combo neither types nor picks by letter
    return;
  }
  QComboBox::keyPressEvent(event);
}

TI_InplaceSecondEdit::TI_InplaceSecondEdit(QWidget* parent) : QPlainTextEdit(parent) {
  setFrameShape(QFrame::Box);
  QPalette colours = palette();
  colours.setColor(QPalette::Base, Qt::white);
  setPalette(colours);
  setToolTip(QString::fromLatin1("F8, F2/F4 bearbeiten"));
  hide();
}

std::string TI_InplaceSecondEdit::Text() const {
  std::string text = FromQString(toPlainText());
  std::string withBreaks;
  withBreaks.reserve(text.size());
  for (const char c : text) {
    if (c == '\n') withBreaks += '\r';
    withBreaks += c;
  }
  return withBreaks;
}

void TI_InplaceSecondEdit::SetText(const std::string& text) {
  QString lines = ToQString(text);
  lines.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  lines.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  setPlainText(lines);
}

}  // namespace sp

#include "support/ui/textpopupmenu.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QPainter>
#include <QPlainTextEdit>
#include <QTextEdit>
#include <QVariant>

#include "support/text1252.h"
#include "support/ui/qtext.h"
#include "support/ui/symboldlg.h"

namespace sp {

namespace {

constexpr int kBannerWidth = 20;

bool IsReadOnly(const QWidget* control) {
  const QVariant readOnly = control->property("readOnly");
  return !readOnly.isValid() || readOnly.toBool();
}

bool HasSelection(const QWidget* control) {
  if (const auto* line = qobject_cast<const QLineEdit*>(control)) return line->hasSelectedText();
  if (const auto* text = qobject_cast<const QTextEdit*>(control)) return text->textCursor().hasSelection();
  if (const auto* plain = qobject_cast<const QPlainTextEdit*>(control)) return plain->textCursor().hasSelection();
  return false;
}

QAction* StandardItem(QMenu* menu, const char* utf8Caption, const char* iconName) {
  return menu->addAction(QIcon::fromTheme(QString::fromLatin1(iconName)), ToQString(Ansi(utf8Caption)));
}

}  // namespace

TTextoxPopupMenu::TTextoxPopupMenu(QWidget* parent) : QMenu(parent) {
  QFont menuFont(QStringLiteral("Tahoma"));
  menuFont.setPointSize(8);
  setFont(menuFont);
  setStyleSheet(QStringLiteral("QMenu { background: qlineargradient(x1:0, y1:0, x2:1, y2:0, stop:0 #ffff00, "
                               "stop:1 #f0fbff); padding-left: %1px; }")
                    .arg(kBannerWidth));
  banner_ = QStringLiteral("Text bearbeiten");
  AddStandardItems();
  connect(this, &QMenu::triggered, this, [this](QAction* item) { MenuItemClick(item); });
}

void TTextoxPopupMenu::AddStandardItems() {
  CutItem = StandardItem(this, "Ausschneiden", "edit-cut");
  CopyItem = StandardItem(this, "Kopieren", "edit-copy");
  PasteItem = StandardItem(this, "Einfügen", "edit-paste");
  SeparatorItem = addSeparator();
  SelectAllItem = StandardItem(this, "Alles markieren", "edit-select-all");
  SymbolItem = StandardItem(this, "Symbol einfügen", "insert-text");
}

void TTextoxPopupMenu::Popup(QWidget* control, const QPoint& globalPosition) {
  PrepareMenu(control);
  popup(globalPosition);
}

void TTextoxPopupMenu::PrepareMenu(QWidget* control) {
  control_ = control;
  if (!control) return;
  const bool readOnly = IsReadOnly(control);
  const bool selection = HasSelection(control);
  if (SymbolItem) SymbolItem->setEnabled(!readOnly);
  if (PasteItem) PasteItem->setEnabled(!readOnly);
  if (CutItem) CutItem->setEnabled(!readOnly && selection);
  if (CopyItem) CopyItem->setEnabled(selection);
  if (SelectAllItem) SelectAllItem->setEnabled(true);
  if (!control->hasFocus()) control->setFocus();
}

void TTextoxPopupMenu::MenuItemClick(QAction* item) {
  if (!control_ || !item) return;
  if (item == SymbolItem) {
    ShowSymbolDialog();
    return;
  }
  const char* slot = item == CutItem ? "cut" : item == CopyItem ? "copy" : item == PasteItem ? "paste"
                                                                          : item == SelectAllItem ? "selectAll"
                                                                                                  : nullptr;
  if (slot) QMetaObject::invokeMethod(control_, slot);
}

void TTextoxPopupMenu::ShowSymbolDialog() {
  TSymbolDlg dialog(control_ ? control_->window() : nullptr, SymbolSettingsFolder);
  dialog.OnSymbolChosen = [this](const std::string& symbol) { InsertText(symbol); };
  dialog.exec();
}

void TTextoxPopupMenu::InsertText(const std::string& text) {
  QGuiApplication::clipboard()->setText(ToQString(text));
  if (control_) QMetaObject::invokeMethod(control_, "paste");
}

void TTextoxPopupMenu::SetStandardItemsVisible(bool visible) {
  for (QAction* item : {CutItem, CopyItem, PasteItem, SeparatorItem, SelectAllItem, SymbolItem}) {
    if (item) item->setVisible(visible);
  }
}

void TTextoxPopupMenu::SetBannerCaption(const std::string& caption) {
  banner_ = ToQString(caption);
  update();
}

QAction* TTextoxPopupMenu::AddMenuItem(const std::string& caption, int tag, const QIcon& picture,
                                       std::function<void()> onClick) {
  QAction* item = addAction(picture, ToQString(caption));
  item->setData(tag);
  if (onClick) connect(item, &QAction::triggered, this, std::move(onClick));
  return item;
}

void TTextoxPopupMenu::ClearMenuItems() {
  clear();
  CutItem = CopyItem = PasteItem = SeparatorItem = SelectAllItem = SymbolItem = nullptr;
}

void TTextoxPopupMenu::paintEvent(QPaintEvent* event) {
  QMenu::paintEvent(event);
  QPainter painter(this);
  const QRect strip(0, 0, kBannerWidth, height());
  QLinearGradient gradient(strip.bottomLeft(), strip.topLeft());
  gradient.setColorAt(0, QColor(128, 128, 128));
  gradient.setColorAt(1, Qt::white);
  painter.fillRect(strip, gradient);
  painter.setPen(Qt::white);
  painter.translate(0, height());
  painter.rotate(-90);
  painter.drawText(QRect(4, 0, height() - 8, kBannerWidth), Qt::AlignLeft | Qt::AlignVCenter, banner_);
}

}  // namespace sp

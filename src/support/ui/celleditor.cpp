#include "support/ui/celleditor.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QTimer>
#include <cstdlib>

#include "support/text1252.h"
#include "support/ui/qtext.h"

namespace sp {

namespace {

constexpr int kDesignClientWidth = 356;
constexpr int kDesignClientHeight = 96;
constexpr int kBorder = 3;
constexpr int kPanel2Height = 38;
constexpr int kPanelMargin = 4;

void MakeGrey(QWidget* label) {
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, Qt::gray);
  label->setPalette(palette);
}

}  // namespace

TEditor::TEditor(QWidget* parent) : QDialog(parent) {
  setObjectName("Editor");
  setWindowTitle(QStringLiteral("Eingabe"));
  setWindowFlags(Qt::Dialog | Qt::FramelessWindowHint);
  QFont font(QStringLiteral("Tahoma"));
  font.setPointSize(8);
  setFont(font);
  setAutoFillBackground(true);
  QPalette caption = palette();
  caption.setColor(QPalette::Window, caption.color(QPalette::Highlight));
  setPalette(caption);

  Panel1 = new QWidget(this);
  Panel1->setAutoFillBackground(true);
  Panel1->setPalette(QApplication::palette());
  Help = new TSBHTM(Panel1);
  MakeGrey(Help);
  Help->setWordWrap(false);
  Help->OnAnchorClick = [this](const std::string& target) { RE->insert(ToQString(target)); };

  Panel3 = new QWidget(this);
  Panel3->setAutoFillBackground(true);
  Panel3->setPalette(QApplication::palette());
  RE = new QLineEdit(Panel3);
  RE->setFrame(false);
  QFont inputFont(QStringLiteral("Tahoma"));
  inputFont.setPointSize(10);
  inputFont.setBold(true);
  RE->setFont(inputFont);
  RE->setContextMenuPolicy(Qt::CustomContextMenu);
  REMenu = new TTextoxPopupMenu(this);
  connect(RE, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { REMenu->Popup(RE, RE->mapToGlobal(at)); });

  Panel2 = new QWidget(this);
  Panel2->setAutoFillBackground(true);
  Panel2->setPalette(QApplication::palette());
  HTMLabel2 = new TSBHTM(Panel2);
  MakeGrey(HTMLabel2);
  HTMLabel2->SetHTMLText(Ansi("ENTER übernimmt<br>ESC Abbruch"));
  HTMLabel2->SetAutoSizing(true, TAutoSizeType::asBoth);
  PMAIN = new QWidget(Panel2);
  FCANCEL = new QPushButton(QStringLiteral("&Abbruch"), PMAIN);
  FOK = new QPushButton(QStringLiteral("&Fertig"), PMAIN);
  FCANCEL->setAutoDefault(false);
  FOK->setAutoDefault(false);
  connect(FOK, &QPushButton::clicked, this, &QDialog::accept);
  connect(FCANCEL, &QPushButton::clicked, this, &QDialog::reject);

  // Design layout; only the height follows the help text afterwards.
  const int width = kDesignClientWidth + 2 * kBorder;
  designHeight_ = kDesignClientHeight + 2 * kBorder;
  resize(width, designHeight_);
  Help->SetHTMLText(Ansi("Geben Sie Ihre Daten ein:"));
  Help->SetAutoSizing(true, TAutoSizeType::asBoth);
  Help->move(kPanelMargin, kPanelMargin);
  panel1DesignHeight_ = Help->height() + 2 * kPanelMargin;
  connect(Help, &TSBHTM::AutoSized, this, &TEditor::Panel1Resized);
  Panel1Resized();
  HTMLabel2->move(kPanelMargin, (kPanel2Height - HTMLabel2->height()) / 2);
  PMAIN->setGeometry(kDesignClientWidth - 170, 0, 170, kPanel2Height);
  FCANCEL->setGeometry(2, 6, 80, 26);
  FOK->setGeometry(86, 6, 80, 26);

  installEventFilter(this);
  RE->installEventFilter(this);
}

void TEditor::Panel1Resized() {
  const int panel1Height = Help->height() + 2 * kPanelMargin;
  const int clientWidth = std::max(kDesignClientWidth, Help->width() + 2 * kPanelMargin);
  const int clientHeight = kDesignClientHeight + std::abs(panel1Height - panel1DesignHeight_);
  resize(clientWidth + 2 * kBorder, clientHeight + 2 * kBorder);
  Panel1->setGeometry(kBorder, kBorder, clientWidth, panel1Height);
  Panel2->setGeometry(kBorder, kBorder + clientHeight - kPanel2Height, clientWidth, kPanel2Height);
  Panel3->setGeometry(kBorder, kBorder + panel1Height, clientWidth, clientHeight - panel1Height - kPanel2Height);
  RE->setGeometry(kPanelMargin, (Panel3->height() - RE->sizeHint().height()) / 2, clientWidth - 2 * kPanelMargin,
                  RE->sizeHint().height());
  PMAIN->move(clientWidth - PMAIN->width(), 0);
}

void TEditor::SetInitialInput(std::string_view text, int selectionStart, int selectionLength,
                              char16_t initialCharacter) {
  initialText_ = std::string(text);
  selectionStart_ = selectionStart;
  selectionLength_ = selectionLength;
  initialCharacter_ = initialCharacter;
}

void TEditor::SetHelpText(std::string_view html) {
  if (!html.empty()) Help->SetHTMLText(html);
}

std::string TEditor::InputText() const { return FromQString(RE->text()); }

void TEditor::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  RE->setFocus();
  // After the showing has settled, like a message the editor posts itself.
  QTimer::singleShot(0, this, &TEditor::ApplyInitialInput);
}

void TEditor::ApplyInitialInput() {
  RE->setText(ToQString(initialText_));
  const int length = static_cast<int>(RE->text().size());
  const int start = std::clamp(selectionStart_, 0, length);
  RE->setSelection(start, std::clamp(selectionLength_, 0, length - start));
  if (initialCharacter_ != 0) {
    const QString typed(QChar(static_cast<char16_t>(initialCharacter_)));
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, typed);
    QApplication::sendEvent(RE, &press);
  }
}

bool TEditor::eventFilter(QObject* watched, QEvent* event) {
  if ((watched == this || watched == RE) && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      accept();
      return true;
    }
    if (key == Qt::Key_Escape) {
      reject();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

bool EditGridCellAt(QWidget* area, const QRect& cell, int defaultRowHeight, std::string& text,
                    std::string_view helpHtml, int selectionLength, int selectionStart, char16_t initialCharacter) {
  TEditor editor(area->window());
  editor.move(area->mapToGlobal(QPoint(cell.left(), cell.top() + defaultRowHeight)));
  editor.SetInitialInput(text, selectionStart, selectionLength, initialCharacter);
  editor.SetHelpText(helpHtml);
  if (editor.exec() != QDialog::Accepted) return false;
  text = editor.InputText();
  return true;
}

bool EditGridCell(QTableView* grid, std::string& text, std::string_view helpHtml, int selectionLength,
                  int selectionStart, char16_t initialCharacter, int row, int column) {
  const QRect cell = grid->model() ? grid->visualRect(grid->model()->index(row, column)) : QRect();
  return EditGridCellAt(grid->viewport(), cell, grid->verticalHeader()->defaultSectionSize(), text, helpHtml,
                        selectionLength, selectionStart, initialCharacter);
}

}  // namespace sp

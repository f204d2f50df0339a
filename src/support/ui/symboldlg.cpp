#include "support/ui/symboldlg.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QPainter>
#include <QStyledItemDelegate>

#include "support/settings.h"
#include "support/symbolset.h"
#include "support/text1252.h"
#include "support/ui/formplacement.h"
#include "support/ui/qtext.h"

namespace sp {

namespace {

constexpr int kBottomPanelHeight = 41;
constexpr int kGridLineWidth = 1;
const QColor kSelectedCell(0, 128, 255);

// Cells centred, the font shrunk a point at a time (down to 4) until the
// text fits the column.
class TSymbolCellDelegate : public QStyledItemDelegate {
 public:
  using QStyledItemDelegate::QStyledItemDelegate;

  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override {
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->fillRect(option.rect, selected ? kSelectedCell : QColor(Qt::white));
    painter->setPen(selected ? QColor(Qt::white) : QColor(Qt::black));
    const QString text = index.data().toString();
    QFont font = option.font;
    while (font.pointSize() > 4 && QFontMetrics(font).horizontalAdvance(text) > option.rect.width()) {
      font.setPointSize(font.pointSize() - 1);
    }
    painter->setFont(font);
    painter->drawText(option.rect, Qt::AlignCenter, text);
    if (option.state.testFlag(QStyle::State_HasFocus)) {
      QStyleOptionFocusRect focus;
      focus.rect = option.rect.adjusted(1, 1, -1, -1);
      focus.state = option.state;
      option.widget->style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, painter, option.widget);
    }
  }
};

}  // namespace

TSymbolDlg::TSymbolDlg(QWidget* parent, std::string settingsFolder)
    : QDialog(parent), settingsFolder_(std::move(settingsFolder)) {
  setObjectName("SymbolDlg");
  setWindowTitle(ToQString(Ansi("Symbol einfügen")));
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint |
                 Qt::WindowStaysOnTopHint);
  setMinimumSize(180, 100);

  Grid = new QTableWidget(this);
  Grid->horizontalHeader()->hide();
  Grid->verticalHeader()->hide();
  Grid->horizontalHeader()->setMinimumSectionSize(1);
  Grid->verticalHeader()->setMinimumSectionSize(1);
  Grid->setShowGrid(true);
  Grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
  Grid->setSelectionMode(QAbstractItemView::SingleSelection);
  Grid->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Grid->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  Grid->setItemDelegate(new TSymbolCellDelegate(Grid));
  QFont gridFont(QStringLiteral("Verdana"), 14);
  gridFont.setBold(true);
  Grid->setFont(gridFont);
  Grid->installEventFilter(this);

  BottomPanel = new QWidget(this);
  FCancel = new QPushButton(QStringLiteral("&Abbruch"), BottomPanel);
  fok = new QPushButton(QStringLiteral("&Fertig"), BottomPanel);
  FCancel->setAutoDefault(false);
  fok->setAutoDefault(false);

  connect(fok, &QPushButton::clicked, this, &TSymbolDlg::ChooseSelected);
  connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
  connect(Grid, &QTableWidget::cellDoubleClicked, this, [this] { ChooseSelected(); });
}

std::string TSymbolDlg::SymbolAt(int row, int column) const {
  const QTableWidgetItem* item = Grid->item(row, column);
  return item ? FromQString(item->text()) : std::string();
}

void TSymbolDlg::Fill() {
  const int cellSize = ClampSymbolCellSize(ReadUserModeInteger("TSymbolDlg.Grid.XY", 30, settingsFolder_, true));
  std::string symbols = ReadUserModeString("TSymbolDlg.ASCII.Chars", DefaultSymbolSet(), settingsFolder_, true);
  if (symbols.empty()) symbols = DefaultSymbolSet();
  const std::vector<std::string> cells = SymbolCells(symbols);
  const TSymbolGridShape shape = SymbolGridShape(symbols, cells.size());

  Grid->setColumnCount(shape.Columns);
  Grid->setRowCount(shape.Rows);
  for (int c = 0; c < shape.Columns; ++c) Grid->setColumnWidth(c, cellSize);
  for (int r = 0; r < shape.Rows; ++r) Grid->setRowHeight(r, cellSize);
  for (size_t i = 0; i < cells.size(); ++i) {
    auto* item = new QTableWidgetItem(ToQString(cells[i]));
    Grid->setItem(static_cast<int>(i) / shape.Columns, static_cast<int>(i) % shape.Columns, item);
  }
  Grid->setCurrentCell(0, 0);

  const TSymbolDialogSize size = SymbolDialogSize(shape, cellSize, kGridLineWidth, kBottomPanelHeight);
  resize(std::max(size.Width, minimumWidth()), std::max(size.Height, minimumHeight()));
  Grid->setGeometry(0, 0, width(), height() - kBottomPanelHeight);
  BottomPanel->setGeometry(0, height() - kBottomPanelHeight, width(), kBottomPanelHeight);
  fok->setGeometry(width() - 90, 8, 82, 25);
  FCancel->setGeometry(width() - 178, 8, 82, 25);
  SetCentredOnScreen(this);
  PlaceFormOnMonitor(this, false);
}

void TSymbolDlg::showEvent(QShowEvent* event) {
  if (!filled_) {
    filled_ = true;
    Fill();
  }
  QDialog::showEvent(event);
  Grid->setFocus();
}

void TSymbolDlg::ChooseSelected() {
  const QTableWidgetItem* item = Grid->currentItem();
  if (!item) return;  // an empty cell after the last symbol
  if (OnSymbolChosen) OnSymbolChosen(FromQString(item->text()));
  accept();
}

bool TSymbolDlg::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Grid && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_F3) {
      ChooseSelected();
      return true;
    }
    if (key == Qt::Key_Escape) {
      reject();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace sp

#include "datagrid/widget/datagrid.h"

#include <QApplication>
#include <QDrag>
#include <QFontMetrics>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QToolTip>
#include <cmath>

#include "datagrid/cellrules.h"
#include "datagrid/fitting.h"
#include "datagrid/navigation.h"
#include "datagrid/widget/celldelegate.h"
#include "datagrid/widget/itemmodel.h"
#include "datagrid/widget/qtlook.h"
#include "support/text1252.h"
#include "support/ui/qtext.h"

namespace sp {
namespace {

const char kRowMime[] = "application/x-sheetpull-grid-row";
constexpr int kSecondLineChars = 500;

bool Ctrl(const QKeyEvent* event) { return event->modifiers() & Qt::ControlModifier; }
bool Alt(const QKeyEvent* event) { return event->modifiers() & Qt::AltModifier; }

}  // namespace

TDataGrid::TDataGrid(QWidget* parent)
    : QTableView(parent),
      model_(new TDataGridItemModel(data_, this)),
      choiceEdit_(new TI_InplaceChoiceEdit(viewport())),
      floatEdit_(new TI_InplaceFloatEdit(viewport())),
      gridEdit_(new TI_InplaceGridEdit(viewport())),
      comboEdit_(new TI_InplaceComboEdit(viewport())),
      secondEdit_(new TI_InplaceSecondEdit(viewport())) {
  setModel(model_);
  setItemDelegate(new TDataGridDelegate(*this));
  setSelectionMode(QAbstractItemView::SingleSelection);
  setEditTriggers(QAbstractItemView::NoEditTriggers);
  setTabKeyNavigation(false);
  setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  verticalHeader()->hide();
  verticalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setMinimumSectionSize(1);
  horizontalHeader()->setHighlightSections(false);
  viewport()->setAcceptDrops(true);
  for (QWidget* editor : {static_cast<QWidget*>(choiceEdit_), static_cast<QWidget*>(floatEdit_),
                          static_cast<QWidget*>(gridEdit_), static_cast<QWidget*>(comboEdit_),
                          static_cast<QWidget*>(comboEdit_->lineEdit()), static_cast<QWidget*>(secondEdit_)}) {
    WatchEditor(editor);
  }
  gridEdit_->OnExternalEditor = [this] { RequestExternalEditor(); };
  connect(horizontalHeader(), &QHeaderView::sectionResized, this, [this](int col, int, int width) {
    if (syncing_ || col >= data_.ColCount() || isColumnHidden(col)) return;
    data_.Columns()[col].SetWidth(width);
  });
  connect(horizontalHeader(), &QHeaderView::sectionMoved, this, [this](int, int from, int to) {
    if (syncing_) return;
    syncing_ = true;
    horizontalHeader()->moveSection(to, from);  // the data side decides; the header stays in order
    syncing_ = false;
    if (from >= data_.FixedCols() && to >= data_.FixedCols()) data_.MoveColumn(from, to);
  });
  data_.OnShowMessage = [this](const std::string& text) {
    QMessageBox::warning(this, QApplication::applicationDisplayName(), ToQString(text));
  };
  data_.SetListener(this);
  GridChanged();
}

TDataGrid::~TDataGrid() { data_.SetListener(nullptr); }

void TDataGrid::WatchEditor(QWidget* editor) { editor->installEventFilter(this); }

// ---- listener -------------------------------------------------------------

void TDataGrid::GridChanged() {
  model_->Reset();
  SyncSizes();
  if (active_ && (editRow_ >= data_.RowCount() || !data_.Columns().Find(editCol_))) {
    active_->Widget()->hide();
    active_ = nullptr;
  }
  SyncCurrent();
  PlaceEditor();
  viewport()->update();
}

void TDataGrid::CellChanged(int col, int row) {
  model_->CellChanged(col, row);
  if (active_ && col == editCol_ && row == editRow_) active_->SetText(data_.Cell(col, row));
  if (col == -2) viewport()->update();
}

void TDataGrid::RowHeightChanged(int row) {
  const int modelRow = row - data_.FixedRows();
  syncing_ = true;
  if (modelRow >= 0 && modelRow < model_->rowCount()) setRowHeight(modelRow, data_.RowHeight(row));
  if (row == 0) horizontalHeader()->setFixedHeight(data_.RowHeight(0));
  syncing_ = false;
  PlaceEditor();
}

void TDataGrid::CurrentChanged() {
  if (active_ && (data_.Col() != editCol_ || data_.Row() != editRow_)) CloseEditor(true);
  SyncCurrent();
}

void TDataGrid::ScrollIntoView(int row) { scrollTo(model_->IndexOf(data_.Col(), row)); }

void TDataGrid::FocusRequested() { setFocus(); }

void TDataGrid::SyncSizes() {
  syncing_ = true;
  const bool movable = !data_.ReadOnly;
  horizontalHeader()->setSectionsMovable(data_.ColMoving && movable);
  horizontalHeader()->setSectionResizeMode(movable ? QHeaderView::Interactive : QHeaderView::Fixed);
  horizontalHeader()->setFixedHeight(data_.RowHeight(0));
  for (int c = 0; c < data_.ColCount(); ++c) {
    const TColumn& column = data_.Columns()[c];
    setColumnHidden(c, column.Hidden());
    if (!column.Hidden()) setColumnWidth(c, column.Width());
  }
  const int standard = data_.RowHeight(data_.FixedRows());
  verticalHeader()->setDefaultSectionSize(standard);
  for (int r = data_.FixedRows(); r < data_.RowCount(); ++r) {
    const int height = data_.RowHeight(r);
    if (height != standard || r == data_.FixedRows()) setRowHeight(r - data_.FixedRows(), height);
  }
  syncing_ = false;
}

void TDataGrid::SyncCurrent() {
  const QModelIndex index = model_->IndexOf(data_.Col(), data_.Row());
  if (index == currentIndex()) return;
  syncing_ = true;
  setCurrentIndex(index);
  syncing_ = false;
  viewport()->update();
}

void TDataGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
  QTableView::currentChanged(current, previous);
  if (syncing_ || !current.isValid()) return;
  data_.SetCurrent(current.column(), model_->GridRow(current));
  viewport()->update();
}

// ---- editors --------------------------------------------------------------

void TDataGrid::OpenEditor(char typed) {
  CloseEditor(true);
  const int col = data_.Col(), row = data_.Row();
  TColumn* column = data_.Columns().Find(col);
  if (!column || col < data_.FixedCols() || row < data_.FixedRows() || !data_.Look().Editing) return;
  const TEditorSetup setup = ChooseEditor(data_, col, row, typed != 0);
  TInplaceEditControl* editor = choiceEdit_;
  switch (setup.Kind) {
    case TEditorKind::Float:
      floatEdit_->SetRules(NumericRulesOf(column->NumericKind, column->NumericDigits, column->NumericPrecision));
      floatEdit_->SetButtonVisible(setup.Button);
      editor = floatEdit_;
      break;
    case TEditorKind::Grid: editor = gridEdit_; break;
    case TEditorKind::Combo:
      comboEdit_->SetItems(column->PickList);
      comboEdit_->IgnoreDeleteKeys = setup.IgnoreDeleteKeys;
      editor = comboEdit_;
      break;
    case TEditorKind::Choice: break;
  }
  QWidget* widget = editor->Widget();
  widget->setFont(QFontOf(setup.Font));
  QPalette colours = widget->palette();
  colours.setColor(QPalette::Text, QColorOf(setup.Font.Color));
  colours.setColor(QPalette::Base, QColorOf(setup.Background));
  widget->setPalette(colours);
  widget->setToolTip(ToQString(setup.Hint));
  editor->SetEditorAlignment(setup.Alignment);
  editor->SetMaxLength(setup.MaxLength);
  editor->SetText(setup.Text);
  editor->SetReadOnly(setup.ReadOnly);
  if (setup.Kind == TEditorKind::Combo && OnBeforeComboEditorSettings) OnBeforeComboEditorSettings(col, row, *comboEdit_);
  active_ = editor;
  editCol_ = col;
  editRow_ = row;
  if (OnEditorPrepared) OnEditorPrepared(*editor, *column, col, row);
  if (active_ != editor) return;  // the handler closed it
  PlaceEditor();
  widget->show();
  widget->setFocus();
  editor->SelectAll();
  if (typed != 0) editor->TypeCharacter(typed);
}

bool TDataGrid::CloseEditor(bool commit) {
  if (!active_) return true;
  TInplaceEditControl* editor = active_;
  std::string text = editor->Text();
  if (!commit || editor->ReadOnly()) {
    text = data_.Cell(editCol_, editRow_);
  } else if (editor == floatEdit_ && !floatEdit_->ConfirmedText(text)) {
    QToolTip::showText(floatEdit_->mapToGlobal(QPoint(0, floatEdit_->height())),
                       ToQString(Ansi("Der Wert ist keine gültige Zahl.")), floatEdit_);
    floatEdit_->selectAll();
    return false;
  }
  const bool hadFocus = editor->Widget()->hasFocus() || (editor == comboEdit_ && comboEdit_->lineEdit()->hasFocus());
  active_ = nullptr;
  editor->Widget()->hide();
  if (hadFocus) setFocus();
  data_.EditorClosed(editCol_, editRow_, text);
  return true;
}

void TDataGrid::OpenSecondLineEditor() {
  if (!data_.UseSecondLine) return;
  if (!CloseEditor(true)) return;
  const int row = data_.Row();
  const QFontMetrics metrics(QFontOf(data_.SecondFont));
  const int needed = metrics.boundingRect(QLatin1String("9")).height() + data_.DefaultRowHeight() + 5;
  if (data_.RowHeight(row) < needed) data_.SetRowHeight(row, needed);
  secondRow_ = row;
  secondEdit_->setFont(QFontOf(data_.SecondFont));
  secondEdit_->SetText(data_.Cell(-2, row));
  secondEdit_->setReadOnly(data_.SecondReadOnly || data_.ReadOnly);
  PlaceEditor();
  secondEdit_->show();
  secondEdit_->setFocus();
}

bool TDataGrid::SecondLineEditorOpen() const { return secondRow_ >= 0; }

void TDataGrid::PlaceEditor() {
  if (active_) active_->Widget()->setGeometry(CellRect(editCol_, editRow_));
  if (secondRow_ >= 0) secondEdit_->setGeometry(SecondLineRect(secondRow_));
}

QRect TDataGrid::CellRect(int col, int row) const {
  QRect rect = visualRect(model_->IndexOf(col, row));
  if (data_.UseSecondLine && rect.height() > data_.DefaultRowHeight()) rect.setHeight(data_.DefaultRowHeight());
  return rect;
}

QRect TDataGrid::SecondLineRect(int row) const {
  const int first = std::clamp(data_.LeftStartSecond, 0, data_.ColCount() - 1);
  const int last = data_.RightEndSecond < 0 ? data_.ColCount() - 1 : std::clamp(data_.RightEndSecond, first, data_.ColCount() - 1);
  const int modelRow = row - data_.FixedRows();
  const int left = columnViewportPosition(first);
  const int right = columnViewportPosition(last) + columnWidth(last);
  const int top = rowViewportPosition(modelRow) + data_.DefaultRowHeight();
  const int bottom = rowViewportPosition(modelRow) + rowHeight(modelRow);
  return QRect(QPoint(left, top), QPoint(right - 1, bottom - 1));
}

void TDataGrid::RequestExternalEditor() {
  if (!active_ || active_ != gridEdit_) return;
  const std::string text = active_->Text();
  const QRect cell = CellRect(editCol_, editRow_);
  const QPoint point = viewport()->mapToGlobal(cell.bottomLeft());
  const int col = editCol_, row = editRow_;
  QTimer::singleShot(0, this, [this, text, point, col, row] {
    const TColumn* column = data_.Columns().Find(col);
    if (!OnExternalDBGridEditor || !column) return;
    const std::string fieldName = column->FieldName();
    auto appendRecord = [this, col, row](const std::string& recordText) {
      if (OnAppendRecord) OnAppendRecord(col, row, recordText, EditorDataSet());
    };
    try {
      OnExternalDBGridEditor(text, fieldName, col, row, point, appendRecord, EditorDataSet());
    } catch (...) {
      // a failing external editor leaves the grid as it was
    }
  });
}

bool TDataGrid::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress) {
    auto* key = static_cast<QKeyEvent*>(event);
    if (watched == secondEdit_) {
      if (key->key() == Qt::Key_Escape || key->key() == Qt::Key_F8 || key->key() == Qt::Key_F4) {
        const int row = secondRow_;
        const std::string text = secondEdit_->Text();
        secondRow_ = -1;
        secondEdit_->hide();
        setFocus();
        if (key->key() != Qt::Key_Escape && !secondEdit_->isReadOnly()) data_.EditorClosed(-2, row, text);
        return true;
      }
      return false;
    }
    if (active_) return HandleEditorKey(key);
  }
  if (event->type() == QEvent::FocusOut) {
    auto* focus = static_cast<QFocusEvent*>(event);
    if (focus->reason() == Qt::PopupFocusReason) return false;
    if (watched == secondEdit_ && secondRow_ >= 0) {
      QTimer::singleShot(0, this, [this] {
        if (secondRow_ < 0 || secondEdit_->hasFocus()) return;
        const int row = secondRow_;
        secondRow_ = -1;
        secondEdit_->hide();
        if (!secondEdit_->isReadOnly()) data_.EditorClosed(-2, row, secondEdit_->Text());
      });
    } else if (active_ && (watched == active_->Widget() || watched == comboEdit_->lineEdit())) {
      QTimer::singleShot(0, this, [this] {
        if (!active_) return;
        QWidget* focused = QApplication::focusWidget();
        if (focused && (focused == active_->Widget() || active_->Widget()->isAncestorOf(focused))) return;
        CloseEditor(true);
      });
    }
  }
  return QTableView::eventFilter(watched, event);
}

bool TDataGrid::HandleEditorKey(QKeyEvent* event) {
  const int key = event->key();
  if (key == Qt::Key_F4 || key == Qt::Key_F8) {
    if (data_.UseSecondLine && !(key == Qt::Key_F4 && data_.ReadOnly)) OpenSecondLineEditor();
    return true;
  }
  if (key == Qt::Key_F2 && active_ == gridEdit_) {
    RequestExternalEditor();
    return true;
  }
  if (key == Qt::Key_Escape) {
    CloseEditor(false);
    return true;
  }
  bool passes = false;
  switch (key) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Up:
    case Qt::Key_Down: passes = !Alt(event); break;
    case Qt::Key_Return:
    case Qt::Key_Enter: passes = true; break;
    case Qt::Key_Left: passes = active_->CaretPosition() == 0 && active_->SelectionLength() == 0; break;
    case Qt::Key_Right: passes = active_->CaretPosition() == active_->TextLength() && active_->SelectionLength() == 0; break;
    case Qt::Key_Home:
    case Qt::Key_End:
      if (Ctrl(event)) {
        active_->SetCaretPosition(key == Qt::Key_Home ? 0 : active_->TextLength());
        return true;
      }
      passes = active_->CaretPosition() == (key == Qt::Key_Home ? 0 : active_->TextLength());
      break;
    case Qt::Key_Insert:
    case Qt::Key_Delete: passes = Ctrl(event); break;
    default: break;
  }
  if (!passes) return false;
  if (!CloseEditor(true)) return true;
  HandleGridKey(event);
  return true;
}

// ---- keys and mouse ---------------------------------------------------------

bool TDataGrid::HandleGridKey(QKeyEvent* event) {
  switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return KeyEnter(data_);
    case Qt::Key_End:
      if (Ctrl(event)) break;
      return KeyEnd(data_);
    case Qt::Key_Home:
      if (Ctrl(event)) break;
      data_.SetCurrent(data_.FixedCols(), data_.Row());
      return true;
    case Qt::Key_Left: return KeyLeft(data_);
    case Qt::Key_Right: return KeyRight(data_);
    case Qt::Key_Up: return KeyUp(data_);
    case Qt::Key_Down: return KeyDown(data_);
    case Qt::Key_Insert: return Ctrl(event) && KeyCtrlInsert(data_);
    case Qt::Key_Delete: return Ctrl(event) && KeyCtrlDelete(data_);
    case Qt::Key_F2: OpenEditor(); return true;
    case Qt::Key_Escape: return true;
    default: break;
  }
  return false;
}

void TDataGrid::keyPressEvent(QKeyEvent* event) {
  if (HandleGridKey(event)) {
    event->accept();
    return;
  }
  const QString typed = event->text();
  if (!typed.isEmpty() && typed.at(0).isPrint() && !Ctrl(event) && !Alt(event) && data_.Look().Editing) {
    const std::string ansi = FromQString(typed.left(1));
    OpenEditor(ansi.empty() ? 0 : ansi[0]);
    event->accept();
    return;
  }
  QTableView::keyPressEvent(event);
}

void TDataGrid::focusInEvent(QFocusEvent* event) {
  FocusEntered(data_);
  QTableView::focusInEvent(event);
  viewport()->update();
}

void TDataGrid::mousePressEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  const bool wasCurrent = index.isValid() && index == currentIndex();
  if (active_ && !CloseEditor(true)) return;
  if (event->button() == Qt::LeftButton && index.isValid() && index.column() == 0 && data_.RowMoving &&
      !data_.ReadOnly) {
    dragRow_ = model_->GridRow(index);
    dragStart_ = event->position().toPoint();
    return;
  }
  QTableView::mousePressEvent(event);
  if (event->button() == Qt::LeftButton && wasCurrent && index.column() >= data_.FixedCols()) OpenEditor();
}

void TDataGrid::mouseMoveEvent(QMouseEvent* event) {
  if (dragRow_ < 0 || !(event->buttons() & Qt::LeftButton)) {
    QTableView::mouseMoveEvent(event);
    return;
  }
  if ((event->position().toPoint() - dragStart_).manhattanLength() < QApplication::startDragDistance()) return;
  auto* mime = new QMimeData;
  mime->setData(QLatin1String(kRowMime), QByteArray::number(dragRow_));
  auto* drag = new QDrag(this);
  drag->setMimeData(mime);
  drag->setPixmap(RowDragImage(dragRow_));
  dragRow_ = -1;
  drag->exec(Qt::MoveAction);
}

void TDataGrid::mouseReleaseEvent(QMouseEvent* event) {
  dragRow_ = -1;
  QTableView::mouseReleaseEvent(event);
  if (event->button() != Qt::RightButton) return;
  const QModelIndex index = indexAt(event->position().toPoint());
  const TColumn* column = index.isValid() ? data_.Columns().Find(index.column()) : nullptr;
  if (column && column->PopupMenu) static_cast<QMenu*>(column->PopupMenu)->popup(event->globalPosition().toPoint());
}

void TDataGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  const QModelIndex index = indexAt(event->position().toPoint());
  if (index.isValid() && index.column() >= data_.FixedCols()) {
    data_.SetCurrent(index.column(), model_->GridRow(index));
    OpenEditor();
    return;
  }
  QTableView::mouseDoubleClickEvent(event);
}

void TDataGrid::dragEnterEvent(QDragEnterEvent* event) { dragMoveEvent(event); }

void TDataGrid::dragMoveEvent(QDragMoveEvent* event) {
  if (event->source() == this && event->mimeData()->hasFormat(QLatin1String(kRowMime))) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TDataGrid::dropEvent(QDropEvent* event) {
  if (event->source() != this || !event->mimeData()->hasFormat(QLatin1String(kRowMime))) return;
  const int from = event->mimeData()->data(QLatin1String(kRowMime)).toInt();
  const QModelIndex target = indexAt(event->position().toPoint());
  const int to = target.isValid() ? model_->GridRow(target) : data_.RowCount() - 1;
  if (from >= data_.FixedRows() && to >= data_.FixedRows()) data_.MoveRow(from, to);
  data_.SetCurrent(data_.Col(), to);
  event->acceptProposedAction();
}

QPixmap TDataGrid::RowDragImage(int row) const {
  const int width = std::max(60, std::min(viewport()->width(), 400));
  QPixmap image(width, data_.RowHeight(row));
  image.fill(QColorOf(clBtnFace));
  QPainter painter(&image);
  painter.setFont(QFontOf(data_.Look().Font));
  painter.setPen(QColorOf(data_.Look().Font.Color));
  painter.drawText(image.rect(), Qt::AlignLeft | Qt::AlignVCenter, ToQString("    " + RowDragText(data_, row)));
  return image;
}

// ---- painting -------------------------------------------------------------

QFont TDataGrid::MarkerFont() const {
  const int ppi = logicalDpiY();
  if (ppi == 96) return QFontOf(TFontSpec{"Tahoma", 8});
  TFontSpec fontSpec = data_.Columns()[0].Font();
  fontSpec.Size = std::max(8, fontSpec.Size - 1);
  QFont font = QFontOf(fontSpec);
  if (QFontMetrics(font).horizontalAdvance(QLatin1Char('W')) > columnWidth(0) - 3) {
    font.setPointSize(std::max(1, fontSpec.Size - 1));
  }
  return font;
}

void TDataGrid::paintEvent(QPaintEvent* event) {
  QTableView::paintEvent(event);
  if (data_.UseSecondLine) PaintSecondLines();
}

void TDataGrid::PaintSecondLines() {
  if (model_->rowCount() == 0) return;
  QPainter painter(viewport());
  const QFont font = QFontOf(data_.SecondFont);
  painter.setFont(font);
  const QFontMetrics metrics(font);
  const int firstRow = std::max(0, rowAt(0));
  int lastRow = rowAt(viewport()->height() - 1);
  if (lastRow < 0) lastRow = model_->rowCount() - 1;
  for (int modelRow = firstRow; modelRow <= lastRow; ++modelRow) {
    const int row = modelRow + data_.FixedRows();
    const std::string& second = data_.Cell(-2, row);
    if (second.empty() || row == secondRow_) continue;
    const QRect area = SecondLineRect(row);
    const QString text = ToQString(std::string_view(second).substr(0, kSecondLineChars));
    const int textHeight = metrics.boundingRect(QRect(0, 0, std::max(1, area.width() - 4), 100000),
                                                Qt::TextWordWrap, text).height();
    bool clipped = false;
    const int wanted =
        SecondLineRowHeight(textHeight, data_.DefaultRowHeight(), data_.RowHeight(row), data_.MaxSecondHeight(), clipped);
    painter.fillRect(area, QColorOf(data_.Columns().Find(1) ? data_.Columns()[1].Color() : clWhite));
    painter.setPen(QColorOf(data_.SecondFont.Color));
    painter.drawText(area.adjusted(2, 0, -2, 0), Qt::TextWordWrap | Qt::AlignLeft | Qt::AlignTop, text);
    if (clipped) {
      const QRect mark(area.left() + 1, area.bottom() - 12, 20, 12);
      painter.fillRect(mark, Qt::white);
      painter.setPen(QColorOf(clNavy));
      painter.drawRect(mark.adjusted(0, 0, -1, -1));
      painter.drawText(mark, Qt::AlignCenter, QString::fromLatin1("..."));
    }
    if (wanted != data_.RowHeight(row)) {
      QTimer::singleShot(0, this, [this, row, wanted] {
        if (row < data_.RowCount()) data_.SetRowHeight(row, wanted);
      });
    }
  }
}

void TDataGrid::scrollContentsBy(int dx, int dy) {
  QTableView::scrollContentsBy(dx, dy);
  PlaceEditor();
}

// ---- fitting and scaling --------------------------------------------------

void TDataGrid::FitColumnsToClientWidth() {
  if (fitting_ || data_.IsLoading()) return;
  fitting_ = true;
  std::vector<int> widths;
  for (int c = 0; c < data_.ColCount(); ++c) widths.push_back(data_.Columns()[c].Width());
  const int scrollBar = verticalScrollBar()->isVisible() ? 0 : style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  // Grid lines lie inside the sections here, so they take no width of their own.
  const std::vector<int> fitted = FitColumnWidths(widths, data_.FixedCols(), viewport()->width(), scrollBar, 0);
  for (int c = 0; c < data_.ColCount(); ++c) data_.Columns()[c].SetWidth(fitted[static_cast<size_t>(c)]);
  SyncSizes();
  fitting_ = false;
}

void TDataGrid::SetAdjustGrid(const std::string& value) {
  lastAdjustGrid_ = value;
  int size = 0;
  double factor = 0;
  if (!ParseAdjustGrid(value, size, factor)) return;
  TFontSpec markerSpec = data_.Columns()[0].Font();
  markerSpec.Size = size;
  const int textHeight = QFontMetrics(QFontOf(markerSpec)).boundingRect(QLatin1String("Wg")).height();
  const int ppi = logicalDpiY();
  const int scaled = ScaledFontSize(size, factor, ppi);
  data_.BeginUpdate();
  data_.SetDefaultRowHeight(static_cast<int>(std::ceil(1.6 * textHeight)));
  ChangeEveryFont([scaled](TFontSpec& font) { font.Size = scaled; });
  data_.SetMaxSecondHeight(ScaledMaxSecondHeight(data_.MaxSecondHeight(), factor, ppi));
  data_.EndUpdate();
}

void TDataGrid::SetGlobalFontName(const std::string& name) {
  data_.BeginUpdate();
  ChangeEveryFont([&name](TFontSpec& font) { font.Name = name; });
  data_.EndUpdate();
  if (!lastAdjustGrid_.empty()) SetAdjustGrid(lastAdjustGrid_);
}

void TDataGrid::ChangeEveryFont(const std::function<void(TFontSpec&)>& change) {
  for (int c = 0; c < data_.ColCount(); ++c) {
    TColumn& column = data_.Columns()[c];
    TFontSpec font = column.Font();
    change(font);
    column.SetFont(font);
    TFontSpec title = column.Title().Font();
    change(title);
    column.Title().SetFont(title);
  }
  change(data_.SecondFont);
}

}  // namespace sp

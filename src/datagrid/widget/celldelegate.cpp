#include "datagrid/widget/celldelegate.h"

#include <QPainter>
#include <QPolygon>

#include "datagrid/cellrules.h"
#include "datagrid/rowmarker.h"
#include "datagrid/widget/datagrid.h"
#include "datagrid/widget/qtlook.h"
#include "support/ui/qtext.h"

namespace sp {
namespace {

// The part of a cell that holds its first line: the top default-row-height
// pixels when a second line lies below.
QRect FirstLineRect(const TDataGridData& data, const QRect& cell, int row) {
  if (!data.UseSecondLine || cell.height() <= data.DefaultRowHeight()) return cell;
  return QRect(cell.left(), cell.top(), cell.width(), data.DefaultRowHeight());
}

}  // namespace

TDataGridDelegate::TDataGridDelegate(TDataGrid& grid) : QStyledItemDelegate(&grid), grid_(grid) {}

void TDataGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
  TDataGridData& data = grid_.Data();
  const int col = index.column();
  const int row = index.row() + data.FixedRows();
  const TColumn* column = data.Columns().Find(col);
  if (!column) return;
  painter->save();
  const bool fixed = col < data.FixedCols();
  const bool current = col == data.Col() && row == data.Row() && !fixed;
  QColor background = fixed ? QColorOf(clBtnFace) : QColorOf(column->Color());
  if (current && grid_.hasFocus()) background = option.palette.color(QPalette::Highlight);
  painter->fillRect(option.rect, background);
  if (col == 0) {
    PaintMarker(*painter, option.rect, row);
  } else {
    TFontSpec font = column->Font();
    switch (RowKindOf(data.Cell(0, row))) {
      case TRowKind::Text: font.Bold = true; font.Color = clRed; break;
      case TRowKind::Separator: font.Bold = true; break;
      case TRowKind::Grey: font.Color = clGray; break;
      case TRowKind::Blue: font.Bold = true; font.Color = clBlue; break;
      default: break;
    }
    painter->setFont(QFontOf(font));
    painter->setPen(current && grid_.hasFocus() ? option.palette.color(QPalette::HighlightedText) : QColorOf(font.Color));
    const QRect text = FirstLineRect(data, option.rect, row).adjusted(2, 0, -2, 0);
    painter->drawText(text, static_cast<int>(QtAlignmentOf(column->Alignment())) | Qt::TextSingleLine,
                      ToQString(DisplayText(data, col, row)));
  }
  if (col == 0 || !fixed) PaintRowLine(*painter, option.rect, row);
  if (current) {
    painter->setPen(QPen(option.palette.color(QPalette::WindowText), 1, Qt::DotLine));
    painter->drawRect(option.rect.adjusted(0, 0, -1, -1));
  }
  painter->restore();
}

void TDataGridDelegate::PaintMarker(QPainter& painter, const QRect& rect, int row) const {
  const TDataGridData& data = grid_.Data();
  const TMarkerLook look = MarkerLookOf(data.Cell(0, row));
  if (look.GreenFill) painter.fillRect(rect, QColorOf(clGreen));
  if (look.YellowFill) painter.fillRect(rect, QColorOf(clYellow));
  const QRect first = FirstLineRect(data, rect, row);
  painter.setPen(QColorOf(clNavy));
  if (look.Bracket) {
    const int x = first.left() + 2, top = first.top() + 3, bottom = first.bottom() - 3;
    painter.drawLine(x, top, x, bottom);
    painter.drawLine(x, top, x + 3, top);
    painter.drawLine(x, bottom, x + 3, bottom);
    return;
  }
  if (look.Letter.empty()) return;
  QFont font = grid_.MarkerFont();
  if (look.Enlarged) font.setPointSize(font.pointSize() + 4);
  painter.setFont(font);
  painter.drawText(first, Qt::AlignCenter, ToQString(look.Letter));
}

void TDataGridDelegate::PaintRowLine(QPainter& painter, const QRect& rect, int row) const {
  const TMarkerLine line = MarkerLookOf(grid_.Data().Cell(0, row)).Line;
  if (line == TMarkerLine::None) return;
  const QRect first = FirstLineRect(grid_.Data(), rect, row);
  const int y = first.center().y();
  const bool red = line == TMarkerLine::Red;
  painter.setPen(QPen(QColorOf(red ? clRed : clGreen), 1));
  const bool nearRightEdge = grid_.viewport()->width() - rect.right() <= 25;
  if (!nearRightEdge) {
    painter.drawLine(rect.left(), y, rect.right(), y);
    return;
  }
  const int end = rect.right() - 4;
  painter.drawLine(rect.left(), y, end, y);
  if (red) {
    painter.setBrush(QColorOf(clRed));
    painter.drawPolygon(QPolygon({QPoint(end - 4, y - 3), QPoint(end, y), QPoint(end - 4, y + 3)}));
  }
}

}  // namespace sp

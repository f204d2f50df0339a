// Paints the cells of a TDataGrid from its data side: markers in column 0,
// row-kind fonts and colours, display masks, the "p"/"g" row lines and the
// current cell. Second lines are painted by the grid over whole rows.
#pragma once

#include <QStyledItemDelegate>

namespace sp {

class TDataGrid;

class TDataGridDelegate : public QStyledItemDelegate {
 public:
  explicit TDataGridDelegate(TDataGrid& grid);
  void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

 private:
  void PaintMarker(QPainter& painter, const QRect& rect, int row) const;
  void PaintRowLine(QPainter& painter, const QRect& rect, int row) const;

  TDataGrid& grid_;
};

}  // namespace sp

// The Qt item model over a TDataGridData: one model row per data row (the
// fixed rows are the header), one model column per grid column. It holds no
// text of its own; the view's delegate paints from the data side.
#pragma once

#include <QAbstractTableModel>

namespace sp {

class TDataGridData;

class TDataGridItemModel : public QAbstractTableModel {
 public:
  TDataGridItemModel(TDataGridData& data, QObject* parent) : QAbstractTableModel(parent), data_(data) {}

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;

  // The grid row of a model index and back.
  int GridRow(const QModelIndex& index) const;
  QModelIndex IndexOf(int col, int gridRow) const;

  void Reset();
  void CellChanged(int col, int gridRow);

 private:
  TDataGridData& data_;
};

}  // namespace sp

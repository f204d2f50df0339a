#include "datagrid/widget/itemmodel.h"

#include "datagrid/cellrules.h"
#include "datagrid/griddata.h"
#include "datagrid/widget/qtlook.h"
#include "support/ui/qtext.h"

namespace sp {

int TDataGridItemModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : data_.RowCount() - data_.FixedRows();
}

int TDataGridItemModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : data_.ColCount(); }

QVariant TDataGridItemModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || role != Qt::DisplayRole) return QVariant();
  return ToQString(DisplayText(data_, index.column(), GridRow(index)));
}

QVariant TDataGridItemModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || section < 0 || section >= data_.ColCount()) return QVariant();
  const TColumnTitle& title = data_.Columns()[section].Title();
  switch (role) {
    case Qt::DisplayRole: return ToQString(title.Caption());
    case Qt::FontRole: return QFontOf(title.Font());
    case Qt::ForegroundRole: return QColorOf(title.Font().Color);
    case Qt::TextAlignmentRole: return static_cast<int>(QtAlignmentOf(title.Alignment()));
    default: return QVariant();
  }
}

Qt::ItemFlags TDataGridItemModel::flags(const QModelIndex& index) const {
  return index.isValid() ? Qt::ItemIsEnabled | Qt::ItemIsSelectable : Qt::NoItemFlags;
}

int TDataGridItemModel::GridRow(const QModelIndex& index) const { return index.row() + data_.FixedRows(); }

QModelIndex TDataGridItemModel::IndexOf(int col, int gridRow) const { return index(gridRow - data_.FixedRows(), col); }

void TDataGridItemModel::Reset() {
  beginResetModel();
  endResetModel();
}

void TDataGridItemModel::CellChanged(int col, int gridRow) {
  const int row = gridRow - data_.FixedRows();
  if (row < 0 || row >= rowCount()) return;
  if (col < 0) {
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
  } else if (col < columnCount()) {
    emit dataChanged(index(row, col), index(row, col));
  }
}

}  // namespace sp

// TDataGrid: the data grid widget, a Qt table view on a TDataGridData.
//
// The grid owns its data side (Data()), the item model over it and the five
// in-place editors; it opens one editor at a time on the current cell,
// prepared as ChooseEditor says, and writes its text back through
// TDataGridData::EditorClosed. Keys, row markers, display masks, second lines,
// fitting, scaling and moving rows and columns follow the data side's rules
// (navigation.h, cellrules.h, fitting.h); this class maps Qt's events onto
// them and paints. Cells are painted by a delegate, never per-cell widgets.
// GUI thread only.
#pragma once

#include <QPoint>
#include <QTableView>
#include <functional>
#include <memory>
#include <string>

#include "datagrid/griddata.h"
#include "datagrid/widget/inplaceeditors.h"

namespace sp {

class TDataGridItemModel;

class TDataGrid : public QTableView, private TDataGridListener {
 public:
  explicit TDataGrid(QWidget* parent = nullptr);
  ~TDataGrid() override;

  TDataGridData& Data() { return data_; }
  const TDataGridData& Data() const { return data_; }
  TDataGridColumns& Columns() { return data_.Columns(); }

  // Fits the adjustable columns to the client width (FitColumnWidths). Not
  // re-entered; does nothing while the grid is loading its description.
  void FitColumnsToClientWidth();
  // "s f": default row height and every font scaled; bad values are ignored.
  void SetAdjustGrid(const std::string& value);
  // Font name of every column, title and second-line font; then the last
  // AdjustGrid value again.
  void SetGlobalFontName(const std::string& name);

  // The in-place editor of the current cell; `typed` (0: none) is put in as
  // the first typed character. Nothing for column 0, for a column beyond the
  // collection or when the grid does not allow editing.
  void OpenEditor(char typed = 0);
  // Closes the open editor; with `commit` its text is stored. False when the
  // numeric editor refused the value (the editor then stays open).
  bool CloseEditor(bool commit);
  // The open edit-family editor, or nullptr.
  TInplaceEditControl* ActiveEditor() const { return active_; }
  // The second-line editor of the current row (needs UseSecondLine).
  void OpenSecondLineEditor();
  TI_InplaceSecondEdit* SecondLineEditor() const { return secondEdit_; }
  bool SecondLineEditorOpen() const;

  // The picture shown while a row is dragged.
  QPixmap RowDragImage(int row) const;
  // The font column 0 (the markers) is drawn in.
  QFont MarkerFont() const;

  // The data set handed to OnExternalDBGridEditor; empty once it is gone.
  void SetEditorDataSet(const std::shared_ptr<void>& dataSet) { editorDataSet_ = dataSet; }
  std::shared_ptr<void> EditorDataSet() const { return editorDataSet_.lock(); }

  // Raised after the combo editor was prepared, before it shows.
  std::function<void(int col, int row, TI_InplaceComboEdit& editor)> OnBeforeComboEditorSettings;
  // Raised after an edit-family editor was chosen and fully prepared.
  std::function<void(TInplaceEditControl& editor, TColumn& column, int col, int row)> OnEditorPrepared;
  // The external editor of a cfdblocate cell; `appendRecord` raises
  // OnAppendRecord. Failures inside are ignored.
  std::function<void(const std::string& text, const std::string& fieldName, int col, int row, QPoint point,
                     const std::function<void(const std::string& text)>& appendRecord,
                     const std::shared_ptr<void>& dataSet)>
      OnExternalDBGridEditor;
  std::function<void(int col, int row, const std::string& text, const std::shared_ptr<void>& dataSet)> OnAppendRecord;

 protected:
  void keyPressEvent(QKeyEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void scrollContentsBy(int dx, int dy) override;
  void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class TDataGridDelegate;

  // TDataGridListener
  void GridChanged() override;
  void CellChanged(int col, int row) override;
  void RowHeightChanged(int row) override;
  void CurrentChanged() override;
  void ScrollIntoView(int row) override;
  void FocusRequested() override;

  // A key for the grid itself (no editor open). True when handled.
  bool HandleGridKey(QKeyEvent* event);
  // A key in an open editor. True when the grid took it.
  bool HandleEditorKey(QKeyEvent* event);
  void SyncSizes();
  void SyncCurrent();
  void PlaceEditor();
  QRect CellRect(int col, int row) const;
  QRect SecondLineRect(int row) const;
  void PaintSecondLines();
  void RequestExternalEditor();
  void WatchEditor(QWidget* editor);
  // Every column font, title font and the second-line font.
  void ChangeEveryFont(const std::function<void(TFontSpec&)>& change);

  TDataGridData data_;
  TDataGridItemModel* model_;
  TI_InplaceChoiceEdit* choiceEdit_;
  TI_InplaceFloatEdit* floatEdit_;
  TI_InplaceGridEdit* gridEdit_;
  TI_InplaceComboEdit* comboEdit_;
  TI_InplaceSecondEdit* secondEdit_;
  TInplaceEditControl* active_ = nullptr;
  int editCol_ = -1, editRow_ = -1, secondRow_ = -1;
  std::weak_ptr<void> editorDataSet_;
  std::string lastAdjustGrid_;
  bool syncing_ = false;
  bool fitting_ = false;
  int dragRow_ = -1;
  QPoint dragStart_;
};

}  // namespace sp

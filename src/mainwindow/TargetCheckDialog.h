// The list of buttons whose targets are missing here, and of those that cannot be
// checked here. A double-click goes to the button; the selected buttons can be cleared.
#pragma once

#include <QDialog>
#include <functional>

#include "GridTargets.h"

class QPushButton;
class QTreeView;
class TTargetFindingsModel;

class TTargetCheckDialog : public QDialog {
  Q_OBJECT

 public:
  TTargetCheckDialog(QWidget* parent = nullptr);

  // Lists the findings of grid.
  void Fill(const TGridStore& grid);
  // Goes to a button (column, row) of the grid.
  std::function<void(int c, int r)> GoTo;
  // Clears the buttons at the cells (one undo step) and returns how many.
  std::function<int(const std::vector<QPoint>& cells)> Clear;

  QTreeView* List = nullptr;
  // What List shows; its group rows are "リンク切れ" and "この環境では確認できません".
  TTargetFindingsModel* Findings = nullptr;
  QPushButton* BtnClear = nullptr;

 private:
  void BtnClearClick();
  const TGridStore* grid_ = nullptr;
};

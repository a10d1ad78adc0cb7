// The replace dialog: a text and its replacement in the button paths of every page or
// of the current page, with a preview of every change before anything is written.
// Return previews; once a preview lists changes, Return replaces.
#pragma once

#include <QDialog>
#include <vector>

#include "FindReplace.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeView;
class TReplacementModel;

class TReplaceDialog : public QDialog {
  Q_OBJECT

 public:
  // Plans on grid; currentRow is the page of "現在のページ".
  TReplaceDialog(const TGridStore& grid, int currentRow, QWidget* parent = nullptr);

  // The changes the preview shows (and OK applies).
  const TReplacementPlan& Plan() const;

  QLineEdit* EdFrom = nullptr;
  QLineEdit* EdTo = nullptr;
  QRadioButton* RbAllPages = nullptr;
  QRadioButton* RbThisPage = nullptr;
  QTreeView* Preview = nullptr;
  TReplacementModel* Changes = nullptr;  // what Preview shows: the plan
  QLabel* LbSummary = nullptr;           // how many fields the preview changes
  QPushButton* BtnPreview = nullptr;
  QPushButton* BtnReplace = nullptr;

  // Plans the replacement of the texts as typed and lists it; a refused text is told.
  // Returns whether the plan is usable.
  bool UpdatePreview();

 private:
  void BtnReplaceClick();
  void SetPlanReady(bool ready);
  const TGridStore& grid_;
  int currentRow_;
};

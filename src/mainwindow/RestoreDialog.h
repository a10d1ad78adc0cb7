// The list of the data file's backups to restore one from: date, pages and buttons;
// files that cannot be read are listed with the reason and cannot be chosen. Below it,
// what restoring the chosen backup would change in the grid.
#pragma once

#include <QDialog>
#include <memory>
#include <vector>

#include "Backups.h"
#include "GridStore.h"
#include "LaunchList.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class TListDifferencesModel;
class TListDifferencesView;

class TRestoreDialog : public QDialog {
  Q_OBJECT

 public:
  // grid must stay unchanged while the dialog lives.
  TRestoreDialog(const QString& dataFile, const TGridStore& grid, QWidget* parent = nullptr);
  ~TRestoreDialog() override;

  // The chosen backup's path; empty when none is chosen.
  QString Chosen() const;

  QTreeWidget* List = nullptr;
  QLabel* LbProblem = nullptr;
  QPushButton* BtnRestore = nullptr;
  TListDifferencesModel* Differences = nullptr;
  TListDifferencesView* DifferenceList = nullptr;
  QLabel* LbDifferences = nullptr;

 private:
  // Lists what restoring the chosen backup would change.
  void ShowDifferences();
  std::vector<TBackupInfo> backups_;
  TLaunchList grid_;
  std::unique_ptr<TLaunchList> chosen_;
};

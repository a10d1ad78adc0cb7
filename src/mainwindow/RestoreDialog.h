// The list of the data file's backups to restore one from: date, pages and buttons;
// files that cannot be read are listed with the reason and cannot be chosen.
#pragma once

#include <QDialog>
#include <vector>

#include "Backups.h"

class QLabel;
class QPushButton;
class QTreeWidget;

class TRestoreDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TRestoreDialog(const QString& dataFile, QWidget* parent = nullptr);

  // The chosen backup's path; empty when none is chosen.
  QString Chosen() const;

  QTreeWidget* List = nullptr;
  QLabel* LbProblem = nullptr;
  QPushButton* BtnRestore = nullptr;

 private:
  std::vector<TBackupInfo> backups_;
};

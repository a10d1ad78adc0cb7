// The folder browse dialog's window: the caption, a tree of folders filled as it is
// opened, a status line, OK and キャンセル. What it shows and allows comes from a
// TSHBrowseForFolderEx.
#pragma once

#include <QDialog>

#include "SHBFFEX.h"

class QLabel;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

class TFolderBrowseDialog : public QDialog {
  Q_OBJECT

 public:
  // Item data roles of the tree, for finding items by path.
  static constexpr int kPathRole = Qt::UserRole;
  static constexpr int kSpecialFolderRole = Qt::UserRole + 1;

  explicit TFolderBrowseDialog(const TSHBrowseForFolderEx& browser, QWidget* parent = nullptr);

  // The selected item: what OK confirms.
  TBrowseItem Selected() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QTreeWidgetItem* AddItem(QTreeWidgetItem* parent, const TBrowseItem& item);
  // Lists item's subfolders under it the first time it opens.
  void Populate(QTreeWidgetItem* item);
  void SelectInitial(const TBrowseItem& initial);
  void TreeSelectionChange(QTreeWidgetItem* current);
  void Place();

  const TSHBrowseForFolderEx& browser_;
  QString initialPath_;
  QLabel* LbCaption;
  QTreeWidget* Tree;
  QLabel* LbStatus;
  QPushButton* BtnOk;
  QPushButton* BtnCancel;
};

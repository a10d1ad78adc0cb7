#include "ListDifferencesView.h"

#include "ListColumns.h"
#include "ListDifferencesModel.h"

TListDifferencesView::TListDifferencesView(TListDifferencesModel* model,
                                           const QString& accessibleName, QWidget* parent)
    : QTreeView(parent), model_(model) {
  setObjectName(QStringLiteral("DifferenceList"));
  setRootIsDecorated(false);
  setUniformRowHeights(true);
  setAllColumnsShowFocus(true);
  setSelectionBehavior(QAbstractItemView::SelectRows);
  setSelectionMode(QAbstractItemView::ExtendedSelection);
  setAccessibleName(accessibleName);
  setModel(model);
}

void TListDifferencesView::Refit() {
  setColumnHidden(TListDifferencesModel::colTaken, model_->ConflictCount() == 0);
  SizeColumnsToFirstRows(*this);
  if (model_->rowCount() > 0 && !currentIndex().isValid()) setCurrentIndex(model_->index(0, 0));
}

// The list of a TListDifferencesModel: one line per difference or conflict, columns
// fitted to the first rows and kept in view, the side taken shown only for a merge.
#pragma once

#include <QTreeView>

class TListDifferencesModel;

class TListDifferencesView : public QTreeView {
  Q_OBJECT

 public:
  TListDifferencesView(TListDifferencesModel* model, const QString& accessibleName,
                       QWidget* parent = nullptr);

  // After the model changed: the columns fitted again, the first row current.
  void Refit();

  TListDifferencesModel& Differences() const { return *model_; }

 private:
  TListDifferencesModel* model_;
};

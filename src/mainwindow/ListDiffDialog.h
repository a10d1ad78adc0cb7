// The differences between the grid and the data file as another program left it; or
// the merge of that file into the grid, its conflicts listed first, each decided as the
// user's own edit (自分の編集) or the file's content (ファイルの内容) before the merge
// goes into the grid.
#pragma once

#include <QDialog>
#include <cstdint>
#include <unordered_set>

#include "ListDiff.h"

class QLabel;
class QPushButton;
class TListDifferencesModel;
class TListDifferencesView;

class TListDiffDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TListDiffDialog(QWidget* parent = nullptr);

  // Lists how file differs from grid: what the grid would become as the file. The
  // lists must outlive the dialog.
  void ShowDifferences(const TLaunchList& grid, const TLaunchList& file);
  // Merges what ours (the grid) and theirs (the file) changed since base and lists the
  // conflicts, then what the merge changes in ours. マージ accepts. The lists must
  // outlive the dialog.
  void ShowMerge(const TLaunchList& base, const TLaunchList& ours, const TLaunchList& theirs);
  // Decides the selected conflicts for theirs (or ours), and merges again.
  void TakeTheirs(bool theirs);
  // The merge as decided so far.
  const TMergeResult& Merge() const { return merge_; }

  TListDifferencesModel* Differences = nullptr;
  TListDifferencesView* List = nullptr;
  QLabel* LbSummary = nullptr;
  QPushButton* BtnOurs = nullptr;
  QPushButton* BtnTheirs = nullptr;
  QPushButton* BtnMerge = nullptr;
  QPushButton* BtnClose = nullptr;

 protected:
  // Space on the list switches the selected conflicts to the other side.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Remerge();
  // The keys of the selected conflicts.
  std::vector<std::uint64_t> SelectedConflicts() const;
  const TLaunchList* base_ = nullptr;
  const TLaunchList* ours_ = nullptr;
  const TLaunchList* theirs_ = nullptr;
  TMergeResult merge_;
  std::unordered_set<std::uint64_t> takeTheirs_;
};

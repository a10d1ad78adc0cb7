#include "MergeBase.h"

#include "DataFileCommands.h"

void TMergeBase::KeepGrid(const TGridStore& grid) {
  file_.reset();
  grid_ = grid.Snapshot();
}

void TMergeBase::KeepFile(std::shared_ptr<const TLaunchList> file) {
  grid_.reset();
  file_ = std::move(file);
}

TLaunchList TMergeBase::List(const TDataFingerprint& baseline) const {
  TLaunchList list;
  if (grid_) {
    GridToLaunchList(*grid_, list);
  } else {
    list.Clear();
    list.Pages.Clear();
    if (file_) {
      list.Status = file_->Status;
      for (int p = 0; p < file_->Pages.Count(); ++p)
        list.Pages.Add(std::make_unique<TPageItem>(file_->Pages.Get(p)));
      for (int i = 0; i < file_->Count(); ++i)
        list.Emplace(file_->Get(i));
    }
  }
  // The counts the launcher wrote since follow the file button by button; a base that
  // does not hold the file's buttons one for one keeps its own.
  if (static_cast<int>(baseline.UseCounts.size()) == list.Count())
    for (int i = 0; i < list.Count(); ++i)
      list.Get(i).UseCount = baseline.UseCounts[static_cast<std::size_t>(i)];
  return list;
}

// What the grid last matched on disk, kept as the base of a merge with a file another
// program changed since: the grid's own rows when it was loaded, saved or reloaded
// (shared with the grid until it changes them), or the file as read when a merge took
// it in.
#pragma once

#include <memory>
#include <optional>

#include "GridStore.h"
#include "LaunchList.h"
#include "OutsideChanges.h"

class TMergeBase {
 public:
  // The grid as it stands is what the file holds.
  void KeepGrid(const TGridStore& grid);
  // The file as read is the base: the grid holds a merge of it.
  void KeepFile(std::shared_ptr<const TLaunchList> file);

  // The base as a launch list, with the use counts of baseline (the data file as the
  // grid last matched it): the launcher's counts taken into the grid since are then
  // counted once by a merge, not twice. The buttons' texts may borrow from what this
  // keeps: use the list only until the next Keep.
  TLaunchList List(const TDataFingerprint& baseline) const;

 private:
  std::optional<TGridSnapshot> grid_;
  std::shared_ptr<const TLaunchList> file_;
};

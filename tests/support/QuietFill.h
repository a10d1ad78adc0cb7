// The grid filled from a launch list as the window fills it, without a window: no
// icons, no progress box, every name zero wide.
#pragma once

#include "StartupLogic.h"

inline void FillQuietly(const TLaunchList& list, TGridStore& grid) {
  TFillSink sink;
  sink.resetIcons = [](int) {};
  sink.addIcon = [](int, const TLaunchDataItem&) {};
  sink.showProgress = [](int, const std::string&) {};
  sink.stepProgress = [](int, std::string_view) {};
  sink.finishProgress = [](const std::string&) {};
  sink.textWidth = [](const std::string&) { return 0; };
  FillGrid(list, grid, sink);
}

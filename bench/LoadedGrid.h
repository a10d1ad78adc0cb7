// A realistic data file of n buttons written into a folder, loaded, and its grid filled
// as the window fills it: what the benchmarks of the window's searches and lists start from.
#pragma once

#include <filesystem>
#include <string>

#include "BenchData.h"
#include "GridStore.h"
#include "LaunchList.h"
#include "QuietFill.h"

namespace bench {

struct TLoadedGrid {
  std::string file;
  TLaunchList list;
  TGridStore grid;

  TLoadedGrid(const std::filesystem::path& dir, int n)
      : file((dir / ("data" + std::to_string(n) + ".lst")).string()) {
    WriteRealisticFile(file, n);
    list.SetFileName(file);
    list.LoadFromFile();
    FillQuietly(list, grid);
  }
};

}  // namespace bench

#include "IconCaches.h"

#include "ShellIcons.h"

namespace {

std::unique_ptr<TIconList> PlaceholderRow(int n) {
  auto list = std::make_unique<TIconList>();
  QIcon placeholder = PlaceholderIcon();
  for (int i = 0; i < n; ++i)
    list->Add(std::make_unique<TIcon>(placeholder));
  return list;
}

}  // namespace

int AddIconRow(TIconGridList& grid, int n) {
  return grid.Add(PlaceholderRow(n));
}

void InsertIconRow(TIconGridList& grid, int r, int n) {
  if (r >= 0 && r < grid.Count()) grid.Insert(r, PlaceholderRow(n));
}

void ResetIconGrid(TIconGridList& grid, int rows, int n) {
  if (rows < 1) return;
  grid.Clear();
  for (int r = 0; r < rows; ++r)
    AddIconRow(grid, n);
}

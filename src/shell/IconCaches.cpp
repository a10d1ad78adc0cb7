#include "IconCaches.h"

#include <algorithm>

#include "ShellIcons.h"

void TIconList::Move(int from, int to) {
  CheckIndex(from);
  CheckIndex(to);
  const auto at = [this](int i) { return icons_.begin() + i; };
  if (from < to) {
    std::rotate(at(from), at(from + 1), at(to + 1));
  } else {
    std::rotate(at(to), at(from), at(from + 1));
  }
}

namespace {

std::unique_ptr<TIconList> PlaceholderRow(int n) {
  auto list = std::make_unique<TIconList>();
  list->Reserve(n);
  const TIcon placeholder(PlaceholderIcon());
  for (int i = 0; i < n; ++i)
    list->Add(placeholder);
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

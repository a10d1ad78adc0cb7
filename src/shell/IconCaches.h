// The icon cache of the main window's grid: one icon list per page, one icon
// object per button, in grid order. The objects are per button; the images
// behind them are shared (QIcon), so caching them costs little.
#pragma once

#include <QIcon>
#include <memory>
#include <vector>

#include "ObjectList.h"

// One button's icon.
class TIcon {
 public:
  TIcon() = default;
  explicit TIcon(QIcon icon) : Icon(std::move(icon)) {}
  QIcon Icon;
};

// The icons of one page: an owning list, entry i for button i.
class TIconList : public TObjectList<TIcon> {};

// An owning list of icon lists.
class TIconsList : public TObjectList<TIconList> {
 public:
  virtual ~TIconsList() = default;
};

// The icon lists of the grid: entry r for page r (grid row r + 1). Add, Get, Insert
// (0 to Count()) and Delete raise EListError outside the list.
class TIconGridList : public TIconsList {};

// Appends a list of n placeholder icons (none for n <= 0); returns its index.
int AddIconRow(TIconGridList& grid, int n);

// Inserts a list of n placeholder icons at r when r is a present position (0 to
// Count() - 1); otherwise does nothing (appending is AddIconRow's).
void InsertIconRow(TIconGridList& grid, int r, int n);

// With rows >= 1: empties the grid and appends rows lists of n placeholder icons
// each. With rows < 1 nothing changes.
void ResetIconGrid(TIconGridList& grid, int rows, int n);

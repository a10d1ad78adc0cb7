// The icon cache of the main window's grid: one icon list per page, one icon
// per button, in grid order. A page's icons are held by value in one block, so a
// million buttons do not cost a million heap objects; the images behind them are
// shared (QIcon), so caching them costs little.
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

// The icons of one page: entry i for button i. Get, Insert (0 to Count()), Delete,
// Replace and Move raise EListError outside the list, as an owning list does. The
// overloads taking a std::unique_ptr take the icon out of it (a null pointer adds a
// null icon); a reference from Get lasts until the list next changes.
class TIconList {
 public:
  int Count() const { return static_cast<int>(icons_.size()); }
  // Makes room for n icons at once.
  void Reserve(int n) {
    if (n > 0) icons_.reserve(static_cast<std::size_t>(n));
  }
  // Appends; returns the new entry's index.
  int Add(TIcon icon) {
    icons_.push_back(std::move(icon));
    return Count() - 1;
  }
  int Add(std::unique_ptr<TIcon> icon) { return Add(Take(std::move(icon))); }
  // Appends n empty entries, for icons read later.
  void AddEmpty(int n) {
    if (n > 0) icons_.resize(icons_.size() + static_cast<std::size_t>(n));
  }
  TIcon& Get(int index) {
    CheckIndex(index);
    return icons_[static_cast<std::size_t>(index)];
  }
  const TIcon& Get(int index) const {
    CheckIndex(index);
    return icons_[static_cast<std::size_t>(index)];
  }
  void Insert(int index, TIcon icon) {
    if (index < 0 || index > Count()) throw EListError(index);
    icons_.insert(icons_.begin() + index, std::move(icon));
  }
  void Insert(int index, std::unique_ptr<TIcon> icon) { Insert(index, Take(std::move(icon))); }
  void Delete(int index) {
    CheckIndex(index);
    icons_.erase(icons_.begin() + index);
  }
  void Clear() { icons_.clear(); }
  void Replace(int index, TIcon icon) {
    CheckIndex(index);
    icons_[static_cast<std::size_t>(index)] = std::move(icon);
  }
  void Replace(int index, std::unique_ptr<TIcon> icon) { Replace(index, Take(std::move(icon))); }
  // Moves the entry at from to index to; the entries between shift by one. Both must
  // exist.
  void Move(int from, int to);

 private:
  static TIcon Take(std::unique_ptr<TIcon> icon) { return icon ? std::move(*icon) : TIcon(); }
  void CheckIndex(int index) const {
    if (index < 0 || index >= Count()) throw EListError(index);
  }
  std::vector<TIcon> icons_;
};

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

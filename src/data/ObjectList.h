// An owning list, as every list of the data model and its caches is: entries are
// held by unique_ptr, and an index outside the list raises the list index error.
#pragma once

#include <algorithm>
#include <memory>
#include <utility>
#include <vector>

#include "LaunchErrors.h"

template <typename T>
class TObjectList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  // Appends, taking ownership; returns the new entry's index.
  int Add(std::unique_ptr<T> item) {
    items_.push_back(std::move(item));
    return Count() - 1;
  }
  // The entry at index; EListError(index) outside the list.
  T& Get(int index) {
    CheckIndex(index);
    return *items_[static_cast<std::size_t>(index)];
  }
  const T& Get(int index) const {
    CheckIndex(index);
    return *items_[static_cast<std::size_t>(index)];
  }
  // Inserts at index (0 to Count()), taking ownership; EListError(index) otherwise.
  void Insert(int index, std::unique_ptr<T> item) {
    if (index < 0 || index > Count()) throw EListError(index);
    items_.insert(items_.begin() + index, std::move(item));
  }
  // Deletes and frees the entry at index; EListError(index) outside the list.
  void Delete(int index) {
    CheckIndex(index);
    items_.erase(items_.begin() + index);
  }
  // Deletes and frees the entries first ... first + count - 1, which must all exist.
  void DeleteRange(int first, int count) {
    if (count <= 0) return;
    CheckIndex(first);
    CheckIndex(first + count - 1);
    items_.erase(items_.begin() + first, items_.begin() + first + count);
  }
  void Clear() { items_.clear(); }
  // Puts item at index and frees the entry that stood there; EListError(index) outside.
  void Replace(int index, std::unique_ptr<T> item) {
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)] = std::move(item);
  }
  // Moves the entry at from to index to; the entries between shift by one. Both must
  // exist.
  void Move(int from, int to) {
    CheckIndex(from);
    CheckIndex(to);
    if (from < to) {
      std::rotate(items_.begin() + from, items_.begin() + from + 1, items_.begin() + to + 1);
    } else {
      std::rotate(items_.begin() + to, items_.begin() + from, items_.begin() + from + 1);
    }
  }

 protected:
  void CheckIndex(int index) const {
    if (index < 0 || index >= Count()) throw EListError(index);
  }
  std::vector<std::unique_ptr<T>> items_;
};

// An owning list, as every list of the data model and its caches is: an index
// outside the list raises the list index error. An entry is either handed in (a
// unique_ptr the list takes over) or made by the list itself in blocks of many
// entries (Emplace), which is how a loaded file's million buttons avoid a heap
// object each.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "LargePages.h"
#include "LaunchErrors.h"

template <typename T>
class TObjectList {
 public:
  TObjectList() = default;
  ~TObjectList() { Clear(); }
  TObjectList(const TObjectList&) = delete;
  TObjectList& operator=(const TObjectList&) = delete;
  TObjectList(TObjectList&& other) noexcept
      : items_(std::move(other.items_)), blocks_(std::move(other.blocks_)) {
    other.items_.clear();
    other.blocks_.clear();
  }
  TObjectList& operator=(TObjectList&& other) noexcept {
    if (this != &other) {
      Clear();
      items_ = std::move(other.items_);
      blocks_ = std::move(other.blocks_);
      other.items_.clear();
      other.blocks_.clear();
    }
    return *this;
  }

  int Count() const { return static_cast<int>(items_.size()); }
  // Appends, taking ownership; returns the new entry's index.
  int Add(std::unique_ptr<T> item) {
    items_.push_back(TEntry::Handed(item.release()));
    return Count() - 1;
  }
  // Appends an entry made from args in the list's own blocks and returns it.
  template <typename... Args>
  T& Emplace(Args&&... args) {
    if (items_.size() == items_.capacity())
      items_.reserve(std::max<std::size_t>(16, items_.capacity() * 2));
    if (blocks_.empty() || blocks_.back().used == blocks_.back().capacity) {
      blocks_.reserve(blocks_.size() + 1);
      const std::size_t capacity = std::exchange(nextBlock_, kBlockSize);
      T* items = std::allocator<T>().allocate(capacity);
      if (capacity > kBlockSize) PreferLargePages(items, capacity * sizeof(T));
      blocks_.push_back({items, 0, capacity});
    }
    TBlock& block = blocks_.back();
    T* item = ::new (static_cast<void*>(block.items + block.used)) T(std::forward<Args>(args)...);
    ++block.used;
    items_.push_back(TEntry::InBlock(item));  // cannot throw: room was made above
    return *item;
  }
  // Gives back the room kept for entries yet to come.
  void ShrinkToFit() { items_.shrink_to_fit(); }
  // The next block Emplace starts holds room for count entries (no fewer than usual):
  // a loader that can tell how many entries are coming makes few large blocks.
  void SetNextBlockSize(std::size_t count) { nextBlock_ = std::max(count, kBlockSize); }
  // The entry at index; EListError(index) outside the list.
  T& Get(int index) {
    CheckIndex(index);
    return *items_[static_cast<std::size_t>(index)].Get();
  }
  const T& Get(int index) const {
    CheckIndex(index);
    return *items_[static_cast<std::size_t>(index)].Get();
  }
  // Inserts at index (0 to Count()), taking ownership; EListError(index) otherwise.
  void Insert(int index, std::unique_ptr<T> item) {
    if (index < 0 || index > Count()) throw EListError(index);
    items_.insert(items_.begin() + index, TEntry::Handed(item.release()));
  }
  // Deletes and frees the entry at index; EListError(index) outside the list.
  void Delete(int index) {
    CheckIndex(index);
    items_[static_cast<std::size_t>(index)].Destroy();
    items_.erase(items_.begin() + index);
  }
  // Deletes and frees the entries first ... first + count - 1, which must all exist.
  void DeleteRange(int first, int count) {
    if (count <= 0) return;
    CheckIndex(first);
    CheckIndex(first + count - 1);
    for (int i = first; i < first + count; ++i)
      items_[static_cast<std::size_t>(i)].Destroy();
    items_.erase(items_.begin() + first, items_.begin() + first + count);
  }
  void Clear() {
    for (TEntry& entry : items_)
      entry.Destroy();
    items_.clear();
    for (TBlock& block : blocks_)
      std::allocator<T>().deallocate(block.items, block.capacity);
    blocks_.clear();
  }
  // Puts item at index and frees the entry that stood there; EListError(index) outside.
  void Replace(int index, std::unique_ptr<T> item) {
    CheckIndex(index);
    TEntry& entry = items_[static_cast<std::size_t>(index)];
    entry.Destroy();
    entry = TEntry::Handed(item.release());
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

 private:
  // An entry's address, its lowest bit telling whether it lives in a block (the list
  // destroys it in place) or was handed in (the list deletes it).
  class TEntry {
   public:
    static TEntry Handed(T* item) { return TEntry(reinterpret_cast<std::uintptr_t>(item)); }
    static TEntry InBlock(T* item) { return TEntry(reinterpret_cast<std::uintptr_t>(item) | 1); }
    T* Get() const { return reinterpret_cast<T*>(bits_ & ~std::uintptr_t{1}); }
    void Destroy() {
      if ((bits_ & 1) != 0) {
        Get()->T::~T();  // made here as a T, so no need to ask which destructor
      } else {
        delete Get();
      }
      bits_ = 0;
    }

   private:
    explicit TEntry(std::uintptr_t bits) : bits_(bits) {}
    std::uintptr_t bits_;
  };
  static_assert(alignof(T) > 1, "the entry's lowest address bit must be free");
  struct TBlock {
    T* items;
    std::size_t used;
    std::size_t capacity;
  };
  static constexpr std::size_t kBlockSize = 1024;

  std::vector<TEntry> items_;
  std::vector<TBlock> blocks_;  // an entry deleted from a block leaves its room unused
  std::size_t nextBlock_ = kBlockSize;
};

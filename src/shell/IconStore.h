// The memory of every icon read so far, shared by the icon functions, so that a
// source (a file and index, a theme name, a path) is read once however many
// buttons show it. Emptied when the application object goes away.
#pragma once

#include <QIcon>
#include <array>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "RootFolder.h"

// The icons of one file or name, read once and kept.
class TIconSource {
 public:
  virtual ~TIconSource() = default;
  // Icon index; a null icon when the source has none there.
  virtual QIcon Icon(int index) = 0;
  // Icons at 0, 1, 2, … up to the first index that has none.
  virtual int Count() = 0;
};

// A quick hash of bytes (not keyed: a cache's spread, not a defence).
std::uint64_t HashBytes(std::string_view bytes) noexcept;

// Hashes a key by its bytes whatever holds them, so that a cache keyed by
// std::string is searched with a std::string_view and no key is built per lookup.
struct TBytesHash {
  using is_transparent = void;
  std::size_t operator()(std::string_view bytes) const noexcept { return HashBytes(bytes); }
};

template <typename Value>
using TBytesMap = std::unordered_map<std::string, Value, TBytesHash, std::equal_to<>>;

// Icons by the bytes of their source, for the caches every button goes through:
// open addressing over one array, the keys back to back in one buffer. A lookup
// builds no string and touches two compact blocks, not a node and a key scattered
// over a heap that holds a million buttons.
class TIconTable {
 public:
  // The icon kept for key; nullptr when there is none.
  const QIcon* find(std::string_view key) const;
  // Keeps icon for key, in place of any kept before; returns the kept icon, which
  // stays put until the next emplace.
  const QIcon& emplace(std::string_view key, QIcon icon);
  std::size_t count(std::string_view key) const { return find(key) != nullptr ? 1 : 0; }
  std::size_t size() const { return size_; }
  void clear() { *this = TIconTable(); }

 private:
  static constexpr std::size_t kFree = static_cast<std::size_t>(-1);
  struct TSlot {
    std::size_t offset = kFree;  // of the key in keys_; kFree for an empty slot
    std::uint32_t hash = 0;
    std::uint32_t length = 0;
    QIcon icon;
  };
  std::size_t SlotOf(std::string_view key, std::uint32_t hash) const;
  void Rehash(std::size_t slotCount);

  std::vector<TSlot> slots_;  // a power of two of them, at most half used
  std::string keys_;
  std::size_t size_ = 0;
};

struct TIconStore {
  TBytesMap<QIcon> themeIcons;                             // by name; null when the theme lacks it
  std::array<QIcon, kRootFolderCount> specialFolderIcons;  // by TRootFolder ordinal, once found
  TBytesMap<std::unique_ptr<TIconSource>> sources;         // by file bytes
  TIconTable itemIcons;                                    // by the target path bytes of a button
  TIconTable pathIcons;                                    // by UTF-8 path
  QIcon placeholder;
  QIcon unknownFile;  // ShellIcon(0): the theme's, else a drawn one
};

// The one store, made on first use.
TIconStore& IconStore();

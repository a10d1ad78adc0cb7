#include "IconStore.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstring>
#include <utility>

#include "IconFiles.h"

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;

std::uint64_t Mix(std::uint64_t h) {
  h ^= h >> 32;
  h *= 0xD6E8FEB86659FD93ULL;
  h ^= h >> 32;
  return h;
}

TIconStore*& StorePointer() {
  static TIconStore* store = nullptr;
  return store;
}

// Pixmaps must go before the application object does.
void ReleaseStore() {
  delete StorePointer();
  StorePointer() = nullptr;
}

}  // namespace

TIconStore& IconStore() {
  TIconStore*& store = StorePointer();
  if (store == nullptr) {
    store = new TIconStore;
    if (QCoreApplication::instance() != nullptr) qAddPostRoutine(ReleaseStore);
  }
  return *store;
}

void ClearIconCache() {
  if (StorePointer() != nullptr) *StorePointer() = TIconStore();
}

std::uint64_t HashBytes(std::string_view bytes) noexcept {
  std::uint64_t h = bytes.size() * kMultiplier;
  const char* p = bytes.data();
  std::size_t n = bytes.size();
  for (; n >= 8; p += 8, n -= 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    h = (h ^ word) * kMultiplier;
    h ^= h >> 29;
  }
  if (n > 0) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, n);
    h = (h ^ word) * kMultiplier;
  }
  return Mix(h);
}

std::size_t TIconTable::SlotOf(std::string_view key, std::uint32_t hash) const {
  const std::size_t mask = slots_.size() - 1;
  for (std::size_t i = hash & mask;; i = (i + 1) & mask) {
    const TSlot& slot = slots_[i];
    if (slot.offset == kFree) return i;
    if (slot.hash == hash && slot.length == key.size() &&
        (key.empty() || std::memcmp(keys_.data() + slot.offset, key.data(), key.size()) == 0))
      return i;
  }
}

const QIcon* TIconTable::find(std::string_view key) const {
  if (size_ == 0) return nullptr;
  const TSlot& slot = slots_[SlotOf(key, static_cast<std::uint32_t>(HashBytes(key)))];
  return slot.offset == kFree ? nullptr : &slot.icon;
}

const QIcon& TIconTable::emplace(std::string_view key, QIcon icon) {
  if (2 * (size_ + 1) > slots_.size()) Rehash(std::max<std::size_t>(16, 2 * slots_.size()));
  const auto hash = static_cast<std::uint32_t>(HashBytes(key));
  TSlot& slot = slots_[SlotOf(key, hash)];
  if (slot.offset == kFree) {
    slot.offset = keys_.size();
    slot.hash = hash;
    slot.length = static_cast<std::uint32_t>(key.size());
    keys_.append(key);
    ++size_;
  }
  slot.icon = std::move(icon);
  return slot.icon;
}

void TIconTable::Rehash(std::size_t slotCount) {
  std::vector<TSlot> old = std::exchange(slots_, std::vector<TSlot>(slotCount));
  const std::size_t mask = slotCount - 1;
  for (TSlot& slot : old) {
    if (slot.offset == kFree) continue;
    std::size_t i = slot.hash & mask;
    while (slots_[i].offset != kFree)
      i = (i + 1) & mask;
    slots_[i] = std::move(slot);
  }
}

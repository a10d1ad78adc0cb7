#include "LargePages.h"

#include <sys/mman.h>

#include <cstdint>

void PreferLargePages(void* memory, std::size_t size) {
#ifdef MADV_HUGEPAGE
  // Only the whole large pages inside the block: the memory around it is not ours.
  constexpr std::uintptr_t kLarge = std::uintptr_t{2} << 20;
  const auto begin = (reinterpret_cast<std::uintptr_t>(memory) + kLarge - 1) & ~(kLarge - 1);
  const auto end = (reinterpret_cast<std::uintptr_t>(memory) + size) & ~(kLarge - 1);
  if (begin < end) ::madvise(reinterpret_cast<void*>(begin), end - begin, MADV_HUGEPAGE);
#else
  (void)memory;
  (void)size;
#endif
}

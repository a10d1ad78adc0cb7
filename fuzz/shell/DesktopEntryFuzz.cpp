// Any bytes as a desktop entry, and as the Exec line of one.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "DesktopEntryReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (auto entry = ReadDesktopEntry(bytes)) {
    if (auto args = SplitExec(entry->exec)) (void)JoinArguments(*args, 1);
  }
  if (auto args = SplitExec(bytes)) {
    // Only quoting ("", '' or an escaped line break) makes an empty argument.
    for (const std::string& arg : *args)
      if (arg.empty() && bytes.find_first_of("\"'\\") == std::string_view::npos) std::abort();
    (void)JoinArguments(*args, 0);
  }
  return 0;
}

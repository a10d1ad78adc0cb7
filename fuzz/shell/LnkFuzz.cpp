// Any bytes as a shell link: a link or nothing, and what it reads is whole.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "LnkReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  auto link = ReadLnk(bytes);
  if (link && !IsLnkHeader(bytes)) std::abort();
  if (link) {
    std::int32_t show = ShowCommandOf(link->showCommand);
    if (show != 1 && show != 3 && show != 7) std::abort();
  }
  return 0;
}

// Any bytes as a program information file.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "PifReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto pif = ReadPif(std::string_view(reinterpret_cast<const char*>(data), size));
  if (pif && (pif->program.empty() || pif->program.size() > 63 || pif->title.size() > 30))
    std::abort();
  return 0;
}

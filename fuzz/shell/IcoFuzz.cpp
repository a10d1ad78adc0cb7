// Any bytes as an icon file, and as one icon image.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "IcoReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TIconImages images = ReadIco(bytes);
  if (images.size() > kMaxIconImages) std::abort();
  for (const QImage& image : images)
    if (image.isNull() || image.width() > 1024 || image.height() > 1024) std::abort();
  (void)DecodeIconImage(bytes);
  return 0;
}

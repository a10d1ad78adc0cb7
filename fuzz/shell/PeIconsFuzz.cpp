// Any bytes as a PE file holding icons: its directory, then each group icon.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FileIO.h"
#include "PeIconReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TMemorySource source(std::string_view(reinterpret_cast<const char*>(data), size));
  TPeIconDirectory directory = TPeIconDirectory::Read(source);
  for (int i = 0; i < directory.Count() && i < 8; ++i)
    for (const QImage& image : directory.Icon(source, i))
      if (image.isNull() || image.width() > 1024 || image.height() > 1024) std::abort();
  (void)directory.Icon(source, -1);
  return 0;
}

// Any bytes as an Internet shortcut: values never carry a line break or a NUL.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "InternetShortcut.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  auto info = ParseInternetShortcut(std::string_view(reinterpret_cast<const char*>(data), size));
  for (const std::string* value : {&info.url, &info.iconFile, &info.iconIndex})
    if (value->find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) std::abort();
  return 0;
}

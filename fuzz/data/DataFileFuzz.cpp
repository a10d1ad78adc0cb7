// Any bytes as a data file: the text form is tried, then the binary form. Every
// outcome must be a load or one of the data model's errors.
#include <cstdint>
#include <string_view>

#include "LaunchErrors.h"
#include "LaunchList.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TLaunchList list;
  try {
    list.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));
    if (list.Loaded) (void)TextDataFileBytes(list);
  } catch (const ELaunchError&) {
  }
  return 0;
}

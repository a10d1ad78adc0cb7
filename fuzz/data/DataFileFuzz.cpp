// Any bytes as a data file: the text form is tried, then the binary form. Every
// outcome must be a load or one of the data model's errors. Whatever the bytes, the
// UTF-8 check answers, and each title shown in a field and stored again unedited shows
// the same: no byte of it is lost to the field.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "FileIO.h"
#include "LaunchErrors.h"
#include "LaunchList.h"
#include "ShiftJis.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TLaunchList list;
  try {
    list.LoadFromBytes(bytes);
    if (list.Loaded) (void)TextDataFileBytes(list);
  } catch (const ELaunchError&) {
  }
  (void)IsUtf8DataText(list, TMemorySource(bytes));
  for (int i = 0; i < list.Count(); ++i) {
    const std::string shown = sjis::ToShownUtf8(list.Get(i).Title);
    const auto stored = sjis::FromShownUtf8(shown);
    if (!stored || sjis::ToShownUtf8(*stored) != shown) std::abort();
  }
  return 0;
}

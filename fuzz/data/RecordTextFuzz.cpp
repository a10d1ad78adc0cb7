// Any bytes as a record text, read by every reader. A value wrapped in quotes loses
// one pair of them on each pass through a record text, and line breaks are written
// as \n; so write-then-read must never lengthen the text, and must come to rest.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "LaunchErrors.h"
#include "RecordText.h"

namespace {

template <typename Read, typename Write>
void CheckStable(std::string_view text, Read read, Write write) {
  try {
    std::string written = write(*read(text));
    for (int pass = 0; pass < 64; ++pass) {
      std::string again = write(*read(written));
      if (again == written) return;
      if (again.size() > written.size()) std::abort();
      written = std::move(again);
    }
    std::abort();  // never came to rest
  } catch (const ELaunchError&) {
  }
}

template <typename Field>
void TryField(Field field, std::string_view text) {
  try {
    (void)field(text);
  } catch (const ELaunchError&) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  CheckStable(text, TextToItem, [](const TLaunchDataItem& i) { return ItemToText(i); });
  CheckStable(text, TextToPage, [](const TPageItem& p) { return PageToText(p); });
  CheckStable(text, TextToStatus, [](const TDataStatus& s) { return StatusToText(s); });
  TryField(CaptionOfText, text);
  TryField(CountOfText, text);
  TryField(TitleOfText, text);
  TryField(LinkOfText, text);
  TryField(CommentOfText, text);
  TryField(KindOfText, text);
  TryField(UseCountOfText, text);
  return 0;
}

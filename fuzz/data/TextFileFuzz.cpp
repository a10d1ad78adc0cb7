// Any bytes after an accepted status section, so that the page and button sections
// are reached. Whatever loads must save and load again; a save of that load may only
// have lost quotes that wrapped a whole value (one pair a pass), never grown. Each
// button's text found in the file's bytes must be the text the writer writes.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "LaunchErrors.h"
#include "LaunchList.h"
#include "RecordText.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string bytes = "\"PelloRunner\",\"3.00\",\"m\",0,0,1\r\n**\r\n";
  bytes.append(reinterpret_cast<const char*>(data), size);
  TLaunchList list;
  try {
    list.LoadFromBytes(bytes);
  } catch (const ELaunchError&) {
    return 0;
  }
  if (!list.Loaded) std::abort();  // the status section alone makes it a text data file
  const std::string_view held = list.HeldBytes().View();
  std::string scratch;
  for (int i = 0; i < list.Count(); ++i)
    if (ItemTextIn(list.Get(i), held, scratch) != ItemToText(list.Get(i))) std::abort();
  std::string saved;
  try {
    saved = TextDataFileBytes(list);
  } catch (const EListError&) {
    return 0;  // page counts beyond the buttons: refused before anything is written
  }
  for (int pass = 0; pass < 64; ++pass) {
    TLaunchList again;
    again.LoadFromBytes(saved);
    if (!again.Loaded) std::abort();
    std::string resaved = TextDataFileBytes(again);
    if (resaved == saved) return 0;
    if (resaved.size() > saved.size()) std::abort();
    saved = std::move(resaved);
  }
  std::abort();
}

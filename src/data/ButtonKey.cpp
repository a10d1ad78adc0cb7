#include "ButtonKey.h"

std::uint64_t ButtonKey(const TLaunchDataItem& item) {
  THash hash;
  hash.Add(item.Kind);
  hash.Add(static_cast<std::uint64_t>(static_cast<std::uint32_t>(item.ShowCmd)) << 32 |
           static_cast<std::uint32_t>(item.IconIndex));
  for (const TFieldText* text : {&item.Title, &item.Link, &item.AltLink, &item.Params,
                                 &item.WorkDir, &item.IconFile, &item.Comment})
    hash.Add(std::string_view(*text));
  return hash.Value();
}

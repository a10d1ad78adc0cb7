// Any bytes as a line: the fast record split must give exactly the fields of the
// plain byte-by-byte split, for every field limit; the direct reader of written
// button lines must read what the split and FieldsToItem read; and the button
// text writer must write what the quoting writer writes for the fields read.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "RecordSplit.h"
#include "RecordText.h"
#include "ReferenceSplit.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view line(reinterpret_cast<const char*>(data), size);
  TRecordFields fields;
  for (std::size_t limit : {std::size_t{1}, std::size_t{3}, std::size_t{11}, std::size_t{1000}}) {
    SplitRecord(line, fields, limit);
    const auto expected = reference::SplitRecord(line, limit);
    if (fields.Count() != expected.size()) std::abort();
    for (std::size_t i = 0; i < expected.size(); ++i)
      if (fields[i] != expected[i]) std::abort();
  }
  if (!reference::WrittenItemDifference(line).empty()) std::abort();
  // The fields as the texts of a button, whatever they hold.
  SplitRecord(line, fields, 11);
  TLaunchDataItem item;
  TFieldText* texts[] = {&item.Title,   &item.Link,     &item.AltLink, &item.Params,
                         &item.WorkDir, &item.IconFile, &item.Comment};
  for (std::size_t i = 0; i < fields.Count() && i < 7; ++i)
    *texts[i] = fields[i];
  item.UseCount = static_cast<std::int32_t>(size * 2654435761u);
  if (!reference::ItemTextDifference(item).empty()) std::abort();
  return 0;
}

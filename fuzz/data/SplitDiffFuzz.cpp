// Any bytes as a line: the fast record split must give exactly the fields of the
// plain byte-by-byte split, for every field limit.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "RecordSplit.h"
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
  return 0;
}

// Builders of binary data files for tests: the sections written with the value
// encoding, and a header that places them one after another.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "DataItems.h"
#include "ValueStream.h"

namespace binary_fixture {

inline std::string Le32(std::int32_t v) {
  std::string out;
  for (int i = 0; i < 4; ++i)
    out.push_back(static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF));
  return out;
}

inline std::string StatusSection(std::string_view app = "PelloRunner",
                                 std::string_view version = "3.00") {
  std::string s;
  TValueWriter w(s);
  w.WriteString(app);
  w.WriteString(version);
  w.WriteString("MakerText(C)Dwo");
  w.WriteInteger(0);
  w.WriteInteger(0);
  w.WriteInteger(1);
  return s;
}

inline std::string PageSection() {
  std::string s;
  TValueWriter w(s);
  w.WriteInteger(1);
  TPageItem("P", 1, 0).WriteData(w);
  return s;
}

inline std::string ButtonSection() {
  std::string s;
  TValueWriter w(s);
  w.WriteInteger(1);
  TLaunchDataItem item;
  item.Kind = lkProgram;
  item.UseCount = 300;
  item.Title = "A";
  item.Link = "C:\\A.EXE";
  item.WorkDir = "C:\\";
  item.WriteData(w);
  return s;
}

// A header and the three sections laid one after another.
inline std::string BinaryFile(const std::string& status, const std::string& pages,
                              const std::string& buttons) {
  const std::int32_t s0 = 88, s1 = s0 + static_cast<std::int32_t>(status.size()),
                     s2 = s1 + static_cast<std::int32_t>(pages.size());
  std::string header = Le32(static_cast<std::int32_t>(status.size())) +
                       Le32(static_cast<std::int32_t>(pages.size())) +
                       Le32(static_cast<std::int32_t>(buttons.size())) + std::string(32, '\0') +
                       Le32(s0) + Le32(s1) + Le32(s2) + std::string(32, '\0');
  return header + status + pages + buttons;
}

inline std::string Example() {
  return BinaryFile(StatusSection(), PageSection(), ButtonSection());
}

}  // namespace binary_fixture

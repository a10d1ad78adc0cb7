// Icons inside Windows programs and libraries (.exe, .dll, .cpl, .scr): the
// group icons of the resource tree of a PE file, found by index or resource id.
#pragma once

#include <cstdint>
#include <map>
#include <string_view>
#include <vector>

#include "IcoReader.h"

class TByteSource;

// True when bytes begin like a DOS or PE program ("MZ").
bool IsPeHeader(std::string_view bytes);

// Where the icons of one PE file are. Made once from the file; the images are
// read from it again on demand.
class TPeIconDirectory {
 public:
  // The icon resources of the PE file in source; none when it is not a PE file
  // or its headers or resource tree are damaged. Reads nothing outside source.
  static TPeIconDirectory Read(const TByteSource& source);

  // The number of group icons.
  int Count() const { return static_cast<int>(groups_.size()); }

  // The images of one group icon of the file in source (the one Read was given):
  // index 0, 1, … in the order of the resource tree, or a negative index for the
  // group whose resource id is -index. Empty when there is no such group or none
  // of its images decodes.
  TIconImages Icon(const TByteSource& source, int index) const;

  // Where one resource's data lies in the file.
  struct TResource {
    std::uint64_t offset = 0;
    std::uint32_t size = 0;
  };

 private:
  struct TGroup {
    std::int64_t id;  // -1 for a group known by name
    TResource data;
  };
  std::vector<TGroup> groups_;
  std::map<std::uint32_t, TResource> icons_;  // RT_ICON resources by id
};

// Reader of program information files (.pif): the fixed fields of their basic
// section, which every version of the format keeps at the start of the file.
#pragma once

#include <optional>
#include <string>
#include <string_view>

// The fixed fields, as CP932 bytes (record bytes).
struct TPifInfo {
  std::string title;  // window title, its padding blanks removed
  std::string program;
  std::string startDir;
  std::string params;
};

// The fields of a .pif in bytes; nullopt when the bytes are shorter than the
// basic section, name no program, or hold control characters in a field.
std::optional<TPifInfo> ReadPif(std::string_view bytes);

// ReadPif of the file at path (UTF-8); nullopt also when it cannot be read.
std::optional<TPifInfo> ReadPifFile(const std::string& path);

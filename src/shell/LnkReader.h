// Reader of Shell Link (.lnk) files, the shortcut files of Windows, after the
// published binary format: header, target ID list (skipped), LinkInfo, string
// data and the extra data blocks that carry unexpanded paths.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// What a shortcut holds. Strings are CP932 bytes (record bytes); those stored
// as UTF-16LE are converted.
struct TShellLink {
  std::uint32_t fileSize = 0;  // the target's size when the link was made
  std::int32_t iconIndex = 0;
  std::uint32_t showCommand = 1;  // as stored; see ShowCommandOf
  std::uint16_t hotKey = 0;
  bool hasLinkInfo = false;
  std::string target;  // UNC form first, else local path, else the environment block
  std::string description;
  std::string relativePath;
  std::string workingDir;
  std::string arguments;
  std::string iconLocation;
};

// True when bytes begin with the header of a shell link.
bool IsLnkHeader(std::string_view bytes);

// The link in bytes; nullopt when they are not one whole, readable link (too
// short, a size or offset outside the data, a string without its end, or a
// path CP932 cannot hold). Reads nothing outside bytes.
std::optional<TShellLink> ReadLnk(std::string_view bytes);

// ReadLnk of the file at path (UTF-8); nullopt also when it cannot be read.
std::optional<TShellLink> ReadLnkFile(const std::string& path);

// The window state a stored show command stands for: 3 and 7 as they are,
// every other value the normal window (1).
std::int32_t ShowCommandOf(std::uint32_t stored);

// Builders of the binary fixtures the shell tests read: shortcut files (.lnk in
// ANSI and Unicode form, .pif), icon images, icon files and a PE file holding
// group icons. Everything is made in memory; the tests write it where they need.
#pragma once

#include <QColor>
#include <cstdint>
#include <string>
#include <vector>

namespace fixtures {

// Little-endian writers.
void Put16(std::string& out, std::uint32_t value);
void Put32(std::string& out, std::uint32_t value);
void Set32(std::string& out, std::size_t at, std::uint32_t value);

// What a .lnk holds. Strings are CP932 bytes; in the Unicode form they are
// written as UTF-16LE.
struct TLnkContent {
  bool unicode = false;
  bool linkInfo = true;
  bool idList = true;
  bool network = false;       // LinkInfo with a network share (netName) as well
  std::string localBasePath;  // with linkInfo
  std::string netName;        // with network
  std::string pathSuffix;     // common path suffix
  std::string description;
  std::string relativePath;
  std::string workingDir;
  std::string arguments;
  std::string iconLocation;
  std::string environmentTarget;  // an environment data block, when not empty
  std::int32_t iconIndex = 0;
  std::uint32_t showCommand = 1;
  std::uint16_t hotKey = 0;
  std::uint32_t fileSize = 0;
};
std::string LnkBytes(const TLnkContent& content);

// A .pif of the basic section and the Windows 3 heading (fields in CP932).
std::string PifBytes(const std::string& title, const std::string& program,
                     const std::string& startDir, const std::string& params);

// A stored icon image (bitmap with its AND mask) of size side x side, bits per
// pixel 1, 4, 8, 24 or 32, filled with color; the mask makes the left column
// transparent.
std::string DibBytes(int side, int bits, QColor color);
// A PNG icon image.
std::string PngBytes(int side, QColor color);
// An icon file holding the images.
std::string IcoBytes(const std::vector<std::string>& images);

// One group icon of a PE file: its resource id and its images.
struct TGroupIcon {
  std::uint16_t id;
  std::vector<std::string> images;
};
// A PE32 file with one .rsrc section holding the group icons in this order.
std::string PeBytes(const std::vector<TGroupIcon>& groups);
// The fixture program: groups 101, 102, 103 and 104 holding a red 16 and 32, a
// green 32, a blue 48 and a yellow PNG 64.
std::string SamplePe();

}  // namespace fixtures

// Reader of Windows icons: icon files (.ico) and the icon images they share with
// the icon resources of programs. An image is a device-independent bitmap with
// its transparency mask, or a PNG.
#pragma once

#include <QImage>
#include <string_view>
#include <vector>

// One icon: the same picture at one or more sizes, in the order stored.
using TIconImages = std::vector<QImage>;

// The most images of one icon that are decoded; further ones are ignored.
inline constexpr std::size_t kMaxIconImages = 32;
// The most stored entries of one icon that are looked at.
inline constexpr std::size_t kMaxIconEntries = 64;

// True when bytes begin like an icon file (reserved 0, type 1, at least one image).
bool IsIcoHeader(std::string_view bytes);

// One stored icon image as a 32-bit ARGB image; a null image when bytes are not
// an uncompressed bitmap of 1, 4, 8, 24 or 32 bits (up to 256 x 256) with its
// mask, nor a PNG of up to 1024 x 1024. Reads nothing outside bytes.
QImage DecodeIconImage(std::string_view bytes);

// The icon in an icon file: every image that decodes (at most kMaxIconImages);
// empty when the bytes are not an icon file or no image decodes.
TIconImages ReadIco(std::string_view bytes);

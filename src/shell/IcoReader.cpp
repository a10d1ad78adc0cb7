// Icon images are decoded by Qt's image reader (its ICO plugin); we only walk
// the directories of icon files and the resources of PE files to find them.
#include "IcoReader.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageReader>
#include <QtEndian>
#include <algorithm>
#include <optional>
#include <string>

#include "ByteView.h"

namespace {

constexpr int kMaxBitmapSide = 256;
constexpr int kMaxPngSide = 1024;
constexpr std::uint32_t kBitmapHeaderSize = 40;  // the only header the plugin reads
constexpr std::size_t kIcoFileHeaderSize = 6 + 16;
constexpr std::string_view kPngSignature("\x89PNG\r\n\x1a\n", 8);

bool IsPng(std::string_view bytes) {
  return bytes.substr(0, kPngSignature.size()) == kPngSignature;
}

std::uint32_t BigEndian32(std::string_view b) {
  std::uint32_t v = 0;
  for (char c : b)
    v = (v << 8) | static_cast<unsigned char>(c);
  return v;
}

// The size in the header chunk decides before anything is allocated.
bool IsSmallPng(std::string_view bytes) {
  if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR") return false;
  std::uint32_t width = BigEndian32(bytes.substr(16, 4));
  std::uint32_t height = BigEndian32(bytes.substr(20, 4));
  return width != 0 && height != 0 && width <= kMaxPngSide && height <= kMaxPngSide;
}

// Where the parts of a stored bitmap lie.
struct TBitmap {
  std::uint32_t headerSize = 0;
  int width = 0;
  int height = 0;
  int bits = 0;
  std::size_t pixels = 0;  // the rows, bottom up, after the header and palette
  std::size_t stride = 0;
  std::size_t mask = 0;  // the AND mask, after the rows
  std::size_t maskStride = 0;
  bool hasMask = false;
};

// The layout of an uncompressed bitmap of 1, 4, 8, 24 or 32 bits whose rows
// (and mask, but at 32 bits) lie inside bytes; none otherwise. The plugin
// trusts the header, so it is checked here.
std::optional<TBitmap> BitmapOf(std::string_view bytes) {
  try {
    const TByteView data(bytes);
    TBitmap b;
    b.headerSize = data.U32(0);
    const std::int32_t width = data.I32(4);
    const std::int32_t doubleHeight = data.I32(8);
    b.bits = data.U16(14);
    const std::uint32_t compression = data.U32(16);
    const std::uint32_t colorsUsed = data.U32(32);
    if (b.headerSize < kBitmapHeaderSize || b.headerSize > bytes.size()) return std::nullopt;
    if (width < 1 || width > kMaxBitmapSide || doubleHeight < 2 || doubleHeight % 2 != 0 ||
        doubleHeight / 2 > kMaxBitmapSide)
      return std::nullopt;
    // The plugin reads neither 16-bit pixels nor bit fields nor compressed rows.
    if (b.bits != 1 && b.bits != 4 && b.bits != 8 && b.bits != 24 && b.bits != 32)
      return std::nullopt;
    if (compression != 0) return std::nullopt;
    std::uint32_t colors = 0;
    if (b.bits <= 8) {
      colors = colorsUsed == 0 ? (1u << b.bits) : colorsUsed;
      // A 1-bit palette of one colour would make the plugin read bytes per pixel.
      if (colors > (1u << b.bits) || (b.bits == 1 && colors != 2)) return std::nullopt;
    }
    b.width = width;
    b.height = doubleHeight / 2;
    const auto rows = static_cast<std::size_t>(b.height);
    b.pixels = b.headerSize + std::size_t{colors} * 4;
    b.stride = (static_cast<std::size_t>(width) * static_cast<std::size_t>(b.bits) + 31) / 32 * 4;
    b.maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    data.Sub(b.pixels, b.stride * rows);
    b.mask = b.pixels + b.stride * rows;
    b.hasMask = bytes.size() - b.mask >= b.maskStride * rows;
    if (!b.hasMask && b.bits != 32) return std::nullopt;
    return b;
  } catch (const EFormatError&) {
    return std::nullopt;
  }
}

// An icon file of the one image alone, so that the plugin, which reads rows and
// mask on regardless of the entry's size, reads nothing but this image. The
// entry's sizes and depth are left 0: the plugin then takes the image's own.
QByteArray IcoFileOf(std::string_view image) {
  QByteArray file(kIcoFileHeaderSize, '\0');
  char* at = file.data();
  qToLittleEndian<quint16>(1, at + 2);   // an icon
  qToLittleEndian<quint16>(1, at + 4);   // of one image
  qToLittleEndian<quint16>(1, at + 10);  // in one plane
  qToLittleEndian<quint32>(static_cast<quint32>(image.size()), at + 14);
  qToLittleEndian<quint32>(kIcoFileHeaderSize, at + 18);
  file.append(image.data(), static_cast<qsizetype>(image.size()));
  return file;
}

QImage ReadIcoFile(QByteArray file) {
  QBuffer buffer(&file);
  if (!buffer.open(QIODevice::ReadOnly)) return {};
  QImageReader reader(&buffer, "ico");
  reader.setAutoDetectImageFormat(false);
  QImage image;
  if (!reader.read(&image)) return {};
  return image.convertToFormat(QImage::Format_ARGB32);
}

bool AnyAlpha(std::string_view bytes, const TBitmap& b) {
  for (std::size_t i = b.pixels + 3; i < b.mask; i += 4)
    if (bytes[i] != 0) return true;
  return false;
}

// Set bits of the AND mask hide their pixel.
void ApplyMask(QImage& image, std::string_view bytes, const TBitmap& b) {
  for (int y = 0; y < b.height; ++y) {
    const std::size_t row = b.mask + static_cast<std::size_t>(b.height - 1 - y) * b.maskStride;
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < b.width; ++x) {
      const auto byte = static_cast<unsigned char>(bytes[row + static_cast<std::size_t>(x / 8)]);
      const bool hidden = (byte >> (7 - x % 8)) & 1;
      line[x] = (line[x] & 0x00FFFFFFu) | (hidden ? 0u : 0xFF000000u);
    }
  }
}

QImage DecodeBitmap(std::string_view bytes, TBitmap b) {
  std::string shortened;
  if (b.headerSize > kBitmapHeaderSize) {
    shortened =
        std::string(bytes.substr(0, kBitmapHeaderSize)) + std::string(bytes.substr(b.headerSize));
    qToLittleEndian<quint32>(kBitmapHeaderSize, shortened.data());
    bytes = shortened;
    b.pixels -= b.headerSize - kBitmapHeaderSize;
    b.mask -= b.headerSize - kBitmapHeaderSize;
    b.headerSize = kBitmapHeaderSize;
  }
  QByteArray file = IcoFileOf(bytes);
  // The plugin applies the mask only to bitmaps with a palette, and keeps an
  // alpha channel left all zero, which would hide everything: then the mask
  // says what shows.
  const bool masked = b.bits == 24 || (b.bits == 32 && !AnyAlpha(bytes, b));
  if (masked && b.bits == 32)
    for (std::size_t i = b.pixels + 3; i < b.mask; i += 4)
      file[static_cast<qsizetype>(kIcoFileHeaderSize + i)] = '\xFF';
  QImage image = ReadIcoFile(std::move(file));
  if (image.size() != QSize(b.width, b.height)) return {};
  if (masked && b.hasMask) ApplyMask(image, bytes, b);
  return image;
}

}  // namespace

bool IsIcoHeader(std::string_view bytes) {
  return bytes.size() >= 6 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1 && bytes[3] == 0 &&
         (bytes[4] != 0 || bytes[5] != 0);
}

QImage DecodeIconImage(std::string_view bytes) {
  if (IsPng(bytes)) {
    if (!IsSmallPng(bytes)) return {};
    QImage image = ReadIcoFile(IcoFileOf(bytes));
    if (image.width() > kMaxPngSide || image.height() > kMaxPngSide) return {};
    return image;
  }
  std::optional<TBitmap> bitmap = BitmapOf(bytes);
  return bitmap ? DecodeBitmap(bytes, *bitmap) : QImage();
}

TIconImages ReadIco(std::string_view bytes) {
  TIconImages images;
  if (!IsIcoHeader(bytes)) return images;
  try {
    TByteView data(bytes);
    std::size_t count = data.U16(4);
    data.Sub(6, count * 16);
    count = std::min(count, kMaxIconEntries);
    for (std::size_t i = 0; i < count && images.size() < kMaxIconImages; ++i) {
      std::size_t entry = 6 + i * 16;
      std::uint32_t size = data.U32(entry + 8);
      std::uint32_t offset = data.U32(entry + 12);
      if (offset > bytes.size() || size > bytes.size() - offset) continue;
      QImage image = DecodeIconImage(bytes.substr(offset, size));
      if (!image.isNull()) images.push_back(std::move(image));
    }
  } catch (const EFormatError&) {
    images.clear();
  }
  return images;
}

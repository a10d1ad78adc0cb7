#include "IcoReader.h"

#include <algorithm>
#include <array>

#include "ByteView.h"

namespace {

constexpr int kMaxBitmapSide = 256;
constexpr int kMaxPngSide = 1024;
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

QImage DecodePng(std::string_view bytes) {
  // The size in the header chunk decides before anything is allocated.
  if (bytes.size() < 24 || bytes.substr(12, 4) != "IHDR") return {};
  std::uint32_t width = BigEndian32(bytes.substr(16, 4));
  std::uint32_t height = BigEndian32(bytes.substr(20, 4));
  if (width == 0 || height == 0 || width > kMaxPngSide || height > kMaxPngSide) return {};
  QImage image = QImage::fromData(reinterpret_cast<const uchar*>(bytes.data()),
                                  static_cast<int>(bytes.size()), "PNG");
  if (image.isNull() || image.width() > kMaxPngSide || image.height() > kMaxPngSide) return {};
  return image.convertToFormat(QImage::Format_ARGB32);
}

// A channel of a bit-field pixel, scaled to 8 bits.
struct TChannel {
  std::uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
  explicit TChannel(std::uint32_t m) : mask(m) {
    if (mask == 0) return;
    while (!((mask >> shift) & 1))
      ++shift;
    while (bits + shift < 32 && ((mask >> (shift + bits)) & 1))
      ++bits;
  }
  int Of(std::uint32_t pixel) const {
    if (bits == 0) return 0;
    std::uint32_t v = (pixel & mask) >> shift;
    std::uint32_t max = bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1;
    return static_cast<int>((std::uint64_t{v} * 255 + max / 2) / max);
  }
};

QImage DecodeBitmap(const TByteView& data) {
  const std::uint32_t headerSize = data.U32(0);
  if (headerSize < 40 || headerSize > data.Size()) return {};
  const std::int32_t width = data.I32(4);
  const std::int32_t doubleHeight = data.I32(8);
  const std::uint16_t bits = data.U16(14);
  const std::uint32_t compression = data.U32(16);
  const std::uint32_t colorsUsed = data.U32(32);
  if (width < 1 || width > kMaxBitmapSide || doubleHeight < 2 || doubleHeight % 2 != 0 ||
      doubleHeight / 2 > kMaxBitmapSide)
    return {};
  const int height = doubleHeight / 2;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return {};
  const bool bitFields = compression == 3 && (bits == 16 || bits == 32);
  if (compression != 0 && !bitFields) return {};

  std::size_t at = headerSize;
  std::array<TChannel, 4> channels{TChannel(0), TChannel(0), TChannel(0), TChannel(0)};
  if (bitFields) {
    std::size_t masks = headerSize >= 52 ? 40 : headerSize;
    channels = {TChannel(data.U32(masks)), TChannel(data.U32(masks + 4)),
                TChannel(data.U32(masks + 8)),
                TChannel(headerSize >= 56 ? data.U32(masks + 12) : 0)};
    if (headerSize < 52) at += 12;
  } else if (bits == 16) {
    channels = {TChannel(0x7C00), TChannel(0x03E0), TChannel(0x001F), TChannel(0)};
  }
  std::vector<QRgb> palette;
  if (bits <= 8) {
    std::uint32_t count = colorsUsed == 0 ? (1u << bits) : colorsUsed;
    if (count > (1u << bits)) return {};
    std::string_view table = data.Sub(at, count * 4);
    for (std::uint32_t i = 0; i < count; ++i) {
      auto byte = [&](std::uint32_t k) { return static_cast<unsigned char>(table[i * 4 + k]); };
      palette.push_back(qRgb(byte(2), byte(1), byte(0)));
    }
    at += count * 4;
  }
  const std::size_t stride = (static_cast<std::size_t>(width) * bits + 31) / 32 * 4;
  const std::size_t maskStride = (static_cast<std::size_t>(width) + 31) / 32 * 4;
  std::string_view pixels = data.Sub(at, stride * static_cast<std::size_t>(height));
  at += stride * static_cast<std::size_t>(height);
  const bool hasMask = data.Size() >= at && data.Size() - at >= maskStride * height;
  if (!hasMask && bits != 32) return {};
  std::string_view mask =
      hasMask ? data.Sub(at, maskStride * static_cast<std::size_t>(height)) : std::string_view();

  QImage image(width, height, QImage::Format_ARGB32);
  if (image.isNull()) return {};
  bool anyAlpha = false;
  for (int y = 0; y < height; ++y) {
    const std::size_t row = static_cast<std::size_t>(height - 1 - y);
    auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
    for (int x = 0; x < width; ++x) {
      const auto ux = static_cast<std::size_t>(x);
      auto px = [&](std::size_t k) { return static_cast<unsigned char>(pixels[row * stride + k]); };
      QRgb color;
      int alpha = 255;
      switch (bits) {
        case 1:
        case 4:
        case 8: {
          std::size_t bit = ux * bits;
          unsigned value = (px(bit / 8) >> (8 - bits - bit % 8)) & ((1u << bits) - 1);
          color = value < palette.size() ? palette[value] : qRgb(0, 0, 0);
          break;
        }
        case 16: {
          std::uint32_t v = px(ux * 2) | (px(ux * 2 + 1) << 8);
          color = qRgb(channels[0].Of(v), channels[1].Of(v), channels[2].Of(v));
          break;
        }
        case 24:
          color = qRgb(px(ux * 3 + 2), px(ux * 3 + 1), px(ux * 3));
          break;
        default: {
          std::uint32_t v = px(ux * 4) | (px(ux * 4 + 1) << 8) | (px(ux * 4 + 2) << 16) |
                            (static_cast<std::uint32_t>(px(ux * 4 + 3)) << 24);
          if (bitFields) {
            color = qRgb(channels[0].Of(v), channels[1].Of(v), channels[2].Of(v));
            alpha = channels[3].bits ? channels[3].Of(v) : 255;
          } else {
            color = qRgb(px(ux * 4 + 2), px(ux * 4 + 1), px(ux * 4));
            alpha = px(ux * 4 + 3);
          }
          anyAlpha = anyAlpha || alpha != 0;
        }
      }
      line[x] = qRgba(qRed(color), qGreen(color), qBlue(color), alpha);
    }
  }
  // Without an alpha channel (or one left all zero) the mask says what shows.
  if (bits != 32 || !anyAlpha) {
    for (int y = 0; y < height; ++y) {
      const std::size_t row = static_cast<std::size_t>(height - 1 - y);
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      for (int x = 0; x < width; ++x) {
        bool transparent =
            hasMask &&
            ((static_cast<unsigned char>(mask[row * maskStride + x / 8]) >> (7 - x % 8)) & 1);
        line[x] = (line[x] & 0x00FFFFFFu) | (transparent ? 0u : 0xFF000000u);
      }
    }
  }
  return image;
}

}  // namespace

bool IsIcoHeader(std::string_view bytes) {
  return bytes.size() >= 6 && bytes[0] == 0 && bytes[1] == 0 && bytes[2] == 1 && bytes[3] == 0 &&
         (bytes[4] != 0 || bytes[5] != 0);
}

QImage DecodeIconImage(std::string_view bytes) {
  try {
    if (IsPng(bytes)) return DecodePng(bytes);
    return DecodeBitmap(TByteView(bytes));
  } catch (const EFormatError&) {
    return {};
  }
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

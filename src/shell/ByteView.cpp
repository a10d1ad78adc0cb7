#include "ByteView.h"

std::uint8_t TByteView::U8(std::size_t at) const {
  return static_cast<std::uint8_t>(Sub(at, 1)[0]);
}

std::uint16_t TByteView::U16(std::size_t at) const {
  std::string_view b = Sub(at, 2);
  return static_cast<std::uint16_t>(static_cast<unsigned char>(b[0]) |
                                    (static_cast<unsigned char>(b[1]) << 8));
}

std::uint32_t TByteView::U32(std::size_t at) const {
  std::string_view b = Sub(at, 4);
  std::uint32_t value = 0;
  for (int i = 3; i >= 0; --i)
    value = (value << 8) | static_cast<unsigned char>(b[static_cast<std::size_t>(i)]);
  return value;
}

std::string_view TByteView::Sub(std::size_t at, std::size_t size) const {
  if (at > bytes_.size() || size > bytes_.size() - at) throw EFormatError();
  return bytes_.substr(at, size);
}

std::string_view TByteView::Asciz(std::size_t at, std::size_t limit) const {
  if (limit > bytes_.size()) limit = bytes_.size();
  if (at >= limit) throw EFormatError();
  std::size_t end = bytes_.find('\0', at);
  if (end == std::string_view::npos || end >= limit) throw EFormatError();
  return bytes_.substr(at, end - at);
}

std::string_view TByteView::Utf16z(std::size_t at, std::size_t limit) const {
  if (limit > bytes_.size()) limit = bytes_.size();
  for (std::size_t i = at; i + 1 < limit; i += 2)
    if (bytes_[i] == '\0' && bytes_[i + 1] == '\0') return bytes_.substr(at, i - at);
  throw EFormatError();
}

std::string_view UpToNul(std::string_view field) {
  std::size_t end = field.find('\0');
  return end == std::string_view::npos ? field : field.substr(0, end);
}

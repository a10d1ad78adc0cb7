// Bounds-checked little-endian reads over bytes in memory, for the readers of
// binary shortcut and icon files. Every read outside the bytes raises
// EFormatError, which each reader turns into "not readable".
#pragma once

#include <cstddef>
#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

// Bytes that do not hold what their format promises.
class EFormatError : public std::runtime_error {
 public:
  EFormatError() : std::runtime_error("damaged file") {}
};

class TByteView {
 public:
  explicit TByteView(std::string_view bytes) : bytes_(bytes) {}

  std::size_t Size() const { return bytes_.size(); }
  std::string_view Bytes() const { return bytes_; }

  std::uint8_t U8(std::size_t at) const;
  std::uint16_t U16(std::size_t at) const;
  std::uint32_t U32(std::size_t at) const;
  std::int32_t I32(std::size_t at) const { return static_cast<std::int32_t>(U32(at)); }
  // The size bytes at at; EFormatError unless all lie inside.
  std::string_view Sub(std::size_t at, std::size_t size) const;
  // Bytes from at up to (not including) the first NUL before limit (an offset);
  // EFormatError when there is no NUL before limit or the end.
  std::string_view Asciz(std::size_t at, std::size_t limit) const;
  // UTF-16LE bytes from at up to the first NUL character before limit.
  std::string_view Utf16z(std::size_t at, std::size_t limit) const;

 private:
  std::string_view bytes_;
};

// Bytes up to the first NUL, or all of them (fixed-size text fields).
std::string_view UpToNul(std::string_view field);

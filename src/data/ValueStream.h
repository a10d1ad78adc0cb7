// The tagged value encoding of the binary data file and of the in-memory copies
// made by Assign: integers with tags 2, 3, 4; strings with tags 6, 12, 18, 20.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

enum TValueTag : std::uint8_t {
  vaInt8 = 2,
  vaInt16 = 3,
  vaInt32 = 4,
  vaString = 6,
  vaLString = 12,
  vaWString = 18,
  vaUTF8String = 20,
};

// Appends encoded values to a byte buffer.
class TValueWriter {
 public:
  explicit TValueWriter(std::string& buffer) : buffer_(buffer) {}

  // The shortest of tags 2, 3 and 4 that holds value.
  void WriteInteger(std::int32_t value);
  // Tag 6 or 12 for pure ASCII; tag 20 (UTF-8) when a byte is 0x80 or above. A
  // string with no exact UTF-8 form is written byte for byte with tag 6 or 12, so
  // that reading it back gives the same bytes.
  void WriteString(std::string_view cp932);

 private:
  void WriteRaw(std::string_view bytes);
  void WriteLength(std::uint32_t length);
  std::string& buffer_;
};

// Reads encoded values from a byte buffer, never past its end. A value that runs
// past the end raises EReadError; a tag that does not fit raises EPropertyError.
class TValueReader {
 public:
  explicit TValueReader(std::string_view data) : data_(data) {}

  std::int32_t ReadInteger();
  // The string in CP932; tags 18 and 20 are converted, and a character CP932
  // cannot hold raises EReadError.
  std::string ReadString();

  std::size_t Position() const { return pos_; }
  std::size_t Remaining() const { return data_.size() - pos_; }

 private:
  std::uint8_t ReadTag();
  std::string_view Take(std::size_t count);
  std::uint32_t ReadUInt32();
  std::string_view data_;
  std::size_t pos_ = 0;
};

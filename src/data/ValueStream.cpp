#include "ValueStream.h"

#include <cstring>

#include "LaunchErrors.h"
#include "ShiftJis.h"

namespace {

bool HasHighByte(std::string_view s) {
  for (char c : s)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

template <typename T>
T LittleEndian(std::string_view bytes) {
  std::uint64_t v = 0;
  for (std::size_t i = 0; i < sizeof(T); ++i)
    v |= static_cast<std::uint64_t>(static_cast<unsigned char>(bytes[i])) << (8 * i);
  return static_cast<T>(v);
}

}  // namespace

void TValueWriter::WriteRaw(std::string_view bytes) {
  buffer_.append(bytes);
}

void TValueWriter::WriteLength(std::uint32_t length) {
  for (int i = 0; i < 4; ++i)
    buffer_.push_back(static_cast<char>((length >> (8 * i)) & 0xFF));
}

void TValueWriter::WriteInteger(std::int32_t value) {
  if (value >= -128 && value <= 127) {
    buffer_.push_back(static_cast<char>(vaInt8));
    buffer_.push_back(static_cast<char>(value));
  } else if (value >= -32768 && value <= 32767) {
    buffer_.push_back(static_cast<char>(vaInt16));
    buffer_.push_back(static_cast<char>(value & 0xFF));
    buffer_.push_back(static_cast<char>((value >> 8) & 0xFF));
  } else {
    buffer_.push_back(static_cast<char>(vaInt32));
    WriteLength(static_cast<std::uint32_t>(value));
  }
}

void TValueWriter::WriteString(std::string_view cp932) {
  if (HasHighByte(cp932)) {
    if (auto utf8 = sjis::ToUtf8Exact(cp932)) {
      buffer_.push_back(static_cast<char>(vaUTF8String));
      WriteLength(static_cast<std::uint32_t>(utf8->size()));
      WriteRaw(*utf8);
      return;
    }
  }
  if (cp932.size() < 256) {
    buffer_.push_back(static_cast<char>(vaString));
    buffer_.push_back(static_cast<char>(cp932.size()));
  } else {
    buffer_.push_back(static_cast<char>(vaLString));
    WriteLength(static_cast<std::uint32_t>(cp932.size()));
  }
  WriteRaw(cp932);
}

std::string_view TValueReader::Take(std::size_t count) {
  if (count > Remaining()) throw EReadError();
  std::string_view piece = data_.substr(pos_, count);
  pos_ += count;
  return piece;
}

std::uint8_t TValueReader::ReadTag() {
  return static_cast<std::uint8_t>(Take(1)[0]);
}

std::uint32_t TValueReader::ReadUInt32() {
  return LittleEndian<std::uint32_t>(Take(4));
}

std::int32_t TValueReader::ReadInteger() {
  switch (ReadTag()) {
    case vaInt8:
      return static_cast<std::int8_t>(Take(1)[0]);
    case vaInt16:
      return LittleEndian<std::int16_t>(Take(2));
    case vaInt32:
      return LittleEndian<std::int32_t>(Take(4));
    default:
      throw EPropertyError();
  }
}

std::string TValueReader::ReadString() {
  switch (ReadTag()) {
    case vaString:
      return std::string(Take(static_cast<unsigned char>(Take(1)[0])));
    case vaLString:
      return std::string(Take(ReadUInt32()));
    case vaWString: {
      std::uint32_t units = ReadUInt32();
      if (units > Remaining() / 2) throw EReadError();
      auto converted = sjis::FromUtf16Le(Take(std::size_t{units} * 2));
      if (!converted) throw EReadError();
      return *converted;
    }
    case vaUTF8String: {
      auto converted = sjis::FromUtf8(Take(ReadUInt32()));
      if (!converted) throw EReadError();
      return *converted;
    }
    default:
      throw EPropertyError();
  }
}

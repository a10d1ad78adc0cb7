#include "PifReader.h"

#include <algorithm>

#include "ByteView.h"
#include "FileUtils.h"

namespace {

constexpr std::size_t kBasicSectionSize = 0x171;
constexpr std::size_t kMaxPifFile = 1 << 20;

// A fixed field up to its first NUL; nullopt when it holds a control character.
std::optional<std::string> Field(std::string_view bytes, std::size_t at, std::size_t size) {
  std::string_view field = UpToNul(bytes.substr(at, size));
  if (std::any_of(field.begin(), field.end(),
                  [](char c) { return static_cast<unsigned char>(c) < 0x20; }))
    return std::nullopt;
  return std::string(field);
}

}  // namespace

std::optional<TPifInfo> ReadPif(std::string_view bytes) {
  if (bytes.size() < kBasicSectionSize) return std::nullopt;
  auto title = Field(bytes, 0x02, 30);
  auto program = Field(bytes, 0x24, 63);
  auto startDir = Field(bytes, 0x65, 64);
  auto params = Field(bytes, 0xA5, 64);
  if (!title || !program || !startDir || !params || program->empty()) return std::nullopt;
  while (!title->empty() && title->back() == ' ')
    title->pop_back();
  return TPifInfo{*title, *program, *startDir, *params};
}

std::optional<TPifInfo> ReadPifFile(const std::string& path) {
  auto bytes = ReadSmallFile(path, kMaxPifFile);
  if (!bytes) return std::nullopt;
  return ReadPif(*bytes);
}

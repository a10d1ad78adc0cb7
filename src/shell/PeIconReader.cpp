#include "PeIconReader.h"

#include <algorithm>
#include <optional>
#include <string>
#include <utility>

#include "ByteView.h"
#include "FileIO.h"
#include "LaunchErrors.h"

namespace {

using TResource = TPeIconDirectory::TResource;

constexpr std::uint32_t kIconType = 3;
constexpr std::uint32_t kGroupIconType = 14;
constexpr std::uint32_t kHighBit = 0x80000000u;
constexpr std::uint32_t kMaxResourceSize = 4 << 20;

// Exactly size bytes at offset, or EFormatError.
std::string ReadExact(const TByteSource& source, std::uint64_t offset, std::size_t size) {
  if (offset > static_cast<std::uint64_t>(source.Size())) throw EFormatError();
  std::string bytes = source.ReadAt(static_cast<std::int64_t>(offset), size);
  if (bytes.size() != size) throw EFormatError();
  return bytes;
}

struct TSection {
  std::uint32_t address;
  std::uint32_t rawSize;
  std::uint32_t rawOffset;
};

// The headers of a PE file, as far as the resource tree needs them.
class TPeImage {
 public:
  explicit TPeImage(const TByteSource& source) : source_(source) {}

  // Reads the headers; false when the file has no resource tree.
  bool ReadHeaders() {
    std::string dos = ReadExact(source_, 0, 64);
    if (!IsPeHeader(dos)) throw EFormatError();
    std::uint64_t nt = TByteView(dos).U32(0x3C);
    std::string header = ReadExact(source_, nt, 24);
    TByteView h(header);
    if (h.Sub(0, 4) != std::string_view("PE\0\0", 4)) throw EFormatError();
    std::uint16_t sectionCount = h.U16(6);
    std::uint16_t optionalSize = h.U16(20);
    std::string optional = ReadExact(source_, nt + 24, optionalSize);
    TByteView o(optional);
    std::size_t countAt = 0, directoriesAt = 0;
    switch (o.U16(0)) {
      case 0x10B:  // PE32
        countAt = 92, directoriesAt = 96;
        break;
      case 0x20B:  // PE32+
        countAt = 108, directoriesAt = 112;
        break;
      default:
        throw EFormatError();
    }
    if (o.U32(countAt) <= 2) return false;
    resourceAddress_ = o.U32(directoriesAt + 2 * 8);
    if (resourceAddress_ == 0) return false;
    std::string table = ReadExact(source_, nt + 24 + optionalSize, sectionCount * std::size_t{40});
    TByteView t(table);
    for (std::size_t i = 0; i < sectionCount; ++i)
      sections_.push_back({t.U32(i * 40 + 12), t.U32(i * 40 + 16), t.U32(i * 40 + 20)});
    return true;
  }

  // The file offset of size bytes at a relative virtual address.
  std::uint64_t Offset(std::uint64_t address, std::uint64_t size) const {
    for (const TSection& s : sections_) {
      if (address < s.address) continue;
      std::uint64_t inside = address - s.address;
      if (inside < s.rawSize && size <= s.rawSize - inside) return s.rawOffset + inside;
    }
    throw EFormatError();
  }

  // The entries (name or id, offset to data) of the resource directory at offset.
  std::vector<std::pair<std::uint32_t, std::uint32_t>> Directory(std::uint32_t offset) const {
    std::uint64_t at = std::uint64_t{resourceAddress_} + offset;
    std::string header = ReadExact(source_, Offset(at, 16), 16);
    TByteView h(header);
    std::size_t count = std::size_t{h.U16(12)} + h.U16(14);
    std::string entries = ReadExact(source_, Offset(at + 16, count * 8), count * 8);
    TByteView e(entries);
    std::vector<std::pair<std::uint32_t, std::uint32_t>> result;
    result.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
      result.emplace_back(e.U32(i * 8), e.U32(i * 8 + 4));
    return result;
  }

  // The data of a resource's first language, whose directory is at offset.
  std::optional<TResource> FirstLanguage(std::uint32_t offset) const {
    for (const auto& [language, data] : Directory(offset)) {
      if (data & kHighBit) continue;
      std::uint64_t at = std::uint64_t{resourceAddress_} + data;
      std::string entry = ReadExact(source_, Offset(at, 16), 16);
      TByteView d(entry);
      std::uint32_t size = d.U32(4);
      if (size > kMaxResourceSize) return std::nullopt;
      try {
        return TResource{Offset(d.U32(0), size), size};
      } catch (const EFormatError&) {
        return std::nullopt;  // one resource outside the file: the others still count
      }
    }
    return std::nullopt;
  }

 private:
  const TByteSource& source_;
  std::uint32_t resourceAddress_ = 0;
  std::vector<TSection> sections_;
};

}  // namespace

bool IsPeHeader(std::string_view bytes) {
  return bytes.size() >= 2 && bytes[0] == 'M' && bytes[1] == 'Z';
}

TPeIconDirectory TPeIconDirectory::Read(const TByteSource& source) {
  TPeIconDirectory directory;
  try {
    TPeImage image(source);
    if (!image.ReadHeaders()) return directory;
    bool seenIcons = false, seenGroups = false;
    for (const auto& [type, typeData] : image.Directory(0)) {
      if ((type & kHighBit) || !(typeData & kHighBit)) continue;
      // Each type once: a tree that repeats one must not multiply the work.
      bool& seen = type == kIconType ? seenIcons : seenGroups;
      if ((type != kIconType && type != kGroupIconType) || seen) continue;
      seen = true;
      for (const auto& [name, nameData] : image.Directory(typeData & ~kHighBit)) {
        if (!(nameData & kHighBit)) continue;
        std::optional<TResource> resource = image.FirstLanguage(nameData & ~kHighBit);
        if (!resource) continue;
        if (type == kGroupIconType)
          directory.groups_.push_back(
              {(name & kHighBit) ? -1 : static_cast<std::int64_t>(name), *resource});
        else if (!(name & kHighBit))
          directory.icons_.emplace(name, *resource);
      }
    }
  } catch (const EFormatError&) {
    return TPeIconDirectory();
  } catch (const ELaunchError&) {  // the file could not be read
    return TPeIconDirectory();
  }
  return directory;
}

TIconImages TPeIconDirectory::Icon(const TByteSource& source, int index) const {
  const TGroup* group = nullptr;
  if (index >= 0 && index < Count()) {
    group = &groups_[static_cast<std::size_t>(index)];
  } else if (index < 0) {
    for (const TGroup& g : groups_)
      if (g.id == -static_cast<std::int64_t>(index)) {
        group = &g;
        break;
      }
  }
  TIconImages images;
  if (group == nullptr) return images;
  try {
    std::string bytes = ReadExact(source, group->data.offset, group->data.size);
    TByteView header(bytes);
    if (header.U16(0) != 0 || header.U16(2) != 1) return images;
    std::size_t count = std::min<std::size_t>(header.U16(4), kMaxIconEntries);
    for (std::size_t i = 0; i < count && images.size() < kMaxIconImages; ++i) {
      auto found = icons_.find(header.U16(6 + i * 14 + 12));
      if (found == icons_.end()) continue;
      QImage image = DecodeIconImage(ReadExact(source, found->second.offset, found->second.size));
      if (!image.isNull()) images.push_back(std::move(image));
    }
  } catch (const EFormatError&) {
    images.clear();
  } catch (const ELaunchError&) {
    images.clear();
  }
  return images;
}

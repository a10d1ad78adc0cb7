#include "LnkReader.h"

#include "ByteView.h"
#include "FileUtils.h"
#include "ShiftJis.h"

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
constexpr char kLinkClsid[16] = {0x01,   0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                 '\xC0', 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};
constexpr std::size_t kMaxLnkFile = 4 << 20;

enum : std::uint32_t {
  kHasLinkTargetIdList = 0x1,
  kHasLinkInfo = 0x2,
  kHasName = 0x4,
  kHasRelativePath = 0x8,
  kHasWorkingDir = 0x10,
  kHasArguments = 0x20,
  kHasIconLocation = 0x40,
  kIsUnicode = 0x80,
  kForceNoLinkInfo = 0x100,
  kHasExpString = 0x200,
  kHasExpIcon = 0x4000,
};

enum : std::uint32_t {
  kVolumeIdAndLocalBasePath = 0x1,
  kCommonNetworkRelativeLinkAndPathSuffix = 0x2,
};

constexpr std::uint32_t kEnvironmentBlock = 0xA0000001;
constexpr std::uint32_t kIconEnvironmentBlock = 0xA0000007;
constexpr std::uint32_t kEnvironmentBlockSize = 0x314;

std::string FromUtf16(std::string_view bytes) {
  auto converted = sjis::FromUtf16Le(bytes);
  if (!converted) throw EFormatError();
  return *converted;
}

// True when the CP932 text ends with a "\" that is a character of its own.
bool EndsWithBackslash(std::string_view s) {
  std::size_t i = 0, last = std::string_view::npos;
  while (i < s.size()) {
    last = i;
    i += sjis::CharLength(s, i);
  }
  return last != std::string_view::npos && i - last == 1 && s[last] == '\\';
}

std::string JoinPath(std::string head, std::string_view tail) {
  if (tail.empty()) return head;
  if (!head.empty() && !EndsWithBackslash(head)) head += '\\';
  return head.append(tail);
}

// A string of the LinkInfo: the Unicode form when the header has one, else ANSI.
std::string LinkInfoString(const TByteView& data, std::size_t base, std::size_t end,
                           std::uint32_t ansiOffset, std::uint32_t unicodeOffset) {
  if (unicodeOffset != 0) return FromUtf16(data.Utf16z(base + unicodeOffset, end));
  return std::string(data.Asciz(base + ansiOffset, end));
}

// The target of the LinkInfo structure at offset at; returns the offset after it.
std::size_t ReadLinkInfo(const TByteView& data, std::size_t at, bool use, TShellLink& link) {
  std::uint32_t size = data.U32(at);
  std::uint32_t headerSize = data.U32(at + 4);
  if (size < 0x1C || headerSize < 0x1C || headerSize > size) throw EFormatError();
  data.Sub(at, size);
  std::size_t end = at + size;
  std::uint32_t flags = data.U32(at + 8);
  std::uint32_t localOffset = data.U32(at + 16);
  std::uint32_t networkOffset = data.U32(at + 20);
  std::uint32_t suffixOffset = data.U32(at + 24);
  bool unicode = headerSize >= 0x24;
  std::uint32_t localUnicode = unicode ? data.U32(at + 28) : 0;
  std::uint32_t suffixUnicode = unicode ? data.U32(at + 32) : 0;

  std::string local, suffix, network;
  if (flags & kVolumeIdAndLocalBasePath)
    local = LinkInfoString(data, at, end, localOffset, localUnicode);
  if (flags & (kVolumeIdAndLocalBasePath | kCommonNetworkRelativeLinkAndPathSuffix))
    suffix = LinkInfoString(data, at, end, suffixOffset, suffixUnicode);
  if (flags & kCommonNetworkRelativeLinkAndPathSuffix) {
    if (networkOffset >= size) throw EFormatError();
    std::size_t cnrl = at + networkOffset;
    std::uint32_t cnrlSize = data.U32(cnrl);
    if (cnrlSize < 0x14 || cnrlSize > size - networkOffset) throw EFormatError();
    std::size_t cnrlEnd = cnrl + cnrlSize;
    std::uint32_t netName = data.U32(cnrl + 8);
    std::uint32_t netNameUnicode = netName > 0x14 ? data.U32(cnrl + 20) : 0;
    network = LinkInfoString(data, cnrl, cnrlEnd, netName, netNameUnicode);
  }
  if (use) {
    link.hasLinkInfo = true;
    // The network form first, as a path with the UNC priority is asked for.
    link.target = !network.empty() ? JoinPath(network, suffix) : JoinPath(local, suffix);
  }
  return end;
}

// One counted string of the string data; returns the offset after it.
std::size_t ReadCountedString(const TByteView& data, std::size_t at, bool unicode, std::string* out,
                              bool optional = false) {
  std::uint16_t count = data.U16(at);
  std::size_t bytes = unicode ? count * std::size_t{2} : count;
  std::string_view raw = data.Sub(at + 2, bytes);
  if (out != nullptr) {
    if (!unicode) {
      *out = std::string(UpToNul(raw));
    } else if (auto converted = sjis::FromUtf16Le(raw)) {
      *out = std::string(UpToNul(*converted));
    } else if (!optional) {
      throw EFormatError();
    }
  }
  return at + 2 + bytes;
}

// The target of an environment block: its Unicode form when it has one.
std::string EnvironmentTarget(const TByteView& data, std::size_t at) {
  std::string_view unicode = data.Sub(at + 8 + 260, 520);
  std::size_t n = 0;
  while (n + 1 < unicode.size() && (unicode[n] != '\0' || unicode[n + 1] != '\0'))
    n += 2;
  if (n > 0) return FromUtf16(unicode.substr(0, n));
  return std::string(UpToNul(data.Sub(at + 8, 260)));
}

TShellLink Parse(const TByteView& data) {
  if (data.U32(0) != kHeaderSize || data.Sub(4, 16) != std::string_view(kLinkClsid, 16))
    throw EFormatError();
  TShellLink link;
  std::uint32_t flags = data.U32(20);
  link.fileSize = data.U32(52);
  link.iconIndex = data.I32(56);
  link.showCommand = data.U32(60);
  link.hotKey = data.U16(64);
  data.Sub(0, kHeaderSize);

  std::size_t at = kHeaderSize;
  if (flags & kHasLinkTargetIdList) {
    std::uint16_t idListSize = data.U16(at);
    data.Sub(at + 2, idListSize);
    at += 2 + std::size_t{idListSize};
  }
  if (flags & kHasLinkInfo) at = ReadLinkInfo(data, at, !(flags & kForceNoLinkInfo), link);

  bool unicode = flags & kIsUnicode;
  if (flags & kHasName) at = ReadCountedString(data, at, unicode, &link.description, true);
  if (flags & kHasRelativePath) at = ReadCountedString(data, at, unicode, &link.relativePath);
  if (flags & kHasWorkingDir) at = ReadCountedString(data, at, unicode, &link.workingDir);
  if (flags & kHasArguments) at = ReadCountedString(data, at, unicode, &link.arguments);
  if (flags & kHasIconLocation) at = ReadCountedString(data, at, unicode, &link.iconLocation);

  // Extra data: blocks of size and signature, up to a terminal block (or the
  // very end: some writers leave the terminal block out).
  bool sawTarget = false, sawIcon = false;
  while (at < data.Size()) {
    std::uint32_t size = data.U32(at);
    if (size < 4) break;
    if (size < 8) throw EFormatError();
    data.Sub(at, size);
    std::uint32_t signature = data.U32(at + 4);
    if (signature == kEnvironmentBlock || signature == kIconEnvironmentBlock) {
      if (size != kEnvironmentBlockSize) throw EFormatError();
      std::string target = EnvironmentTarget(data, at);
      (signature == kEnvironmentBlock ? sawTarget : sawIcon) = true;
      if (signature == kEnvironmentBlock && (flags & kHasExpString) && link.target.empty())
        link.target = target;
      if (signature == kIconEnvironmentBlock && (flags & kHasExpIcon) && link.iconLocation.empty())
        link.iconLocation = target;
    }
    at += size;
  }
  // The flags promise these blocks: without them the file was cut short.
  if (((flags & kHasExpString) && !sawTarget) || ((flags & kHasExpIcon) && !sawIcon))
    throw EFormatError();
  return link;
}

}  // namespace

bool IsLnkHeader(std::string_view bytes) {
  return bytes.size() >= 20 && bytes.substr(0, 4) == std::string_view("\x4C\0\0\0", 4) &&
         bytes.substr(4, 16) == std::string_view(kLinkClsid, 16);
}

std::optional<TShellLink> ReadLnk(std::string_view bytes) {
  try {
    return Parse(TByteView(bytes));
  } catch (const EFormatError&) {
    return std::nullopt;
  }
}

std::optional<TShellLink> ReadLnkFile(const std::string& path) {
  auto bytes = ReadSmallFile(path, kMaxLnkFile);
  if (!bytes) return std::nullopt;
  return ReadLnk(*bytes);
}

std::int32_t ShowCommandOf(std::uint32_t stored) {
  return stored == 3 || stored == 7 ? static_cast<std::int32_t>(stored) : 1;
}

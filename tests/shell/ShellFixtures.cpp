#include "ShellFixtures.h"

#include <QBuffer>
#include <QImage>
#include <stdexcept>

#include "ShiftJis.h"

namespace fixtures {

void Put16(std::string& out, std::uint32_t value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

void Set32(std::string& out, std::size_t at, std::uint32_t value) {
  for (int i = 0; i < 4; ++i)
    out[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> (8 * i)) & 0xFF);
}

namespace {

std::string Utf16(const std::string& cp932) {
  auto utf8 = sjis::ToUtf8(cp932);
  if (!utf8) throw std::runtime_error("fixture text is not CP932");
  std::u16string wide = QString::fromStdString(*utf8).toStdU16String();
  std::string out;
  for (char16_t c : wide)
    Put16(out, c);
  return out;
}

void PutCounted(std::string& out, const std::string& text, bool unicode) {
  if (unicode) {
    std::string wide = Utf16(text);
    Put16(out, static_cast<std::uint32_t>(wide.size() / 2));
    out += wide;
  } else {
    Put16(out, static_cast<std::uint32_t>(text.size()));
    out += text;
  }
}

std::string LinkInfo(const TLnkContent& content) {
  const bool unicode = content.unicode;
  const std::uint32_t headerSize = unicode ? 0x24 : 0x1C;
  std::string volume;
  Put32(volume, 0x11);  // VolumeID: size, drive type, serial, label offset, label
  Put32(volume, 3);
  Put32(volume, 0x12345678);
  Put32(volume, 0x10);
  volume += '\0';
  std::string network;
  if (content.network) {
    Put32(network, 0);  // size, patched below
    Put32(network, 0x2);
    Put32(network, 0x14);  // net name offset: no Unicode forms
    Put32(network, 0);
    Put32(network, 0x20000);
    network += content.netName + '\0';
    Set32(network, 0, static_cast<std::uint32_t>(network.size()));
  }
  std::string body = volume;
  std::uint32_t volumeOffset = headerSize;
  std::uint32_t localOffset = headerSize + static_cast<std::uint32_t>(body.size());
  body += content.localBasePath + '\0';
  std::uint32_t networkOffset =
      content.network ? headerSize + static_cast<std::uint32_t>(body.size()) : 0;
  body += network;
  std::uint32_t suffixOffset = headerSize + static_cast<std::uint32_t>(body.size());
  body += content.pathSuffix + '\0';
  std::uint32_t localUnicode = 0, suffixUnicode = 0;
  if (unicode) {
    localUnicode = headerSize + static_cast<std::uint32_t>(body.size());
    body += Utf16(content.localBasePath) + std::string(2, '\0');
    suffixUnicode = headerSize + static_cast<std::uint32_t>(body.size());
    body += Utf16(content.pathSuffix) + std::string(2, '\0');
  }
  std::string out;
  Put32(out, headerSize + static_cast<std::uint32_t>(body.size()));
  Put32(out, headerSize);
  Put32(out, 0x1 | (content.network ? 0x2u : 0u));
  Put32(out, volumeOffset);
  Put32(out, localOffset);
  Put32(out, networkOffset);
  Put32(out, suffixOffset);
  if (unicode) {
    Put32(out, localUnicode);
    Put32(out, suffixUnicode);
  }
  return out + body;
}

std::string EnvironmentBlock(const std::string& target) {
  std::string out;
  Put32(out, 0x314);
  Put32(out, 0xA0000001);
  std::string ansi = target;
  ansi.resize(260, '\0');
  std::string wide = Utf16(target);
  wide.resize(520, '\0');
  return out + ansi + wide;
}

}  // namespace

std::string LnkBytes(const TLnkContent& content) {
  std::uint32_t flags = 0;
  if (content.idList) flags |= 0x1;
  if (content.linkInfo) flags |= 0x2;
  if (!content.description.empty()) flags |= 0x4;
  if (!content.relativePath.empty()) flags |= 0x8;
  if (!content.workingDir.empty()) flags |= 0x10;
  if (!content.arguments.empty()) flags |= 0x20;
  if (!content.iconLocation.empty()) flags |= 0x40;
  if (content.unicode) flags |= 0x80;
  if (!content.environmentTarget.empty()) flags |= 0x200;
  std::string out;
  Put32(out, 0x4C);
  out += std::string("\x01\x14\x02\x00\x00\x00\x00\x00\xC0\x00\x00\x00\x00\x00\x00\x46", 16);
  Put32(out, flags);
  Put32(out, 0x20);                // file attributes: archive
  out += std::string(24, '\x01');  // three file times
  Put32(out, content.fileSize);
  Put32(out, static_cast<std::uint32_t>(content.iconIndex));
  Put32(out, content.showCommand);
  Put16(out, content.hotKey);
  out += std::string(10, '\0');
  if (content.idList) {
    // My Computer as the one item: a root-folder item with its class id.
    std::string item;
    Put16(item, 0x14);
    item += '\x1F';
    item += '\x50';
    item += std::string("\xE0\x4F\xD0\x20\xEA\x3A\x69\x10\xA2\xD8\x08\x00\x2B\x30\x30\x9D", 16);
    Put16(out, static_cast<std::uint32_t>(item.size() + 2));
    out += item;
    Put16(out, 0);
  }
  if (content.linkInfo) out += LinkInfo(content);
  for (const std::string* s : {&content.description, &content.relativePath, &content.workingDir,
                               &content.arguments, &content.iconLocation})
    if (!s->empty()) PutCounted(out, *s, content.unicode);
  if (!content.environmentTarget.empty()) out += EnvironmentBlock(content.environmentTarget);
  Put32(out, 0);  // terminal block
  return out;
}

std::string PifBytes(const std::string& title, const std::string& program,
                     const std::string& startDir, const std::string& params) {
  std::string out(0x171, '\0');
  std::string paddedTitle = title;
  paddedTitle.resize(30, ' ');
  out.replace(0x02, 30, paddedTitle);
  out.replace(0x24, program.size(), program);
  out.replace(0x65, startDir.size(), startDir);
  out.replace(0xA5, params.size(), params);
  std::string heading = "MICROSOFT PIFEX";
  heading.resize(16, '\0');
  out += heading;
  Put16(out, 0x187);
  Put16(out, 0);
  Put16(out, 0x171);
  return out;
}

std::string DibBytes(int side, int bits, QColor color) {
  const int stride = (side * bits + 31) / 32 * 4;
  const int maskStride = (side + 31) / 32 * 4;
  std::string out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(side));
  Put32(out, static_cast<std::uint32_t>(side * 2));
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(bits));
  Put32(out, 0);
  Put32(out, static_cast<std::uint32_t>((stride + maskStride) * side));
  out += std::string(16, '\0');
  if (bits <= 8) {
    // Palette: entry 0 black, entry 1 the colour.
    for (int i = 0; i < (1 << bits); ++i) {
      QColor c = i == 1 ? color : QColor(Qt::black);
      out += static_cast<char>(c.blue());
      out += static_cast<char>(c.green());
      out += static_cast<char>(c.red());
      out += '\0';
    }
  }
  for (int y = 0; y < side; ++y) {
    std::string row(static_cast<std::size_t>(stride), '\0');
    for (int x = 0; x < side; ++x) {
      switch (bits) {
        case 1:
          row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
          break;
        case 4:
          row[static_cast<std::size_t>(x / 2)] |= static_cast<char>(x % 2 ? 0x01 : 0x10);
          break;
        case 8:
          row[static_cast<std::size_t>(x)] = 1;
          break;
        case 24:
          row[static_cast<std::size_t>(x * 3)] = static_cast<char>(color.blue());
          row[static_cast<std::size_t>(x * 3 + 1)] = static_cast<char>(color.green());
          row[static_cast<std::size_t>(x * 3 + 2)] = static_cast<char>(color.red());
          break;
        default:
          row[static_cast<std::size_t>(x * 4)] = static_cast<char>(color.blue());
          row[static_cast<std::size_t>(x * 4 + 1)] = static_cast<char>(color.green());
          row[static_cast<std::size_t>(x * 4 + 2)] = static_cast<char>(color.red());
          row[static_cast<std::size_t>(x * 4 + 3)] = static_cast<char>(x == 0 ? 0 : 255);
      }
    }
    out += row;
  }
  for (int y = 0; y < side; ++y) {
    std::string row(static_cast<std::size_t>(maskStride), '\0');
    row[0] = static_cast<char>(0x80);  // the left column shows nothing
    out += row;
  }
  return out;
}

std::string PngBytes(int side, QColor color) {
  QImage image(side, side, QImage::Format_ARGB32);
  image.fill(color);
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, "PNG");
  return bytes.toStdString();
}

std::string IcoBytes(const std::vector<std::string>& images) {
  std::string out;
  Put16(out, 0);
  Put16(out, 1);
  Put16(out, static_cast<std::uint32_t>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (const std::string& image : images) {
    out += std::string(4, '\0');  // sizes: the reader takes them from the image
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, static_cast<std::uint32_t>(image.size()));
    Put32(out, offset);
    offset += static_cast<std::uint32_t>(image.size());
  }
  for (const std::string& image : images)
    out += image;
  return out;
}

namespace {

constexpr std::uint32_t kResourceAddress = 0x1000;
constexpr std::uint32_t kResourceOffset = 0x200;

// A resource directory with id entries only.
std::string DirectoryHeader(std::size_t ids) {
  std::string out(12, '\0');
  Put16(out, 0);
  Put16(out, static_cast<std::uint32_t>(ids));
  return out;
}

}  // namespace

std::string PeBytes(const std::vector<TGroupIcon>& groups) {
  // Icon ids 1, 2, … over all groups' images.
  std::vector<std::string> icons;
  std::vector<std::string> groupData;
  for (const TGroupIcon& g : groups) {
    std::string data;
    Put16(data, 0);
    Put16(data, 1);
    Put16(data, static_cast<std::uint32_t>(g.images.size()));
    for (const std::string& image : g.images) {
      icons.push_back(image);
      data += std::string(4, '\0');
      Put16(data, 1);
      Put16(data, 32);
      Put32(data, static_cast<std::uint32_t>(image.size()));
      Put16(data, static_cast<std::uint32_t>(icons.size()));
    }
    groupData.push_back(data);
  }
  const std::size_t m = icons.size(), n = groups.size();
  // Layout: root, the two type directories, one language directory per
  // resource, one data entry per resource, then the data.
  const std::uint32_t root = 0;
  const std::uint32_t iconDir = 16 + 2 * 8;
  const std::uint32_t groupDir = iconDir + 16 + static_cast<std::uint32_t>(m) * 8;
  const std::uint32_t languages = groupDir + 16 + static_cast<std::uint32_t>(n) * 8;
  const std::uint32_t entries = languages + static_cast<std::uint32_t>(m + n) * 24;
  std::uint32_t dataAt = entries + static_cast<std::uint32_t>(m + n) * 16;
  std::string tree;
  tree += DirectoryHeader(2);
  Put32(tree, 3);
  Put32(tree, 0x80000000u | iconDir);
  Put32(tree, 14);
  Put32(tree, 0x80000000u | groupDir);
  tree += DirectoryHeader(m);
  for (std::size_t i = 0; i < m; ++i) {
    Put32(tree, static_cast<std::uint32_t>(i + 1));
    Put32(tree, 0x80000000u | (languages + static_cast<std::uint32_t>(i) * 24));
  }
  tree += DirectoryHeader(n);
  for (std::size_t i = 0; i < n; ++i) {
    Put32(tree, groups[i].id);
    Put32(tree, 0x80000000u | (languages + static_cast<std::uint32_t>(m + i) * 24));
  }
  for (std::size_t i = 0; i < m + n; ++i) {
    tree += DirectoryHeader(1);
    Put32(tree, 0x411);
    Put32(tree, entries + static_cast<std::uint32_t>(i) * 16);
  }
  std::string data;
  for (std::size_t i = 0; i < m + n; ++i) {
    const std::string& blob = i < m ? icons[i] : groupData[i - m];
    Put32(tree, kResourceAddress + dataAt + static_cast<std::uint32_t>(data.size()));
    Put32(tree, static_cast<std::uint32_t>(blob.size()));
    Put32(tree, 0);
    Put32(tree, 0);
    data += blob;
    data.resize((data.size() + 3) & ~std::size_t{3}, '\0');
  }
  (void)root;
  std::string resources = tree + data;
  const std::uint32_t rawSize = (static_cast<std::uint32_t>(resources.size()) + 0x1FF) & ~0x1FFu;
  resources.resize(rawSize, '\0');

  std::string out(0x40, '\0');
  out[0] = 'M';
  out[1] = 'Z';
  Set32(out, 0x3C, 0x40);
  out += std::string("PE\0\0", 4);
  Put16(out, 0x14C);
  Put16(out, 1);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);
  Put16(out, 224);
  Put16(out, 0x0102);
  std::string optional(224, '\0');
  optional[0] = 0x0B;
  optional[1] = 0x01;
  Set32(optional, 92, 16);
  Set32(optional, 96 + 16, kResourceAddress);
  Set32(optional, 96 + 20, static_cast<std::uint32_t>(resources.size()));
  out += optional;
  std::string section = ".rsrc";
  section.resize(8, '\0');
  Put32(section, rawSize);
  Put32(section, kResourceAddress);
  Put32(section, rawSize);
  Put32(section, kResourceOffset);
  section += std::string(12, '\0');
  Put32(section, 0x40000040);
  out += section;
  out.resize(kResourceOffset, '\0');
  return out + resources;
}

std::string SamplePe() {
  return PeBytes({{101, {DibBytes(16, 8, Qt::red), DibBytes(32, 32, Qt::red)}},
                  {102, {DibBytes(32, 4, Qt::green)}},
                  {103, {DibBytes(48, 24, Qt::blue)}},
                  {104, {PngBytes(64, Qt::yellow)}}});
}

}  // namespace fixtures

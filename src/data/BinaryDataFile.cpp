// Reading a data file in either form: the text form first, then the binary form
// of an 88-byte header and three sections of encoded values.
#include <sys/stat.h>

#include <array>
#include <cstdint>
#include <utility>

#include "FileIO.h"
#include "LaunchErrors.h"
#include "LaunchList.h"
#include "ShiftJis.h"

namespace {

constexpr std::int64_t kHeaderSize = 88;
constexpr int kOffsetTable = 44;  // the sizes come first, eleven entries of four bytes
constexpr std::string_view kMinimumVersion = "3.00";
constexpr std::string_view kAppName = "PelloRunner";

std::int32_t Int32At(const std::string& bytes, std::size_t at) {
  std::uint32_t v = 0;
  for (std::size_t i = 0; i < 4; ++i)
    v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
  return static_cast<std::int32_t>(v);
}

bool IsRegularFile(const std::string& path) {
  struct stat st {};
  return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

constexpr const char* kSectionNames[] = {"ステータス", "ページ", "ボタン"};

// Section k's size and offset as the header gives them.
std::pair<std::int64_t, std::int64_t> SectionEntry(const std::string& header, int k) {
  return {Int32At(header, 4 * k), Int32At(header, kOffsetTable + 4 * k)};
}

// What is wrong with the header's entry for section k: empty when the section
// lies wholly inside the file and is not empty.
std::string SectionFault(const TByteSource& file, const std::string& header, int k) {
  const auto [size, offset] = SectionEntry(header, k);
  if (size > 0 && offset >= 0 && offset + size <= file.Size()) return {};
  const std::string section = "セクション " + std::to_string(k) + " (" + kSectionNames[k] + ")";
  if (size <= 0)
    return "ヘッダーによると" + section + "は " + std::to_string(size) + " バイトです。";
  return "ヘッダーによると" + section + "はオフセット " + std::to_string(offset) + " からの " +
         std::to_string(size) + " バイトで、" + std::to_string(file.Size()) +
         " バイトのファイルからはみ出しています。";
}

// The bytes of section k; any section that does not lie wholly inside the file,
// or is empty, is the read error.
std::string ReadSection(const TByteSource& file, const std::string& header, int k) {
  if (!SectionFault(file, header, k).empty()) throw EReadError();
  const auto [size, offset] = SectionEntry(header, k);
  std::string bytes = file.ReadAt(offset, static_cast<std::size_t>(size));
  if (static_cast<std::int64_t>(bytes.size()) != size) throw EReadError();
  return bytes;
}

// Versions compare as byte strings: "3.5" and "4" pass, "10.0" does not.
bool IsOwnStatus(const TDataStatus& status) {
  return status.Version >= kMinimumVersion && status.AppName == kAppName;
}

}  // namespace

void TLaunchList::LoadFromFile() {
  Loaded = false;
  if (!IsRegularFile(FileName)) return;
  TInputFile file(FileName);
  LoadFromSource(file);
}

void TLaunchList::LoadFromBytes(std::string_view bytes) {
  Loaded = false;
  TMemorySource source(bytes);
  LoadFromSource(source);
}

void TLaunchList::LoadFromSource(TByteSource& source) {
  if (LoadFromTextSource(source)) {
    Loaded = true;
    return;
  }
  if (source.Size() < kHeaderSize) throw EReadError();
  std::string header = source.ReadAt(0, kHeaderSize);
  if (static_cast<std::int64_t>(header.size()) != kHeaderSize) throw EReadError();

  Status.LoadFromStream(ReadSection(source, header, 0));
  if (!IsOwnStatus(Status)) return;
  Pages.LoadFromStream(ReadSection(source, header, 1));
  TBaseLaunchList::LoadFromStream(ReadSection(source, header, 2));
  Complete = true;  // the header's sizes are checked by the reads above
  Loaded = true;
}

std::string BinaryFormRefusal(const TByteSource& source) {
  if (source.Size() < kHeaderSize)
    return "ファイルは " + std::to_string(source.Size()) + " バイトで、ヘッダーの " +
           std::to_string(kHeaderSize) + " バイトに足りません。";
  const std::string header = source.ReadAt(0, kHeaderSize);
  for (int k = 0; k < 3; ++k)
    if (std::string fault = SectionFault(source, header, k); !fault.empty()) return fault;
  int k = 0;
  try {
    TDataStatus status;
    status.LoadFromStream(ReadSection(source, header, k));
    if (!IsOwnStatus(status))
      return "ステータスのアプリケーション名は \"" + sjis::ToUtf8ForDisplay(status.AppName) +
             "\"、バージョンは \"" + sjis::ToUtf8ForDisplay(status.Version) + "\" です。";
    TPageList pages;
    pages.LoadFromStream(ReadSection(source, header, ++k));
    TBaseLaunchList buttons;
    buttons.LoadFromStream(ReadSection(source, header, ++k));
  } catch (const ELaunchError& e) {
    return "セクション " + std::to_string(k) + " (" + kSectionNames[k] + "): " + e.what();
  }
  return {};
}

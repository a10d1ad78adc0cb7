// Reading a data file in either form: the text form first, then the binary form
// of an 88-byte header and three sections of encoded values.
#include <sys/stat.h>

#include <array>
#include <cstdint>

#include "FileIO.h"
#include "LaunchErrors.h"
#include "LaunchList.h"

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

// The bytes of section k; any section that does not lie wholly inside the file,
// or is empty, is the read error.
std::string ReadSection(const TByteSource& file, const std::string& header, int k) {
  std::int64_t size = Int32At(header, 4 * k);
  std::int64_t offset = Int32At(header, kOffsetTable + 4 * k);
  if (size <= 0 || offset < 0 || offset + size > file.Size()) throw EReadError();
  std::string bytes = file.ReadAt(offset, static_cast<std::size_t>(size));
  if (static_cast<std::int64_t>(bytes.size()) != size) throw EReadError();
  return bytes;
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
  // Versions compare as byte strings: "3.5" and "4" pass, "10.0" does not.
  if (Status.Version < kMinimumVersion || Status.AppName != kAppName) return;
  Pages.LoadFromStream(ReadSection(source, header, 1));
  TBaseLaunchList::LoadFromStream(ReadSection(source, header, 2));
  Loaded = true;
}

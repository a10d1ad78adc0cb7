// The file commands read a text data file as they go, a block of lines at a time,
// against the list loaded whole: the same bytes and the same errors.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "BenchData.h"
#include "DataRecords.h"
#include "LaunchErrors.h"
#include "LaunchList.h"
#include "ListCheck.h"
#include "RecordText.h"
#include "ShiftJis.h"
#include "TestSupport.h"
#include "TextFileStream.h"

namespace {

// dump as pellodata wrote it from the list loaded whole, before it streamed.
std::string DumpOfTheList(const TLaunchList& list) {
  std::string out = "status: " + sjis::ToUtf8ForDisplay(StatusToText(list.Status)) + "\n";
  std::int64_t first = 0;
  for (int p = 0; p < list.Pages.Count(); ++p) {
    const TPageItem& page = list.Pages.Get(p);
    out += "page " + std::to_string(p) + ": " + sjis::ToUtf8ForDisplay(PageToText(page)) + "\n";
    const std::int64_t held = std::clamp<std::int64_t>(list.Count() - first, 0, page.Count);
    for (std::int64_t b = 0; b < held; ++b)
      out += "  " + std::to_string(b) + ": " +
             sjis::ToUtf8ForDisplay(ItemToText(list.Get(static_cast<int>(first + b)))) + "\n";
    if (held < page.Count)
      out += "  " + std::to_string(held) +
             (page.Count - held > 1 ? ".." + std::to_string(page.Count - 1) : "") + ": (missing)\n";
    first += page.Count;
  }
  if (first < list.Count()) out += "owned by no page:\n";
  for (std::int64_t index = first; index < list.Count(); ++index)
    out += "  " + std::to_string(index) + ": " +
           sjis::ToUtf8ForDisplay(ItemToText(list.Get(static_cast<int>(index)))) + "\n";
  return out;
}

// What convert, dump and check give for records; convert's bytes, or its error.
std::string Commands(const TDataRecords& records, const std::string& converted) {
  std::string out = "convert: " + converted + "\ndump:\n";
  const auto put = [&out](std::string_view bytes) { out += bytes; };
  DumpRecords(records, put);
  out += "check:\n";
  CheckRecords(records, put);
  return out;
}

// The commands over the list loaded whole: convert and dump as pellodata ran them
// before it streamed.
std::string Loaded(const std::string& bytes) {
  TLaunchList list;
  try {
    list.LoadFromBytes(bytes);
  } catch (const ELaunchError& e) {
    return std::string("load: ") + e.what();
  }
  std::string converted;
  try {
    converted = TextDataFileBytes(list);
  } catch (const ELaunchError& e) {
    converted = e.what();
  }
  const std::string utf8 = sjis::IsUtf8Text(list.HeldBytes().View()) ? "UTF-8\n" : "";
  std::string out = "convert: " + converted + "\ndump:\n" + DumpOfTheList(list) + "check:\n";
  CheckRecords(TDataRecords(list), [&out](std::string_view bytes) { out += bytes; });
  return utf8 + out;
}

// The same read as it goes, with blocks of blockSize, and converted both ways: to
// standard output after a first reading, and to a file in one reading.
std::string Streamed(const std::string& bytes, std::size_t blockSize) {
  const TMemorySource source(bytes);
  std::optional<TTextFileOutline> outline;
  try {
    outline = ReadTextFileOutline(source, blockSize);
  } catch (const ELaunchError& e) {
    try {
      WriteTextFileFrom(
          source, [](std::string_view) {}, blockSize);
      return "one reading did not fail";
    } catch (const ELaunchError& again) {
      if (std::string(again.what()) != e.what()) return "one reading failed otherwise";
    }
    return std::string("load: ") + e.what();
  }
  if (!outline) return "refused";
  std::string converted, inOneReading;
  const auto put = [&converted](std::string_view piece) { converted += piece; };
  try {
    CheckPageCounts(*outline);
    WriteTextFileFrom(source, put, blockSize);
  } catch (const ELaunchError& e) {
    converted = e.what();
  }
  const std::optional<TTextFileOutline> read = WriteTextFileFrom(
      source, [&inOneReading](std::string_view piece) { inOneReading += piece; }, blockSize);
  try {
    CheckPageCounts(*read);
  } catch (const ELaunchError& e) {
    inOneReading = e.what();
  }
  if (read->Utf8 != outline->Utf8 || inOneReading != converted)
    return "one reading wrote otherwise";
  const std::string utf8 = outline->Utf8 ? "UTF-8\n" : "";
  return utf8 + Commands(TDataRecords(source, *outline), converted);
}

}  // namespace

// Every file of the data file corpora, as it is and behind a status section (as the
// text file fuzzer feeds it), and a realistic file of many pages; blocks of a byte or a
// few, so that every line and record straddles them, and of the size pellodata uses.
TEST(PelloData, StreamedCommandsGiveWhatTheLoadedListGives) {
  std::vector<std::string> files{testing_support::ReadFile(SAMPLE_PATH)};
  {
    TLaunchList list;
    bench::FillRealisticList(list, 600);
    const std::string realistic = TextDataFileBytes(list);
    files.push_back(realistic);
    std::string lineFeeds;  // lines ended by LF alone
    for (char c : realistic)
      if (c != '\r') lineFeeds += c;
    files.push_back(lineFeeds);
    files.push_back(realistic.substr(0, realistic.size() * 2 / 3) + "\x1a" +
                    realistic.substr(realistic.size() * 2 / 3));
    // Page 3 owns two more buttons: those of the pages after it shift, the last two are missing.
    std::string overrun = realistic;
    const std::string page = PageToText(list.Pages.Get(3));
    list.Pages.Get(3).Count += 2;
    overrun.replace(overrun.find(page), page.size(), PageToText(list.Pages.Get(3)));
    files.push_back(overrun);
  }
  // Lines near the writer's form, which only some are, buttons no page owns, and text
  // that is UTF-8 or only looks it.
  const std::string status = "\"PelloRunner\",\"3.00\",\"m\",0,0,1";
  const std::string written = "1,2,\"a\",\"\",\"b\"\"c\",\"\",\"\",\"\",0,1,\"\"";
  files.push_back(testing_support::CrLf(
      status, "**", "\"p\",12,0", "\"q\",-1,0", "**", written,
      "01,2,\"a\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"",
      "300,2,\"a\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"",
      "1,2,\"a\",\"\",\"\",\"\",\"\",\"\",00,1,\"\"",
      "1,2,\"\"\"x\"\"\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"\"x\"\"y\"",
      "1,2,\"a\r\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"",
      "1, 2,\"a\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"",
      "1,2,\"" + std::string(300, 'L') + "\",\"\",\"\",\"\",\"\",\"\",0,1,\"\"", ";", "", "x",
      "\rx", written + "\r", written, written, written, "**"));
  files.push_back(
      testing_support::CrLf(status, "**", "\"p\",1,0", "**", written, "1x,2,3,4,5,6,7,8,9,10,11"));
  for (const char* text : {"\xE3\x81\x82", "\xC3\xA9", "\xC3\xA9\r\n\xC2\x81"})
    files.push_back(testing_support::CrLf(status, "**", "**", written) + text);
  for (const char* corpus : {"data_file", "text_file", "record_text", "split_diff"})
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(PELLO_FUZZ_CORPUS) + "/" + corpus)) {
      const std::string bytes = testing_support::ReadFile(entry.path().string());
      files.push_back(bytes);
      files.push_back("\"PelloRunner\",\"3.00\",\"m\",0,0,1\r\n**\r\n" + bytes);
    }
  std::size_t streamed = 0;
  for (std::size_t f = 0; f < files.size(); ++f) {
    TMemorySource source(files[f]);
    if (!TextFormRefusal(source).empty()) {
      EXPECT_EQ(Streamed(files[f], kTextBlockSize), "refused") << "file " << f;
      continue;
    }
    ++streamed;
    const std::string loaded = Loaded(files[f]);
    for (std::size_t blockSize : {std::size_t{1}, std::size_t{7}, std::size_t{100}, kTextBlockSize})
      ASSERT_EQ(Streamed(files[f], blockSize), loaded)
          << "file " << f << ", blocks of " << blockSize;
  }
  EXPECT_GT(streamed, files.size() / 2);
}

// The fast record split and the loader against their plain forms, over the fuzz
// corpora and a realistic benchmark file: every field of every line, whole and cut
// at every length and with quotes, commas and gaps put in; and a load followed by
// a save that must give back every byte.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "BenchData.h"
#include "LaunchList.h"
#include "RecordSplit.h"
#include "RecordText.h"
#include "ReferenceSplit.h"
#include "TestSupport.h"

namespace {

constexpr std::size_t kLimits[] = {1, 2, 3, 6, 11, 1000};

// Empty when the fast split of line agrees with the plain one; else what differs.
std::string SplitDifference(std::string_view line) {
  TRecordFields fields;
  for (std::size_t limit : kLimits) {
    SplitRecord(line, fields, limit);
    const std::vector<std::string> expected = reference::SplitRecord(line, limit);
    bool same = fields.Count() == expected.size();
    for (std::size_t i = 0; same && i < expected.size(); ++i)
      same = fields[i] == expected[i];
    if (!same) return "limit " + std::to_string(limit) + ", line [" + std::string(line) + "]";
  }
  return {};
}

std::vector<std::string_view> Lines(std::string_view bytes) {
  std::vector<std::string_view> lines;
  while (!bytes.empty()) {
    std::size_t lf = bytes.find('\n');
    if (lf == std::string_view::npos) lf = bytes.size() - 1;
    lines.push_back(bytes.substr(0, lf));
    bytes.remove_prefix(lf + 1);
  }
  return lines;
}

std::string RealisticBytes(int n) {
  TLaunchList list;
  bench::FillRealisticList(list, n);
  return TextDataFileBytes(list);
}

// A benchmark file and every file of the record corpora.
std::vector<std::string> CorpusAndBenchmarkFiles() {
  std::vector<std::string> files{RealisticBytes(1500)};
  for (const char* corpus : {"text_file", "record_text", "data_file"})
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(PELLO_FUZZ_CORPUS) + "/" + corpus))
      files.push_back(testing_support::ReadFile(entry.path().string()));
  return files;
}

}  // namespace

TEST(SplitEquivalence, FastSplitGivesThePlainFieldsOnCorporaAndBenchmarkLines) {
  const std::vector<std::string> files = CorpusAndBenchmarkFiles();
  bench::TRandom random(16);
  std::size_t checked = 0;
  for (const std::string& file : files) {
    for (std::string_view line : Lines(file)) {
      ASSERT_EQ(SplitDifference(line), "");
      // Every cut, so that each field end falls at every place of a word.
      if (checked++ % 97 == 0) {
        for (std::size_t cut = 0; cut < line.size(); ++cut)
          ASSERT_EQ(SplitDifference(line.substr(0, cut)), "");
      }
      // The bytes the split stops at, put in at chance places.
      std::string changed(line);
      for (char c : {'"', ',', ' ', '\0', '\t', '"'})
        changed.insert(changed.begin() + random.Below(static_cast<int>(changed.size()) + 1), c);
      ASSERT_EQ(SplitDifference(changed), "");
    }
  }
}

TEST(SplitEquivalence, DirectReaderAndWriterAgreeWithThePlainOnesOnCorporaAndBenchmarkLines) {
  const std::vector<std::string> files = CorpusAndBenchmarkFiles();
  bench::TRandom random(17);
  std::size_t read = 0;
  for (const std::string& file : files) {
    for (std::string_view line : Lines(file)) {
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      // The bytes the direct reader stops at, put in at chance places.
      std::string changed(line);
      for (char c : {'"', ',', '\r', '\x1a', '"'})
        changed.insert(changed.begin() + random.Below(static_cast<int>(changed.size()) + 1), c);
      for (std::string_view bytes : {line, std::string_view(changed)}) {
        ASSERT_EQ(reference::WrittenItemDifference(bytes), "");
        TLaunchDataItem item;
        read += ReadWrittenItem(bytes, item) != 0;
        TRecordFields fields;
        SplitRecord(bytes, fields, 11);
        try {
          FieldsToItem(fields, item);
        } catch (const std::exception&) {
          continue;
        }
        ASSERT_EQ(reference::ItemTextDifference(item), "");
        // Bytes the writer must escape, put in at chance places.
        for (char c : {'"', '\r', '\n', '\x1a'}) {
          std::string comment(item.Comment);
          comment.insert(comment.begin() + random.Below(static_cast<int>(comment.size()) + 1), c);
          item.Comment = comment;
        }
        ASSERT_EQ(reference::ItemTextDifference(item), "");
      }
    }
  }
  EXPECT_GT(read, 1500u);  // the benchmark file's lines at least went the direct way
}

TEST(SplitEquivalence, LoadThenSaveGivesBackEveryByteOfABenchmarkFile) {
  // Larger than the piece a save writes at a time.
  const std::string bytes = RealisticBytes(15000);
  ASSERT_GT(bytes.size(), std::size_t{1} << 20);
  TLaunchList list;
  list.LoadFromBytes(bytes);
  ASSERT_TRUE(list.Loaded);
  EXPECT_EQ(list.Count(), 15000);
  EXPECT_EQ(TextDataFileBytes(list), bytes);
  testing_support::TTempDir dir;
  SaveToTextFile(list, dir.File("saved.lst"));
  EXPECT_EQ(testing_support::ReadFile(dir.File("saved.lst")), bytes);
  // Each button's text is its line of the file, as the grid shows it.
  std::size_t at = bytes.find(";*0\r\n");
  ASSERT_NE(at, std::string::npos);
  std::string scratch;
  int borrowed = 0;
  for (int i = 0; i < list.Count(); ++i) {
    // The grid's cell: the file's own bytes where they are the button's text.
    const TFieldText cell = ItemTextIn(list.Get(i), list.HeldBytes().View(), scratch);
    ASSERT_EQ(cell, ItemToText(list.Get(i))) << "button " << i;
    borrowed += cell.Borrowed();
    std::string text = ItemToText(list.Get(i)) + "\r\n";
    while (bytes[at] == ';' || bytes.compare(at, 2, "\r\n") == 0)
      at = bytes.find('\n', at) + 1;
    ASSERT_EQ(bytes.compare(at, text.size(), text), 0) << "button " << i;
    at += text.size();
  }
  EXPECT_EQ(borrowed, list.Count());  // a file as the writer writes it is shown as it stands
}

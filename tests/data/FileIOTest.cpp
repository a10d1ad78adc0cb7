#include "FileIO.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <gtest/gtest.h>

#include "LaunchErrors.h"
#include "LaunchList.h"
#include "TestSupport.h"

using testing_support::ReadFile;
using testing_support::TFileSizeLimit;
using testing_support::TTempDir;
using testing_support::WriteFile;

namespace {

std::vector<std::string> Lines(const std::string& path) {
  TInputFile file(path);
  TLineReader reader(file);
  std::vector<std::string> out;
  std::string_view line;
  while (reader.Next(line))
    out.emplace_back(line);
  return out;
}

}  // namespace

TEST(LineReader, SplitsAtLfAndCrLfAcrossBufferBoundaries) {
  TTempDir dir;
  std::string text;
  for (int i = 0; i < 30000; ++i)
    text += "line " + std::to_string(i) + (i % 2 ? "\r\n" : "\n");
  text += "last";
  WriteFile(dir.File("t"), text);
  auto lines = Lines(dir.File("t"));
  ASSERT_EQ(lines.size(), 30001u);
  EXPECT_EQ(lines[29999], "line 29999");
  EXPECT_EQ(lines.back(), "last");

  std::string longLine(3 * (1 << 20) + 5, 'x');
  WriteFile(dir.File("long"), "a\n" + longLine + "\r\nb");
  lines = Lines(dir.File("long"));
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[1], longLine);
  EXPECT_EQ(lines[2], "b");
}

TEST(LineReader, EmptyFilesAndEmptyLines) {
  TTempDir dir;
  WriteFile(dir.File("e"), "");
  EXPECT_TRUE(Lines(dir.File("e")).empty());
  WriteFile(dir.File("n"), "\n\r\n");
  EXPECT_EQ(Lines(dir.File("n")), (std::vector<std::string>{"", ""}));
  WriteFile(dir.File("z"), std::string("\x1a"
                                       "abc\n",
                                       5));
  EXPECT_TRUE(Lines(dir.File("z")).empty());
}

TEST(InputFile, ReadsAtOffsetsWithinTheFileOnly) {
  TTempDir dir;
  WriteFile(dir.File("f"), "0123456789");
  TInputFile file(dir.File("f"));
  EXPECT_EQ(file.Size(), 10);
  EXPECT_EQ(file.ReadAt(2, 3), "234");
  EXPECT_EQ(file.ReadAt(8, 100), "89");
  EXPECT_EQ(file.ReadAt(10, 1), "");
  EXPECT_EQ(file.ReadAt(-1, 1), "");
}

TEST(InputFile, RefusesWhatIsNoRegularFileWithoutWaiting) {
  TTempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("pipe.lst").c_str(), 0600), 0);
  EXPECT_THROW(TInputFile(dir.File("pipe.lst")), EFileError) << "a pipe with no writer";
  EXPECT_THROW(TInputFile("/dev/zero"), EFileError) << "a device that never ends";
  EXPECT_THROW(TInputFile(dir.Path().string()), EFileError);
  TLaunchList list;
  list.SetFileName(dir.File("pipe.lst"));
  list.LoadFromFile();
  EXPECT_FALSE(list.Loaded);
}

TEST(WriteFileReplacing, ReplacesContentKeepingModeAndLinks) {
  TTempDir dir;
  const std::string file = dir.File("data.lst");
  WriteFile(file, "old");
  ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
  std::filesystem::create_symlink(file, dir.File("link.lst"));

  WriteFileReplacing(dir.File("link.lst"), "new");
  EXPECT_EQ(ReadFile(file), "new");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("link.lst")));
  struct stat st {};
  ASSERT_EQ(::stat(file.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 0777, 0640u);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            2)
      << "no temporary file is left behind";

  WriteFileReplacing(dir.File("fresh.lst"), "x");
  EXPECT_EQ(ReadFile(dir.File("fresh.lst")), "x");
}

TEST(WriteFileReplacing, AFailedWriteLeavesTheOldFileAndNoTemporary) {
  TTempDir dir;
  const std::string file = dir.File("keep.lst");
  WriteFile(file, "old");
  {
    TFileSizeLimit limit(16);
    try {
      WriteFileReplacing(file, std::string(1000, 'n'));
      FAIL() << "no error";
    } catch (const EFileError& e) {
      EXPECT_NE(std::string(e.what()).find(file), std::string::npos);
      EXPECT_NE(std::string(e.what()).find("を作成できません"), std::string::npos);
    }
  }
  EXPECT_EQ(ReadFile(file), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            1);
}

TEST(WriteFileReplacing, NamesTheFileAndReasonWhenItCannotBeCreated) {
  TTempDir dir;
  WriteFile(dir.File("plain"), "");
  try {
    WriteFileReplacing(dir.File("plain") + "/x.lst", "x");
    FAIL() << "no error";
  } catch (const EFileError& e) {
    EXPECT_EQ(std::string(e.what()),
              "ファイル \"" + dir.File("plain") +
                  "/x.lst\". 指定されたパスが見つかりません。 を作成できません");
  }
  EXPECT_THROW(WriteFileReplacing(dir.Path().string(), "x"), EFileError) << "a folder";
}

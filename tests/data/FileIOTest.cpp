#include "FileIO.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
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

const std::string kNotRegular = "指定されたパスは通常のファイルではありません。";

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
  for (const std::string& path :
       {dir.File("pipe.lst"), std::string("/dev/zero"), dir.Path().string()}) {
    try {
      TInputFile file(path);  // a pipe with no writer, a device that never ends, a folder
      ADD_FAILURE() << path << " opened";
    } catch (const EFileError& e) {
      EXPECT_EQ(std::string(e.what()),
                "ファイル \"" + path + "\". " + kNotRegular + " を開けません");
    }
  }
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

  std::filesystem::create_symlink("made.lst", dir.File("dangling.lst"));
  WriteFileReplacing(dir.File("dangling.lst"), "y");
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("dangling.lst")));
  EXPECT_EQ(ReadFile(dir.File("made.lst")), "y") << "the link's target is created";
}

TEST(WriteFileReplacing, RefusesWhatIsNoRegularFileOrIsReadOnly) {
  TTempDir dir;
  ASSERT_EQ(::mkfifo(dir.File("pipe").c_str(), 0666), 0);
  std::filesystem::create_symlink("loop.b", dir.File("loop.a"));
  std::filesystem::create_symlink("loop.a", dir.File("loop.b"));
  WriteFile(dir.File("ro.lst"), "old");
  ASSERT_EQ(::chmod(dir.File("ro.lst").c_str(), 0444), 0);  // refused for root as well
  const struct {
    std::string path, reason;
  } refused[] = {{dir.File("pipe"), kNotRegular},
                 {dir.Path().string(), kNotRegular},
                 {dir.File("loop.a"), msg::SystemReason(ELOOP)},
                 {dir.File("ro.lst"), "アクセスが拒否されました。"}};
  for (const auto& r : refused) {
    try {
      WriteFileReplacing(r.path, "new");
      ADD_FAILURE() << r.path << " replaced";
    } catch (const EFileError& e) {
      EXPECT_EQ(std::string(e.what()),
                "ファイル \"" + r.path + "\". " + r.reason + " を作成できません");
    }
  }
  EXPECT_TRUE(std::filesystem::is_fifo(dir.File("pipe")));
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File("loop.a")));
  EXPECT_EQ(ReadFile(dir.File("ro.lst")), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()),
                          std::filesystem::directory_iterator()),
            4);
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
  // Content given in pieces whose making fails half-way: the error passes on, the
  // half-written temporary goes.
  EXPECT_THROW(WriteFileReplacing(file,
                                  [](const std::function<void(std::string_view)>& write) {
                                    write("new");
                                    throw std::runtime_error("made no further");
                                  }),
               std::runtime_error);
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

TEST(SystemReason, IsJapaneseForEveryErrno) {
  for (int err = 1; err < 134; ++err) {
    const std::string reason = msg::SystemReason(err);
    EXPECT_EQ(reason.find(std::strerror(err)), std::string::npos) << err << ": " << reason;
    EXPECT_TRUE(std::any_of(reason.begin(), reason.end(), [](char c) { return c & 0x80; }))
        << err << ": " << reason;
  }
  EXPECT_NE(msg::SystemReason(9999).find("9999"), std::string::npos);
}

#include "FileIO.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <filesystem>

#include <gtest/gtest.h>

#include "LaunchErrors.h"
#include "LaunchList.h"
#include "TestSupport.h"

using testing_support::EndedProcess;
using testing_support::Names;
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

TEST(WriteFileReplacing, AsksWithTheNewFileWholeAndLeavesTheOldOneOnNo) {
  TTempDir dir;
  const std::string file = dir.File("data.lst");
  WriteFile(file, "old");
  TLaunchList list;
  std::vector<std::string> seen;  // the folder's files when asked
  bool answer = false;
  TTextFileWrite how;
  how.beforeReplace = [&] {
    for (const std::string& name : Names(dir.Path()))
      seen.push_back(ReadFile(dir.File(name)));
    return answer;
  };
  EXPECT_FALSE(SaveToTextFile(list, file, how).exists);
  EXPECT_EQ(seen, (std::vector<std::string>{TextDataFileBytes(list), "old"}));
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"data.lst"});
  EXPECT_EQ(ReadFile(file), "old");
  how.inPlace = true;  // asked before the first byte is written
  EXPECT_FALSE(SaveToTextFile(list, file, how).exists);
  EXPECT_EQ(ReadFile(file), "old");

  answer = true;
  how.inPlace = false;
  EXPECT_TRUE(SaveToTextFile(list, file, how).exists);
  EXPECT_EQ(ReadFile(file), TextDataFileBytes(list));
}

TEST(WriteFileReplacing, AFilePutInPlaceAfterTheLastLookIsPutBackUnlessAgreed) {
  TTempDir dir;
  const std::string file = dir.File("data.lst");
  WriteFile(file, "old");
  TLaunchList list;
  std::string replacedBytes;
  bool answer = false;
  TTextFileWrite how;
  how.replaced = [&](const std::string& replaced) {
    replacedBytes = ReadFile(replaced);
    return answer;
  };
  EXPECT_FALSE(SaveToTextFile(list, file, how).exists);
  EXPECT_EQ(replacedBytes, "old");
  EXPECT_EQ(ReadFile(file), "old") << "put back";
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"data.lst"});

  answer = true;
  EXPECT_TRUE(SaveToTextFile(list, file, how).exists);
  EXPECT_EQ(ReadFile(file), TextDataFileBytes(list));
  EXPECT_EQ(Names(dir.Path()), std::vector<std::string>{"data.lst"}) << "the old file is gone";
}

TEST(Temporaries, FitAnyNameAndOnlyStaleOnesOfOursAreRemoved) {
  TTempDir dir;
  // The longest name a file may have still gets its temporary, and a save.
  const std::string longName(255, 'n');
  WriteFileReplacing(dir.File(longName), "x");
  std::string temp;
  const int fd = CreateTemporaryBeside(dir.File("data.lst"), temp);
  ASSERT_GE(fd, 0);
  ::close(fd);
  const std::string tempName = std::filesystem::path(temp).filename();
  EXPECT_TRUE(tempName.starts_with(".data.lst.pelledit-" + std::to_string(::getpid()) + "-"));
  EXPECT_TRUE(IsOwnTemporaryName(tempName));

  const std::string ended = std::to_string(EndedProcess());
  const std::string stale = ".data.lst.pelledit-" + ended + "-a1B2c3";
  const std::string fresh = ".data.lst.pelledit-" + ended + "-fresh1";
  const std::string running = ".data.lst.pelledit-1-a1B2c3";  // init never ends
  const std::string notOurs = ".data.lst.a1B2c3";
  const std::string link = ".data.lst.pelledit-" + ended + "-link01";
  const std::string otherFile = ".other.lst.pelledit-" + ended + "-a1B2c3";
  const auto old = std::filesystem::file_time_type::clock::now() - std::chrono::hours(1);
  for (const std::string& name : {stale, fresh, running, notOurs, otherFile}) {
    WriteFile(dir.File(name), "half");
    if (name != fresh) std::filesystem::last_write_time(dir.File(name), old);
  }
  std::filesystem::create_symlink(dir.File(stale), dir.File(link));
  EXPECT_FALSE(IsOwnTemporaryName(notOurs));

  EXPECT_EQ(RemoveStaleTemporaries(dir.File("data.lst")), 1);
  EXPECT_FALSE(std::filesystem::exists(dir.File(stale)));
  for (const std::string& name : {fresh, running, notOurs, otherFile, tempName})
    EXPECT_TRUE(std::filesystem::exists(dir.File(name))) << name;
  EXPECT_TRUE(std::filesystem::is_symlink(dir.File(link)));
  EXPECT_EQ(RemoveStaleTemporariesIn(dir.Path().string()), 1) << "the other file's";
  EXPECT_FALSE(std::filesystem::exists(dir.File(otherFile)));
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

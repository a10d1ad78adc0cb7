// Paths, folder listings and file types.
#include <gtest/gtest.h>

#include "FileTypes.h"
#include "FileUtils.h"
#include "TestSupport.h"

using testing_support::TTempDir;
using testing_support::WriteFile;

TEST(FileUtils, IsFolderHoldsForListableFoldersOnly) {
  TTempDir dir;
  std::filesystem::create_directory(dir.File("empty"));
  WriteFile(dir.File("file"), "x");
  EXPECT_TRUE(IsFolder(dir.File("empty")));
  EXPECT_TRUE(IsFolder(dir.File("empty") + "/"));
  EXPECT_TRUE(IsFolder("/"));
  EXPECT_FALSE(IsFolder(dir.File("file")));
  EXPECT_FALSE(IsFolder(dir.File("missing")));
  EXPECT_FALSE(IsFolder(""));
  EXPECT_EQ(DriveKind('A'), -1);
  EXPECT_EQ(DriveKind('C'), -1);
}

TEST(FileUtils, GetLongPathSpellsStoredNamesAndLeavesMissingPathsAlone) {
  TTempDir dir;
  std::filesystem::create_directories(dir.File("Sub/Deeper"));
  WriteFile(dir.File("Sub/Deeper/File.TXT"), "x");
  const std::string file = dir.File("Sub/Deeper/File.TXT");
  EXPECT_EQ(GetLongPath(file), file);
  EXPECT_EQ(GetLongPath(dir.File("Sub/Deeper/")), dir.File("Sub/Deeper"));
  EXPECT_EQ(GetLongPath(dir.File("Sub/missing/")), dir.File("Sub/missing"));
  EXPECT_EQ(GetLongPath("/"), "/");
  EXPECT_EQ(GetLongPath("C:\\Windows\\"), "C:\\Windows\\");
}

TEST(FileUtils, ListFolderSortsMatchesAndLeavesOutDotFolders) {
  TTempDir dir;
  for (const char* name : {"b.txt", "A.TXT", "c.doc", ".hidden", "noext"})
    WriteFile(dir.File(name), "x");
  for (const char* name : {"Sub", ".git"})
    std::filesystem::create_directory(dir.File(name));

  std::vector<std::string> all;
  ListFolder(all, dir.Path().string(), true, "*.*");
  EXPECT_EQ(all, (std::vector<std::string>{".hidden", "A.TXT", "b.txt", "c.doc", "noext", "Sub"}));
  std::vector<std::string> files{"kept"};
  ListFolder(files, dir.Path().string(), false, "*.txt");
  EXPECT_EQ(files, (std::vector<std::string>{"kept", "A.TXT", "b.txt"}));
  std::vector<std::string> none;
  ListFolder(none, dir.File("missing"), true, "*.*");
  EXPECT_TRUE(none.empty());
}

TEST(FileUtils, CollectFilesExpandsFoldersAndKeepsFiles) {
  TTempDir dir;
  std::filesystem::create_directories(dir.File("pics/inner"));
  WriteFile(dir.File("pics/a.png"), "x");
  std::vector<std::string> list;
  std::string baseDir;
  CollectFiles(list, dir.File("pics/"), baseDir, true, "*.*");
  EXPECT_EQ(baseDir, dir.Path().string() + "/");
  EXPECT_EQ(list, (std::vector<std::string>{dir.File("pics/a.png"), dir.File("pics/inner")}));
  CollectFiles(list, dir.File("pics/a.png"), baseDir, true, "*.*");
  EXPECT_EQ(baseDir, dir.File("pics/"));
  EXPECT_EQ(list.back(), dir.File("pics/a.png"));
  EXPECT_EQ(FolderOf("relative"), "");
  EXPECT_EQ(FileNameOf("/a/b/"), "b");
}

TEST(FileTypes, HasExtensionInIsASubstringTestOfTheExtension) {
  const char* programs = ".EXE.COM.SCR.ICO";
  EXPECT_TRUE(HasExtensionIn("/x/tool.exe", programs));
  EXPECT_TRUE(HasExtensionIn("/x/tool.Ex", programs));
  EXPECT_TRUE(HasExtensionIn("/x/tool.e", programs));
  EXPECT_TRUE(HasExtensionIn("C:\\dir.d\\tool.c", programs));
  EXPECT_FALSE(HasExtensionIn("/x/tool", programs));
  EXPECT_FALSE(HasExtensionIn("/x.exe/tool", programs));
  EXPECT_FALSE(HasExtensionIn("/x/tool.", programs));
  EXPECT_FALSE(HasExtensionIn("/x/tool.txt", programs));
}

TEST(FileTypes, AssociationsComeFromTheDesktopsDefaultApplications) {
  TTempDir dir;
  WriteFile(dir.File("memo.txt"), "hello\n");
  WriteFile(dir.File("blob.pellozz"), std::string("\0\1\2\3", 4));
  EXPECT_EQ(ContentTypeOf(dir.File("memo.txt")), "text/plain");
  EXPECT_TRUE(FindAssociatedProgram(dir.File("memo.txt")));
  EXPECT_FALSE(FindAssociatedProgram(dir.File("blob.pellozz")));

  std::string iconFile = "kept";
  std::int32_t iconIndex = 9;
  std::string command = "old";
  GetAssociation(dir.File("memo.txt"), iconFile, iconIndex, command);
  EXPECT_EQ(command, "/bin/true %f");
  EXPECT_EQ(iconFile, "text-x-generic");
  EXPECT_EQ(iconIndex, 0);

  iconFile = "kept";
  iconIndex = 9;
  GetAssociation(dir.File("blob.pellozz"), iconFile, iconIndex, command);
  EXPECT_EQ(command, "");
  EXPECT_EQ(iconFile, "kept");
  EXPECT_EQ(iconIndex, 9);

  GetAssociation(dir.Path().string(), iconFile, iconIndex, command);
  EXPECT_EQ(iconFile, "inode-directory");
}

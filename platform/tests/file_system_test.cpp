#include "platform/file_system.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "platform/tests/temp_folder.h"
#include "platform/text.h"

namespace {

using testing_files::TempFolder;
using testing_files::WriteFileBytes;

TEST(FileSystem, InstallPathValidation) {
  const struct {
    const wchar_t* path;
    bool valid;
  } cases[] = {
      {L"D:\\Velora", true},
      {L"C:", true},
      {L"C:\\", true},
      {L"c:\\Program Files\\Velora\\Velora\u89c6\u9891\u6a21\u677f", true},
      {L"C:\\Program Files\\x?y", false},
      {L"\\\\server\\share", false},
      {L"CC:\\x", false},
      {L"C:\\a/b", false},
      {L"C:\\a\\\\b", false},
      {L"1:\\x", false},
      {L":C\\x", false},  // the drive must begin with a letter
      {L"", false},
      {L"\\", false},
      {L"C:\\a\\b:c", false},
      {L"C:\\a<b", false},
      {L"C:\\a|b", false},
      {L"C:\\a\"b", false},
      {L"C:\\a*b", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsValidInstallPath(c.path), c.valid) << WideToUtf8(c.path);
}

TEST(FileSystem, PathPieces) {
  EXPECT_EQ(FileExtension(L"C:\\dir.v2\\file"), L"");
  EXPECT_EQ(FileExtension(L"setup.exe"), L".exe");
  EXPECT_EQ(FileExtension(L"C:/a.b/c.tar.gz"), L".gz");
  EXPECT_EQ(FileExtension(L"noext"), L"");
  EXPECT_EQ(EnsureTrailingSlash(L""), L"");
  EXPECT_EQ(EnsureTrailingSlash(L"C:\\x"), L"C:\\x\\");
  EXPECT_EQ(EnsureTrailingSlash(L"C:\\x/"), L"C:\\x/");
  EXPECT_EQ(EnsureTrailingSlash(L"C:\\x\\"), L"C:\\x\\");
  EXPECT_EQ(FullPathDirectory(L"C:\\a\\b\\..\\setup.exe"), L"C:\\a\\");
  EXPECT_EQ(FullPathFileName(L"C:\\a\\b\\..\\setup.exe"), L"setup.exe");
  EXPECT_EQ(FullPathDirectory(L"C:\\a\\"), L"C:\\a\\");
  EXPECT_EQ(FullPathFileName(L"C:\\a\\"), L"");
  EXPECT_EQ(FullPathDirectory(L""), L"");
  EXPECT_EQ(FullPathFileName(L""), L"");
}

TEST(FileSystem, ExistenceOfFilesAndDirectories) {
  TempFolder folder;
  std::wstring file = folder.Path() + L"f.bin";
  ASSERT_TRUE(WriteFileBytes(file, "12345"));
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(folder.Path()));
  EXPECT_FALSE(FileExists(folder.Path() + L"missing"));
  EXPECT_FALSE(FileExists(L""));
  EXPECT_EQ(FileSizeOf(file), 5);
  EXPECT_EQ(FileSizeOf(folder.Path() + L"missing"), 0);

  EXPECT_TRUE(DirectoryExists(folder.Path()));
  std::wstring bare = folder.Path().substr(0, folder.Path().size() - 1);
  EXPECT_TRUE(DirectoryExists(bare));
  EXPECT_FALSE(DirectoryExists(file));
  EXPECT_FALSE(DirectoryExists(folder.Path() + L"missing"));
  EXPECT_FALSE(DirectoryExists(folder.Path() + L"missing\\deeper"));
  EXPECT_FALSE(DirectoryExists(L""));
  EXPECT_FALSE(DirectoryExists(L"C:\\bad|name"));
}

TEST(FileSystem, CreateDirectoriesMakesEveryMissingParent) {
  TempFolder folder;
  std::wstring deep = folder.Path() + L"a\\b/c";
  EXPECT_TRUE(CreateDirectories(deep));
  EXPECT_TRUE(DirectoryExists(folder.Path() + L"a"));
  EXPECT_TRUE(DirectoryExists(folder.Path() + L"a\\b"));
  EXPECT_TRUE(DirectoryExists(deep));
  EXPECT_TRUE(CreateDirectories(deep + L"\\"));  // already there

  // A file in the way cannot become a directory.
  ASSERT_TRUE(WriteFileBytes(folder.Path() + L"file", "x"));
  EXPECT_FALSE(CreateDirectories(folder.Path() + L"file\\sub"));
  EXPECT_FALSE(CreateDirectories(L""));
  EXPECT_FALSE(CreateDirectories(folder.Path() + L"bad|name\\x"));
}

TEST(FileSystem, RemoveTree) {
  TempFolder folder;
  std::wstring root = folder.Path() + L"tree";
  ASSERT_TRUE(CreateDirectories(root + L"\\a\\b"));
  ASSERT_TRUE(CreateDirectories(root + L"\\empty"));
  ASSERT_TRUE(WriteFileBytes(root + L"\\top.txt", "t"));
  ASSERT_TRUE(WriteFileBytes(root + L"\\a\\b\\deep.bin", "d"));
  EXPECT_TRUE(RemoveTree(root + L"\\"));
  EXPECT_FALSE(DirectoryExists(root));

  EXPECT_TRUE(RemoveTree(folder.Path() + L"never-there"));
  ASSERT_TRUE(WriteFileBytes(folder.Path() + L"single", "s"));
  EXPECT_TRUE(RemoveTree(folder.Path() + L"single"));
  EXPECT_FALSE(FileExists(folder.Path() + L"single"));
  ASSERT_TRUE(CreateDirectories(folder.Path() + L"bare"));
  EXPECT_TRUE(RemoveTree(folder.Path() + L"bare"));
  EXPECT_FALSE(DirectoryExists(folder.Path() + L"bare"));
  EXPECT_FALSE(RemoveTree(L""));
}

TEST(FileSystem, DirectoryFinderSkipsTheDotEntries) {
  TempFolder folder;
  EXPECT_EQ(DirectoryFinder::Open(folder.Path(), L"*"), nullptr);  // nothing but "." and ".."
  EXPECT_EQ(DirectoryFinder::Open(folder.Path() + L"missing", L"*"), nullptr);
  ASSERT_TRUE(WriteFileBytes(folder.Path() + L"one.png", "1"));
  ASSERT_TRUE(WriteFileBytes(folder.Path() + L"two.txt", "2"));
  ASSERT_TRUE(CreateDirectories(folder.Path() + L"sub"));

  std::wstring bare = folder.Path().substr(0, folder.Path().size() - 1);
  DirectoryFinder* finder = DirectoryFinder::Open(bare, L"*");
  ASSERT_NE(finder, nullptr);
  std::vector<std::wstring> seen;
  do seen.push_back(finder->FullPath() + (finder->IsDirectory() ? L"/" : L""));
  while (finder->Next());
  finder->Close();
  std::sort(seen.begin(), seen.end());
  EXPECT_EQ(seen, (std::vector<std::wstring>{folder.Path() + L"one.png", folder.Path() + L"sub/",
                                             folder.Path() + L"two.txt"}));

  finder = DirectoryFinder::Open(folder.Path(), L"*.png");
  ASSERT_NE(finder, nullptr);
  EXPECT_STREQ(finder->Name(), L"one.png");
  EXPECT_FALSE(finder->Next());
  finder->Close();
}

}  // namespace

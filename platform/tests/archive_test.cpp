#include "platform/archive.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <sstream>

#include "platform/digest.h"
#include "platform/file_system.h"
#include "platform/tests/temp_folder.h"
#include "platform/text.h"

namespace {

using testing_files::OwnFolder;
using testing_files::TempFolder;

std::wstring Fixture(const char* name) { return OwnFolder() + L"archives\\" + Utf8ToWide(name); }

// entry name -> md5, for one archive, from the build's listing.
std::map<std::string, std::string> Listed(const std::string& archive) {
  std::map<std::string, std::string> entries;
  FILE* file = _wfopen(Fixture("archives.txt").c_str(), L"r");
  if (!file) return entries;
  char text[512];
  while (fgets(text, sizeof text, file)) {
    std::istringstream fields(text);
    std::string name, entry, md5;
    if (fields >> name >> entry >> md5 && name == archive) entries[entry] = md5;
  }
  fclose(file);
  return entries;
}

// Every file in the folder, with its md5.
std::map<std::string, std::string> Unpacked(const std::wstring& folder) {
  std::map<std::string, std::string> files;
  DirectoryFinder* finder = DirectoryFinder::Open(folder, L"*");
  if (!finder) return files;
  do files[WideToUtf8(finder->Name())] = finder->IsDirectory() ? "dir" : Md5OfFile(finder->FullPath());
  while (finder->Next());
  finder->Close();
  return files;
}

TEST(Archive, UnpacksEveryEntryFlat) {
  for (const char* name : {"skin.zip", "mixed.zip"}) {
    TempFolder target;
    EXPECT_EQ(ExtractArchive(target.Path(), Fixture(name)), 0) << name;
    EXPECT_EQ(Unpacked(target.Path()), Listed(name)) << name;
  }
  EXPECT_EQ(Listed("skin.zip").size(), 15u);
}

TEST(Archive, ReplacesFilesThatAreThere) {
  TempFolder target;
  ASSERT_TRUE(testing_files::WriteFileBytes(target.Path() + L"one.bin", "an older and longer content"));
  EXPECT_EQ(ExtractArchive(target.Path(), Fixture("mixed.zip")), 0);
  EXPECT_EQ(testing_files::ReadFileBytes(target.Path() + L"one.bin"), "1");
}

TEST(Archive, FailingEntries) {
  const struct {
    const char* archive;
    int result;
    std::map<std::string, std::string> stopped;  // what ExtractArchive leaves
    std::map<std::string, std::string> all;      // what ExtractArchiveAll leaves
  } cases[] = {
      {"with_empty.zip", -1, {{"first.txt", ""}}, {{"first.txt", ""}, {"last.txt", ""}}},
      {"with_folder.zip", -1, {{"a.txt", ""}}, {{"a.txt", ""}, {"b.txt", ""}}},
      {"nested_name.zip", -1, {{"top.png", ""}}, {{"top.png", ""}, {"after.png", ""}}},
      {"escape.zip", -1, {}, {{"inside.txt", ""}}},
      {"no_entries.zip", -1, {}, {}},
      {"not_a.zip", -1, {}, {}},
      {"missing.zip", -1, {}, {}},
  };
  for (const auto& c : cases) {
    std::map<std::string, std::string> listed = Listed(c.archive);
    auto withDigests = [&](std::map<std::string, std::string> names) {
      for (auto& [name, md5] : names) md5 = listed[name];
      return names;
    };
    TempFolder parent;
    std::wstring target = parent.Path() + L"t\\";
    ASSERT_TRUE(CreateDirectories(target));
    EXPECT_EQ(ExtractArchive(target, Fixture(c.archive)), c.result) << c.archive;
    EXPECT_EQ(Unpacked(target), withDigests(c.stopped)) << c.archive;
    RemoveTree(target);
    ASSERT_TRUE(CreateDirectories(target));
    ExtractArchiveAll(target, Fixture(c.archive));
    EXPECT_EQ(Unpacked(target), withDigests(c.all)) << c.archive;
    EXPECT_FALSE(FileExists(parent.Path() + L"escaped.txt")) << c.archive;
  }
}

TEST(Archive, AFolderPartWorksWhenTheFolderIsThere) {
  TempFolder target;
  ASSERT_TRUE(CreateDirectories(target.Path() + L"img"));
  EXPECT_EQ(ExtractArchive(target.Path(), Fixture("nested_name.zip")), 0);
  EXPECT_EQ(Md5OfFile(target.Path() + L"img\\a.png"), Listed("nested_name.zip")["img/a.png"]);
}

TEST(Archive, EmptyPathsDoNothing) {
  TempFolder target;
  EXPECT_EQ(ExtractArchive(L"", Fixture("skin.zip")), -1);
  EXPECT_EQ(ExtractArchive(target.Path(), L""), -1);
  ExtractArchiveAll(L"", Fixture("skin.zip"));
  ExtractArchiveAll(target.Path(), L"");
  EXPECT_TRUE(Unpacked(target.Path()).empty());
}

}  // namespace

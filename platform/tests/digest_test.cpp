#include "platform/digest.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

class TempFile {
 public:
  explicit TempFile(const std::string& contents) {
    wchar_t dir[MAX_PATH];
    GetTempPathW(MAX_PATH, dir);
    wchar_t name[MAX_PATH];
    GetTempFileNameW(dir, L"md5", 0, name);
    path_ = name;
    FILE* file = _wfopen(path_.c_str(), L"wb");
    fwrite(contents.data(), 1, contents.size(), file);
    fclose(file);
  }
  ~TempFile() { DeleteFileW(path_.c_str()); }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

TEST(Md5OfBuffer, DigestsAndRefusals) {
  EXPECT_EQ(Md5OfBuffer("abc", 3), "900150983cd24fb0d6963f7d28e17f72");
  EXPECT_EQ(Md5OfBuffer(nullptr, 3), "");
  EXPECT_EQ(Md5OfBuffer("abc", 0), "");
  EXPECT_EQ(Md5OfBuffer("abc", -1), "");
}

TEST(Md5OfFile, WholeContentsInBlocks) {
  EXPECT_EQ(Md5OfFile(TempFile("abc").Path()), "900150983cd24fb0d6963f7d28e17f72");
  // Sizes around the 4096-byte block.
  for (size_t size : {4095u, 4096u, 4097u, 10000u}) {
    std::string data(size, '\0');
    for (size_t i = 0; i < size; ++i) data[i] = char(i * 31 + 7);
    EXPECT_EQ(Md5OfFile(TempFile(data).Path()), Md5OfBuffer(data.data(), int32_t(size))) << size;
  }
}

TEST(Md5OfFile, EmptyOrMissingFileHasNoDigest) {
  EXPECT_EQ(Md5OfFile(TempFile("").Path()), "");
  EXPECT_EQ(Md5OfFile(L"C:\\no\\such\\file.bin"), "");
  EXPECT_EQ(Md5OfFile(L""), "");
}

}  // namespace

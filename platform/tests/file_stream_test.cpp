#include "platform/file_stream.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/tests/temp_folder.h"

namespace {

using testing_files::ReadFileBytes;
using testing_files::TempFolder;
using testing_files::WriteFileBytes;

std::string Thrown(uint32_t mode, const std::wstring& path) {
  try {
    HANDLE file = OpenFileHandle(mode, path);
    if (file && file != INVALID_HANDLE_VALUE) CloseHandle(file);
    return file ? "opened" : "null";
  } catch (const char* message) {
    return message;
  }
}

TEST(FileStream, OpenModesAndTheirFailures) {
  TempFolder folder;
  std::wstring existing = folder.Path() + L"there.bin";
  ASSERT_TRUE(WriteFileBytes(existing, "abc"));
  const struct {
    uint32_t mode;
    std::wstring path;
    std::string result;
  } cases[] = {
      {ModeCreate, L"", "filename can't be empty"},
      {ModeCreate, folder.Path() + L"missing\\new.bin", "CorvixFileCreate failed"},
      {ModeCreate, folder.Path() + L"new.bin", "opened"},
      {ModeRead | ShareDenyNone, existing, "opened"},
      {ModeRead | ShareDenyNone, folder.Path() + L"gone.bin", "CorvixFileOpen failed"},
      {ModeRead | ShareDenyNone, L"", "CorvixFileOpen failed"},
      {0x03, existing, "null"},
      {ModeRead | 0x50, existing, "null"},
      {ModeReadWrite | ShareExclusive, existing, "opened"},
      {ModeWrite | ShareDenyWrite, existing, "opened"},
  };
  for (const auto& c : cases) EXPECT_EQ(Thrown(c.mode, c.path), c.result) << std::hex << c.mode;
  EXPECT_EQ(ReadFileBytes(existing), "abc");  // opening never truncates
}

TEST(FileStream, SharingFollowsTheMode) {
  TempFolder folder;
  std::wstring path = folder.Path() + L"shared.bin";
  ASSERT_TRUE(WriteFileBytes(path, "abc"));
  CFileStream exclusive(OpenFileHandle(ModeRead | ShareExclusive, path));
  EXPECT_EQ(Thrown(ModeRead | ShareDenyNone, path), "CorvixFileOpen failed");
  exclusive.Close();
  CFileStream reader(OpenFileHandle(ModeRead | ShareDenyNone, path));
  EXPECT_EQ(Thrown(ModeRead | ShareDenyNone, path), "opened");
  EXPECT_EQ(Thrown(ModeCreate, path), "opened");  // others may write while it reads
}

TEST(FileStream, ReadWriteSeekAndEof) {
  TempFolder folder;
  std::wstring path = folder.Path() + L"stream.bin";
  CFileStream stream(OpenFileHandle(ModeCreate, path));
  EXPECT_EQ(stream.Write("hello world", 11), 11);
  EXPECT_EQ(stream.Write(nullptr, 4), 0);
  EXPECT_EQ(stream.Write("x", 0), 0);
  EXPECT_EQ(stream.Tell(), 11);
  EXPECT_EQ(stream.GetSize(), 11);
  EXPECT_EQ(stream.Tell(), 11);  // GetSize keeps the position

  char buffer[32] = {};
  EXPECT_EQ(stream.Read(buffer, 4), -1);  // at the end
  EXPECT_TRUE(stream.IsEof());
  EXPECT_EQ(stream.SeekTo(6), 6);
  EXPECT_FALSE(stream.IsEof());
  EXPECT_EQ(stream.Read(buffer, 32), 5);
  EXPECT_EQ(std::string(buffer, 5), "world");
  EXPECT_EQ(stream.Read(nullptr, 3), 0);
  EXPECT_EQ(stream.Read(buffer, 0), 0);
  EXPECT_EQ(stream.Read(buffer, 1), -1);
  EXPECT_TRUE(stream.IsEof());
  EXPECT_EQ(stream.Write("!", 1), 1);  // a write clears it
  EXPECT_FALSE(stream.IsEof());

  EXPECT_EQ(stream.Seek(-3, 2), 9);
  EXPECT_EQ(stream.Seek(1, 1), 10);
  EXPECT_EQ(stream.Seek(-1, 0), -1);
  EXPECT_EQ(stream.Seek(0, 7), -1);  // no such origin

  stream.SeekTo(9);
  EXPECT_TRUE(stream.SetSize(4));
  EXPECT_EQ(stream.Tell(), 0);  // the start, not the new end
  EXPECT_EQ(stream.GetSize(), 4);
  EXPECT_TRUE(stream.SetSize(1 << 20));
  EXPECT_EQ(stream.Tell(), 0);
  EXPECT_EQ(stream.GetSize(), 1 << 20);
  EXPECT_FALSE(stream.SetSize(-5));
  stream.Close();
  EXPECT_EQ(ReadFileBytes(path).substr(0, 4), "hell");
}

TEST(FileStream, ClosedStreamsReportFailure) {
  CFileStream none(INVALID_HANDLE_VALUE);
  char buffer[4];
  EXPECT_EQ(none.Tell(), -1);
  EXPECT_EQ(none.GetSize(), -1);
  EXPECT_FALSE(none.SetSize(0));
  EXPECT_EQ(none.Read(buffer, 4), 0);
  EXPECT_FALSE(none.IsEof());
  EXPECT_EQ(none.Write("ab", 2), -1);
  int64_t a, b, c;
  EXPECT_FALSE(none.GetTimes(a, b, c));
  none.Close();
  none.Close();

  ICorvixStream* heap = new CFileStream(nullptr);
  heap->Release();
}

TEST(FileStream, TimesInUnixSeconds) {
  TempFolder folder;
  std::wstring path = folder.Path() + L"timed.bin";
  CFileStream stream(OpenFileHandle(ModeCreate, path));
  uint64_t ticks = uint64_t(1700000093) * 10000000 + 116444736000000000ULL;
  FILETIME written = {DWORD(ticks), DWORD(ticks >> 32)};
  HANDLE writer = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
  ASSERT_TRUE(SetFileTime(writer, nullptr, &written, &written));
  CloseHandle(writer);
  int64_t creation = 0, access = 0, write = 0;
  ASSERT_TRUE(stream.GetTimes(creation, access, write));
  EXPECT_EQ(write, 1700000093);
  EXPECT_EQ(access, 1700000093);
  EXPECT_GT(creation, 0);
  EXPECT_EQ(FileTimeToUnixSeconds(FILETIME{0xD53E8000, 0x019DB1DE}), 0);  // 1970-01-01
}

}  // namespace

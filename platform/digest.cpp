#include "platform/digest.h"

#include <cstdio>
#include <memory>

#include "common/md5.h"
#include "platform/file_stream.h"

std::string Md5OfBuffer(const void* data, int32_t length) {
  if (!data || length <= 0) return std::string();
  Md5 md5;
  md5.Update(data, size_t(length));
  uint8_t digest[16];
  md5.Final(digest);
  return Md5Hex(digest);
}

namespace {

constexpr int32_t kStreamRead = 1 << 20;

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};

}  // namespace

std::string Md5OfFile(const std::wstring& path) {
  // The digest takes 4096 bytes at a time; the stream under it reads the file
  // in large pieces, since each system read has a fixed cost. The buffer
  // outlives the stream.
  std::unique_ptr<char[]> buffer(new char[kStreamRead]);
  std::unique_ptr<FILE, FileCloser> file(_wfopen(path.c_str(), L"rb"));
  if (!file) return std::string();
  setvbuf(file.get(), buffer.get(), _IOFBF, kStreamRead);
  // Measured in 64 bits so that a file of 4 GiB and more is refused rather than
  // hashed by the low bits of its size.
  if (_fseeki64(file.get(), 0, SEEK_END) != 0) return std::string();
  int64_t size = _ftelli64(file.get());
  if (size <= 0 || size > INT32_MAX) return std::string();
  if (_fseeki64(file.get(), 0, SEEK_SET) != 0) return std::string();
  Md5 md5;
  char block[4096];
  for (int64_t consumed = 0; consumed < size;) {
    size_t want = size_t(size - consumed < int64_t(sizeof block) ? size - consumed : int64_t(sizeof block));
    // A short read means the file changed under us; a digest of stale bytes
    // would be a wrong answer, so there is none.
    if (fread(block, 1, want, file.get()) != want) return std::string();
    md5.Update(block, want);
    consumed += int64_t(want);
  }
  uint8_t digest[16];
  md5.Final(digest);
  return Md5Hex(digest);
}

std::string Md5OfStream(ICorvixStream& stream) {
  int64_t size = stream.GetSize();
  if (size <= 0 || size > INT32_MAX || stream.SeekTo(0) != 0) return std::string();
  Md5 md5;
  std::unique_ptr<char[]> block(new char[kStreamRead]);
  for (int64_t consumed = 0; consumed < size;) {
    int32_t want = int32_t(size - consumed < kStreamRead ? size - consumed : kStreamRead);
    if (stream.Read(block.get(), want) != want) return std::string();
    md5.Update(block.get(), size_t(want));
    consumed += want;
  }
  uint8_t digest[16];
  md5.Final(digest);
  return Md5Hex(digest);
}

#include "platform/file_stream.h"

namespace {

bool IsOpen(HANDLE file) { return file && file != INVALID_HANDLE_VALUE; }

const DWORD kAccess[] = {GENERIC_READ, GENERIC_WRITE, GENERIC_READ | GENERIC_WRITE};
// Share nibble 0 and 1 both mean exclusive.
const DWORD kShare[] = {0, 0, FILE_SHARE_READ, FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE};

}  // namespace

int64_t CFileStream::Tell() { return Seek(0, 1); }

int64_t CFileStream::SeekTo(int64_t position) { return Seek(position, 0); }

int64_t CFileStream::GetSize() {
  int64_t current = Seek(0, 1);
  if (current == -1) return -1;
  int64_t end = Seek(0, 2);
  Seek(current, 0);
  return end;
}

bool CFileStream::SetSize(int64_t size) {
  if (Seek(size, 0) == -1) return false;
  bool cut = SetEndOfFile(file_) != FALSE;
  Seek(0, 0);
  eof_ = false;
  return cut;
}

int32_t CFileStream::Read(void* buffer, int32_t count) {
  if (!buffer || count <= 0) return 0;
  DWORD got = 0;
  if (ReadFile(file_, buffer, DWORD(count), &got, nullptr)) {
    if (got > 0) return int32_t(got);
    eof_ = true;
    return -1;
  }
  if (GetLastError() == ERROR_HANDLE_EOF) {
    eof_ = true;
    return -1;
  }
  return 0;
}

int32_t CFileStream::Write(const void* buffer, int32_t count) {
  eof_ = false;
  if (!buffer || count <= 0) return 0;
  DWORD written = 0;
  if (!WriteFile(file_, buffer, DWORD(count), &written, nullptr)) return -1;
  return int32_t(written);
}

int64_t CFileStream::Seek(int64_t distance, int32_t origin) {
  eof_ = false;
  LARGE_INTEGER move, position;
  move.QuadPart = distance;
  if (!SetFilePointerEx(file_, move, &position, DWORD(origin))) return -1;
  return position.QuadPart;
}

CFileStream::~CFileStream() { Close(); }

bool CFileStream::GetTimes(int64_t& creation, int64_t& lastAccess, int64_t& lastWrite) {
  FILETIME created, accessed, written;
  if (!GetFileTime(file_, &created, &accessed, &written)) return false;
  creation = FileTimeToUnixSeconds(created);
  lastAccess = FileTimeToUnixSeconds(accessed);
  lastWrite = FileTimeToUnixSeconds(written);
  return true;
}

void CFileStream::Close() {
  if (IsOpen(file_)) CloseHandle(file_);
  file_ = INVALID_HANDLE_VALUE;
}

HANDLE OpenFileHandle(uint32_t mode, const std::wstring& path) {
  if ((mode & 0xFFFF) == ModeCreate) {
    if (path.empty()) throw "filename can't be empty";
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) throw "CorvixFileCreate failed";
    return file;
  }
  uint32_t access = mode & 0x3;
  uint32_t share = (mode >> 4) & 0xF;
  if (access == 3 || share > 4) return nullptr;
  HANDLE file = path.empty() ? INVALID_HANDLE_VALUE
                             : CreateFileW(path.c_str(), kAccess[access], kShare[share], nullptr, OPEN_EXISTING,
                                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) throw "CorvixFileOpen failed";
  return file;
}

int64_t FileTimeToUnixSeconds(const FILETIME& time) {
  int64_t ticks = int64_t(uint64_t(time.dwHighDateTime) << 32 | time.dwLowDateTime);
  return (ticks - 116444736000000000LL) / 10000000;
}

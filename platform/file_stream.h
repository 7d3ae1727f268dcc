#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

// A byte stream over an open file. Positions are absolute byte offsets; -1 is
// the failure value of every position and size. Nothing here throws.
class ICorvixStream {
 public:
  virtual int64_t Tell() = 0;
  virtual int64_t SeekTo(int64_t position) = 0;
  // The end position; the current position is kept.
  virtual int64_t GetSize() = 0;
  // Cuts or extends the file at size, then leaves the position at 0.
  virtual bool SetSize(int64_t size) = 0;
  // The count read; -1 at the end of the file (and IsEof becomes true); 0 for
  // no buffer, no count or any other failure.
  virtual int32_t Read(void* buffer, int32_t count) = 0;
  // The count written, 0 for no buffer or no count, -1 on failure.
  virtual int32_t Write(const void* buffer, int32_t count) = 0;
  // origin: 0 from the start, 1 from the current position, 2 from the end.
  virtual int64_t Seek(int64_t distance, int32_t origin) = 0;
  virtual bool IsEof() = 0;
  // Deletes a stream made with new.
  virtual void Release() = 0;
  virtual ~ICorvixStream() = default;
  // Creation, last-access and last-write times in seconds since 1970.
  virtual bool GetTimes(int64_t& creation, int64_t& lastAccess, int64_t& lastWrite) = 0;
};

class CFileStream : public ICorvixStream {
 public:
  // Takes over a handle from OpenFileHandle (null or INVALID_HANDLE_VALUE for
  // none).
  explicit CFileStream(HANDLE file) : file_(file) {}
  CFileStream(const CFileStream&) = delete;
  CFileStream& operator=(const CFileStream&) = delete;

  int64_t Tell() override;
  int64_t SeekTo(int64_t position) override;
  int64_t GetSize() override;
  bool SetSize(int64_t size) override;
  int32_t Read(void* buffer, int32_t count) override;
  int32_t Write(const void* buffer, int32_t count) override;
  int64_t Seek(int64_t distance, int32_t origin) override;
  bool IsEof() override { return eof_; }
  void Release() override { delete this; }
  ~CFileStream() override;
  bool GetTimes(int64_t& creation, int64_t& lastAccess, int64_t& lastWrite) override;

  void Close();

 private:
  HANDLE file_;
  bool eof_ = false;
};

// Open modes: the access in the low two bits, the sharing in bits 4 to 7.
enum FileOpenMode : uint32_t {
  ModeRead = 0x00,
  ModeWrite = 0x01,
  ModeReadWrite = 0x02,
  ShareExclusive = 0x10,
  ShareDenyWrite = 0x20,
  ShareDenyRead = 0x30,
  ShareDenyNone = 0x40,
  // Creates or truncates for reading and writing, others may read and write.
  ModeCreate = 0xFFFF,
};

// ModeCreate: throws "filename can't be empty" for an empty path and
// "CorvixFileCreate failed" when the file cannot be created. Other modes: a
// null handle (nothing thrown) for access bits 3 or a share nibble above 4;
// throws "CorvixFileOpen failed" when the existing file cannot be opened.
HANDLE OpenFileHandle(uint32_t mode, const std::wstring& path);

// 100-ns units since 1601 as whole seconds since 1970.
int64_t FileTimeToUnixSeconds(const FILETIME& time);

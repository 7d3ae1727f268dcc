#pragma once
#include <cstdint>
#include <string>

class ICorvixStream;

// MD5 digests as 32 lower-case hex characters; "" when none can be computed.

// "" for null data or a length of 0 or less.
std::string Md5OfBuffer(const void* data, int32_t length);
// "" when the file cannot be opened or read, is empty, or is 2 GiB or larger.
// Reads 4096 bytes at a time.
std::string Md5OfFile(const std::wstring& path);
// The whole stream from offset 0, 1 MiB at a time; the same limits as
// Md5OfFile. The position is left at the end.
std::string Md5OfStream(ICorvixStream& stream);

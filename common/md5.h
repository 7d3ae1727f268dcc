#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

// MD5 as RFC 1321 defines it: init, any number of updates, final.
class Md5 {
 public:
  Md5();
  void Update(const void* data, size_t size);
  // Ends the digest and returns the 16 bytes; the object must not be updated
  // afterwards.
  void Final(uint8_t digest[16]);

 private:
  // Runs the compression over count whole 64-byte blocks.
  void Transform(const uint8_t* blocks, size_t count);

  uint32_t state_[4];
  uint64_t bytes_ = 0;
  uint8_t buffer_[64];
};

// The 16 digest bytes as 32 lower-case hex characters.
std::string Md5Hex(const uint8_t digest[16]);

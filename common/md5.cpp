#include "common/md5.h"

#include <cstdio>
#include <cstring>

namespace {

uint32_t RotateLeft(uint32_t x, int n) { return (x << n) | (x >> (32 - n)); }

// The four rounds' mixing functions, in the forms with the fewest operations.
inline uint32_t F(uint32_t x, uint32_t y, uint32_t z) { return z ^ (x & (y ^ z)); }
inline uint32_t G(uint32_t x, uint32_t y, uint32_t z) { return y ^ (z & (x ^ y)); }
inline uint32_t H(uint32_t x, uint32_t y, uint32_t z) { return x ^ y ^ z; }
inline uint32_t I(uint32_t x, uint32_t y, uint32_t z) { return y ^ (x | ~z); }

template <uint32_t (*Mix)(uint32_t, uint32_t, uint32_t)>
inline void Step(uint32_t& a, uint32_t b, uint32_t c, uint32_t d, uint32_t word, uint32_t sine, int shift) {
  a = b + RotateLeft(a + Mix(b, c, d) + word + sine, shift);
}

// Little-endian word i of a block, whatever the block's alignment.
inline uint32_t Word(const uint8_t* block, int i) {
  const uint8_t* p = block + i * 4;
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

}  // namespace

Md5::Md5() : state_{0x67452301, 0xefcdab89, 0x98badcfe, 0x10325476}, buffer_{} {}

// The 64 steps written out, so that every word index, constant and shift is
// known at compile time and the state stays in registers from block to block.
void Md5::Transform(const uint8_t* blocks, size_t count) {
  uint32_t a = state_[0], b = state_[1], c = state_[2], d = state_[3];
  for (; count; --count, blocks += 64) {
    uint32_t m[16];
    for (int i = 0; i < 16; ++i) m[i] = Word(blocks, i);
    const uint32_t a0 = a, b0 = b, c0 = c, d0 = d;

    Step<F>(a, b, c, d, m[0], 0xd76aa478, 7);
    Step<F>(d, a, b, c, m[1], 0xe8c7b756, 12);
    Step<F>(c, d, a, b, m[2], 0x242070db, 17);
    Step<F>(b, c, d, a, m[3], 0xc1bdceee, 22);
    Step<F>(a, b, c, d, m[4], 0xf57c0faf, 7);
    Step<F>(d, a, b, c, m[5], 0x4787c62a, 12);
    Step<F>(c, d, a, b, m[6], 0xa8304613, 17);
    Step<F>(b, c, d, a, m[7], 0xfd469501, 22);
    Step<F>(a, b, c, d, m[8], 0x698098d8, 7);
    Step<F>(d, a, b, c, m[9], 0x8b44f7af, 12);
    Step<F>(c, d, a, b, m[10], 0xffff5bb1, 17);
    Step<F>(b, c, d, a, m[11], 0x895cd7be, 22);
    Step<F>(a, b, c, d, m[12], 0x6b901122, 7);
    Step<F>(d, a, b, c, m[13], 0xfd987193, 12);
    Step<F>(c, d, a, b, m[14], 0xa679438e, 17);
    Step<F>(b, c, d, a, m[15], 0x49b40821, 22);

    Step<G>(a, b, c, d, m[1], 0xf61e2562, 5);
    Step<G>(d, a, b, c, m[6], 0xc040b340, 9);
    Step<G>(c, d, a, b, m[11], 0x265e5a51, 14);
    Step<G>(b, c, d, a, m[0], 0xe9b6c7aa, 20);
    Step<G>(a, b, c, d, m[5], 0xd62f105d, 5);
    Step<G>(d, a, b, c, m[10], 0x02441453, 9);
    Step<G>(c, d, a, b, m[15], 0xd8a1e681, 14);
    Step<G>(b, c, d, a, m[4], 0xe7d3fbc8, 20);
    Step<G>(a, b, c, d, m[9], 0x21e1cde6, 5);
    Step<G>(d, a, b, c, m[14], 0xc33707d6, 9);
    Step<G>(c, d, a, b, m[3], 0xf4d50d87, 14);
    Step<G>(b, c, d, a, m[8], 0x455a14ed, 20);
    Step<G>(a, b, c, d, m[13], 0xa9e3e905, 5);
    Step<G>(d, a, b, c, m[2], 0xfcefa3f8, 9);
    Step<G>(c, d, a, b, m[7], 0x676f02d9, 14);
    Step<G>(b, c, d, a, m[12], 0x8d2a4c8a, 20);

    Step<H>(a, b, c, d, m[5], 0xfffa3942, 4);
    Step<H>(d, a, b, c, m[8], 0x8771f681, 11);
    Step<H>(c, d, a, b, m[11], 0x6d9d6122, 16);
    Step<H>(b, c, d, a, m[14], 0xfde5380c, 23);
    Step<H>(a, b, c, d, m[1], 0xa4beea44, 4);
    Step<H>(d, a, b, c, m[4], 0x4bdecfa9, 11);
    Step<H>(c, d, a, b, m[7], 0xf6bb4b60, 16);
    Step<H>(b, c, d, a, m[10], 0xbebfbc70, 23);
    Step<H>(a, b, c, d, m[13], 0x289b7ec6, 4);
    Step<H>(d, a, b, c, m[0], 0xeaa127fa, 11);
    Step<H>(c, d, a, b, m[3], 0xd4ef3085, 16);
    Step<H>(b, c, d, a, m[6], 0x04881d05, 23);
    Step<H>(a, b, c, d, m[9], 0xd9d4d039, 4);
    Step<H>(d, a, b, c, m[12], 0xe6db99e5, 11);
    Step<H>(c, d, a, b, m[15], 0x1fa27cf8, 16);
    Step<H>(b, c, d, a, m[2], 0xc4ac5665, 23);

    Step<I>(a, b, c, d, m[0], 0xf4292244, 6);
    Step<I>(d, a, b, c, m[7], 0x432aff97, 10);
    Step<I>(c, d, a, b, m[14], 0xab9423a7, 15);
    Step<I>(b, c, d, a, m[5], 0xfc93a039, 21);
    Step<I>(a, b, c, d, m[12], 0x655b59c3, 6);
    Step<I>(d, a, b, c, m[3], 0x8f0ccc92, 10);
    Step<I>(c, d, a, b, m[10], 0xffeff47d, 15);
    Step<I>(b, c, d, a, m[1], 0x85845dd1, 21);
    Step<I>(a, b, c, d, m[8], 0x6fa87e4f, 6);
    Step<I>(d, a, b, c, m[15], 0xfe2ce6e0, 10);
    Step<I>(c, d, a, b, m[6], 0xa3014314, 15);
    Step<I>(b, c, d, a, m[13], 0x4e0811a1, 21);
    Step<I>(a, b, c, d, m[4], 0xf7537e82, 6);
    Step<I>(d, a, b, c, m[11], 0xbd3af235, 10);
    Step<I>(c, d, a, b, m[2], 0x2ad7d2bb, 15);
    Step<I>(b, c, d, a, m[9], 0xeb86d391, 21);

    a += a0;
    b += b0;
    c += c0;
    d += d0;
  }
  state_[0] = a;
  state_[1] = b;
  state_[2] = c;
  state_[3] = d;
}

void Md5::Update(const void* data, size_t size) {
  const uint8_t* in = static_cast<const uint8_t*>(data);
  size_t used = bytes_ % 64;
  bytes_ += size;
  if (used) {
    size_t take = 64 - used < size ? 64 - used : size;
    memcpy(buffer_ + used, in, take);
    in += take;
    size -= take;
    if (used + take < 64) return;
    Transform(buffer_, 1);
  }
  Transform(in, size / 64);
  memcpy(buffer_, in + size / 64 * 64, size % 64);
}

void Md5::Final(uint8_t digest[16]) {
  uint64_t bits = bytes_ * 8;
  static const uint8_t kPad[64] = {0x80};
  size_t used = bytes_ % 64;
  Update(kPad, used < 56 ? 56 - used : 120 - used);
  uint8_t length[8];
  for (int i = 0; i < 8; ++i) length[i] = uint8_t(bits >> (8 * i));
  Update(length, 8);
  for (int i = 0; i < 16; ++i) digest[i] = uint8_t(state_[i / 4] >> (8 * (i % 4)));
}

std::string Md5Hex(const uint8_t digest[16]) {
  char text[33];
  for (int i = 0; i < 16; ++i) snprintf(text + i * 2, 3, "%02x", digest[i]);
  return std::string(text, 32);
}

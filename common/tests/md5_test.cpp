#include "common/md5.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

std::string Digest(const std::string& data, size_t chunk) {
  Md5 md5;
  for (size_t at = 0; at < data.size(); at += chunk) md5.Update(data.data() + at, std::min(chunk, data.size() - at));
  uint8_t out[16];
  md5.Final(out);
  return Md5Hex(out);
}

// The RFC 1321 test suite, fed whole and in odd-sized pieces so that the
// buffering across block boundaries is exercised.
TEST(Md5, Rfc1321Suite) {
  const struct {
    std::string input;
    const char* digest;
  } cases[] = {
      {"", "d41d8cd98f00b204e9800998ecf8427e"},
      {"a", "0cc175b9c0f1b6a831c399e269772661"},
      {"abc", "900150983cd24fb0d6963f7d28e17f72"},
      {"message digest", "f96b697d7cb7938d525a2f31aaf161d0"},
      {"abcdefghijklmnopqrstuvwxyz", "c3fcd3d76192e4007dfb496cca67e13b"},
      {"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789", "d174ab98d277d9f5a5611c2c9f419d9f"},
      {"12345678901234567890123456789012345678901234567890123456789012345678901234567890",
       "57edf4a22be3c955ac49da2e2107b67a"},
  };
  for (const auto& c : cases) {
    for (size_t chunk : {size_t(1), size_t(7), size_t(64), size_t(1000)}) {
      if (c.input.empty() && chunk != 1000) continue;
      EXPECT_EQ(Digest(c.input, chunk), c.digest) << '"' << c.input << "\" in pieces of " << chunk;
    }
  }
}

TEST(Md5, LengthsAroundThePaddingBoundary) {
  // 55, 56 and 64 bytes are where the length field does or does not fit.
  EXPECT_EQ(Digest(std::string(55, 'x'), 1000), "04364420e25c512fd958a70738aa8f72");
  EXPECT_EQ(Digest(std::string(56, 'x'), 1000), "668a72d5ba17f08e62dabcafad6db14b");
  EXPECT_EQ(Digest(std::string(64, 'x'), 13), "c1bb4f81d892b2d57947682aeb252456");
}

}  // namespace

#include <gtest/gtest.h>

#include "sdk/seal.h"

namespace {

TEST(Seal, RoundTripAndEveryDamageFails) {
  auto sealing = SealingKey::FromBase64(SERVICE_PUBLIC_KEY);
  auto opening = OpeningKey::FromBase64(SERVICE_PRIVATE_KEY);
  auto foreign = OpeningKey::FromBase64(CLIENT_PRIVATE_KEY);
  ASSERT_TRUE(sealing && opening && foreign);
  const std::string plain = "{\"appId\":\"57203816\",\"text\":\"\xe5\xae\x89\xe8\xa3\x85\"}";
  const std::string sealed = sealing->Seal(plain);
  ASSERT_FALSE(sealed.empty());
  EXPECT_NE(sealed, sealing->Seal(plain)) << "every seal takes a fresh key and nonce";

  std::string out;
  ASSERT_TRUE(opening->Open(sealed, &out));
  EXPECT_EQ(out, plain);
  ASSERT_TRUE(opening->Open(Base64Encode(sealed), &out)) << "Base64 text of a blob";
  EXPECT_EQ(out, plain);

  struct Case {
    const char* name;
    std::string bytes;
  } cases[] = {{"empty", ""},
               {"version byte", "\x02" + sealed.substr(1)},
               {"wrapped key byte", sealed.substr(0, 40) + char(sealed[40] ^ 1) + sealed.substr(41)},
               {"last tag byte", sealed.substr(0, sealed.size() - 1) + char(sealed.back() ^ 0x80)},
               {"cut", sealed.substr(0, sealed.size() - 5)},
               {"header only", sealed.substr(0, 257)},
               {"not Base64", "%%%%"},
               {"plain text", plain}};
  for (const Case& c : cases) EXPECT_FALSE(opening->Open(c.bytes, &out)) << c.name;
  EXPECT_FALSE(foreign->Open(sealed, &out)) << "sealed to another key";
}

TEST(Seal, UnusableKeysAreRefused) {
  for (const char* text : {"", "AAAA", "not base64 at all", CLIENT_PRIVATE_KEY})
    EXPECT_FALSE(SealingKey::FromBase64(text)) << text;
  for (const char* text : {"", "AAAA", SERVICE_PUBLIC_KEY}) EXPECT_FALSE(OpeningKey::FromBase64(text)) << text;
}

}  // namespace

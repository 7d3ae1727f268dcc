#include "platform/web_address.h"

#include <gtest/gtest.h>

#include "platform/text.h"

namespace {

TEST(WebAddress, OnlyPlainHttpAddressesPass) {
  const struct {
    const wchar_t* address;
    bool safe;
  } cases[] = {
      {L"https://www.velora.test/", true},
      {L"http://gw.velora.test:8080/welcome?a=1&b=%20x#top", true},
      {L"HTTPS://WWW.VELORA.TEST", true},
      {L"https://www.velora.test/欢迎", true},
      {L"https://user@www.velora.test/", true},
      {L"", false},
      {L"https://", false},
      {L"https:///path", false},
      {L"https://:80/", false},
      {L"http:/www.velora.test/", false},
      {L"www.velora.test/", false},
      {L"ftp://www.velora.test/", false},
      {L"file:///C:/windows/system32/calc.exe", false},
      {L"C:\\windows\\system32\\calc.exe", false},
      {L"javascript:alert(1)", false},
      {L"https://www.velora.test/ --load-extension=x", false},  // a blank, then a switch
      {L"https://www.velora.test/\t", false},
      {L"https://www.velora.test/\x3000x", false},  // an ideographic space
      {L"https://www.velora.test/\xA0x", false},
      {L"https://www.velora.test/\"x", false},
      {L"https://www.velora.test/'x", false},
      {L"https://www.velora.test/x\\", false},  // would escape the closing quote
      {L"https://www.velora.test/\nx", false},
      {L"https://www.velora.test/\x7F", false},
      {L"https://www.velora.test/\x85", false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsSafeWebAddress(c.address), c.safe) << WideToUtf8(c.address);
}

}  // namespace

#include "platform/text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Pieces = std::vector<std::string>;
using WPieces = std::vector<std::wstring>;

TEST(Conversions, Utf8AndWide) {
  EXPECT_EQ(WideToUtf8(L""), "");
  EXPECT_EQ(WideToUtf8(L"\u5b89\u88c5"), "\xe5\xae\x89\xe8\xa3\x85");  // 安装: 6 bytes
  EXPECT_EQ(Utf8ToWide("\xe5\xae\x89\xe8\xa3\x85"), L"\u5b89\u88c5");
  EXPECT_EQ(Utf8ToWide(""), L"");
  EXPECT_EQ(WideToUtf8(L"a\0b"), "a");  // a terminator ends the text
  // Round trip of a character outside the basic plane (a surrogate pair).
  EXPECT_EQ(Utf8ToWide(WideToUtf8(L"x\U0001F600y")), L"x\U0001F600y");
}

TEST(Conversions, AnsiRoundTripOfAscii) {
  EXPECT_EQ(AnsiToWide("setup_ab12.exe"), L"setup_ab12.exe");
  EXPECT_EQ(WideToAnsi(L"C:\\Velora"), "C:\\Velora");
  EXPECT_EQ(AnsiToWide(""), L"");
}

TEST(Numbers, Int64Text) {
  const struct {
    int64_t value;
    const char* text;
  } cases[] = {{0, "0"},
               {-1, "-1"},
               {1700000000, "1700000000"},
               {INT64_MAX, "9223372036854775807"},
               {INT64_MIN, "-9223372036854775808"}};
  for (const auto& c : cases) {
    EXPECT_EQ(Int64ToString(c.value), c.text);
    EXPECT_EQ(StringToInt64(c.text), c.value);
  }
}

TEST(Numbers, ScanLikeTheCRuntime) {
  const struct {
    const char* text;
    int64_t value;
  } cases[] = {{"12abc", 12}, {"abc", 0}, {"", 0}, {"  42", 42}, {"-7x", -7}, {"3.97", 3}, {"+5", 5}};
  for (const auto& c : cases) EXPECT_EQ(StringToInt64(c.text), c.value) << c.text;
}

TEST(Numbers, CurrentUnixTimeIsNow) {
  int64_t now = CurrentUnixTime();
  EXPECT_GT(now, 1700000000);  // after 2023
  EXPECT_LT(now, 4102444800);  // before 2100
}

TEST(Strings, HttpStatusCodeText) {
  const struct {
    const char* line;
    const char* code;
  } cases[] = {{"HTTP/1.1 200 Connection established", "200"},
               {"HTTP/1.1 200", "200"},
               {"HTTP/1.1 20", ""},
               {"HTTP/1.0 407 Proxy Authentication Required", "407"},
               {"", ""}};
  for (const auto& c : cases) EXPECT_EQ(HttpStatusCodeText(c.line), c.code) << c.line;
  EXPECT_EQ(HttpStatusCodeText(nullptr), "");
}

TEST(Strings, ToUpperAsciiLeavesOtherBytes) {
  EXPECT_EQ(ToUpperAscii("pci\\ven_8086&dev_100e"), "PCI\\VEN_8086&DEV_100E");
  EXPECT_EQ(ToUpperAscii("\xe5\xae\x89z9-"), "\xe5\xae\x89Z9-");
}

TEST(Strings, SplitByAny) {
  const struct {
    const char* text;
    const char* delimiters;
    Pieces pieces;
  } cases[] = {
      {"C:\\a//b\\", "\\/", {"C:", "a", "b"}},
      {"3.5.0.2", ".", {"3", "5", "0", "2"}},
      {"..a..", ".", {"a"}},
      {"", ".", {}},
      {"...", ".", {}},
      {"a.b", "", {"a.b"}},
      {"http=h:1;https=h:2", ";=", {"http", "h:1", "https", "h:2"}},
  };
  for (const auto& c : cases) EXPECT_EQ(SplitByAny(std::string(c.text), c.delimiters), c.pieces) << c.text;
  EXPECT_EQ(SplitByAny(std::wstring(L"C:\\Velora\\\u6a21\u677f"), L"\\"), (WPieces{L"C:", L"Velora", L"\u6a21\u677f"}));
  EXPECT_EQ(SplitByAny(std::wstring(L""), L""), WPieces{});
}

TEST(Strings, Trim) {
  EXPECT_EQ(TrimLeftAny(std::string("  \tx y "), " \t"), "x y ");
  EXPECT_EQ(TrimLeftAny(std::wstring(L"\\\\srv"), L"\\"), L"srv");
  EXPECT_EQ(TrimLeftAny(std::string("xxx"), "x"), "");
  EXPECT_EQ(TrimRightAny(L"D:\\Velora\\/", L"\\/"), L"D:\\Velora");
  EXPECT_EQ(TrimRightAny(L"\\\\", L"\\"), L"");
  EXPECT_EQ(TrimRightAny(L"", L"\\"), L"");
  EXPECT_EQ(TrimRightAny(L"abc", L""), L"abc");
}

TEST(Strings, FindText) {
  const struct {
    const char* haystack;
    const char* needle;
    size_t index;
  } cases[] = {{"aab", "ab", 1},           {"aab", "", kNotFound}, {"", "a", kNotFound},
               {"abc", "abcd", kNotFound}, {"abc", "abc", 0},      {"aBc", "bc", kNotFound}};
  for (const auto& c : cases) EXPECT_EQ(FindText(std::string(c.haystack), c.needle), c.index) << c.haystack;
  EXPECT_EQ(FindText(std::wstring(L"\u5b89\u88c5\u5668"), L"\u5668"), 2u);
  EXPECT_EQ(FindText(std::wstring(L""), L""), kNotFound);
}

TEST(Strings, RemoveAllOccurrences) {
  const struct {
    const wchar_t* pattern;
    const wchar_t* text;
    const wchar_t* result;
  } cases[] = {
      {L"ab", L"xabyab", L"xy"}, {L"ab", L"aabb", L"ab"},    // "ab" formed at the resumption point's left is not found
                                                             // again
      {L"ab", L"abab", L""},     {L"aba", L"ababa", L"ba"},  // erase at 0 leaves "ba"
      {L"", L"text", L"text"},   {L"long", L"lon", L"lon"}, {L"x", L"", L""}, {L"xy", L"yxyx", L"yx"},
  };
  for (const auto& c : cases) EXPECT_EQ(RemoveAllOccurrences(c.pattern, c.text), c.result) << c.text;
  EXPECT_EQ(RemoveAllOccurrences(nullptr, L"text"), L"");
  EXPECT_EQ(RemoveAllOccurrences(L"x", nullptr), L"");
}

}  // namespace

#include "platform/text.h"

#include <windows.h>

#include <cstdio>
#include <ctime>

namespace {

std::wstring ToWide(UINT codePage, const std::string& text) {
  int length = MultiByteToWideChar(codePage, 0, text.c_str(), -1, nullptr, 0);
  if (length <= 0) return std::wstring();
  std::wstring buffer(size_t(length) + 1, L'\0');
  if (MultiByteToWideChar(codePage, 0, text.c_str(), -1, &buffer[0], length + 1) <= 0) return std::wstring();
  return std::wstring(buffer.c_str());
}

std::string ToNarrow(UINT codePage, const std::wstring& text) {
  int length = WideCharToMultiByte(codePage, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  if (length <= 0) return std::string();
  std::string buffer(size_t(length) + 1, '\0');
  if (WideCharToMultiByte(codePage, 0, text.c_str(), -1, &buffer[0], length + 1, nullptr, nullptr) <= 0)
    return std::string();
  return std::string(buffer.c_str());
}

template <typename S>
std::vector<S> Split(const S& text, const S& delimiters) {
  std::vector<S> pieces;
  size_t at = 0;
  while (at < text.size()) {
    size_t begin = text.find_first_not_of(delimiters, at);
    if (begin == S::npos) break;
    size_t end = delimiters.empty() ? S::npos : text.find_first_of(delimiters, begin);
    if (end == S::npos) end = text.size();
    pieces.push_back(text.substr(begin, end - begin));
    at = end;
  }
  return pieces;
}

template <typename S>
S TrimLeft(const S& text, const S& set) {
  size_t begin = text.find_first_not_of(set);
  return begin == S::npos ? S() : text.substr(begin);
}

template <typename S>
size_t Find(const S& haystack, const S& needle) {
  if (haystack.empty() || needle.empty()) return kNotFound;
  size_t at = haystack.find(needle);
  return at == S::npos ? kNotFound : at;
}

}  // namespace

std::wstring AnsiToWide(const std::string& text) { return ToWide(CP_ACP, text); }
std::string WideToAnsi(const std::wstring& text) { return ToNarrow(CP_ACP, text); }
std::string WideToUtf8(const std::wstring& text) { return ToNarrow(CP_UTF8, text); }
std::wstring Utf8ToWide(const std::string& text) { return ToWide(CP_UTF8, text); }

std::string Int64ToString(int64_t value) {
  char text[32];
  snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
  return text;
}

int64_t StringToInt64(const std::string& text) {
  long long value = 0;
  if (sscanf(text.c_str(), "%lld", &value) != 1) return 0;
  return value;
}

int64_t CurrentUnixTime() { return static_cast<int64_t>(_time64(nullptr)); }

std::string HttpStatusCodeText(const char* statusLine) {
  if (!statusLine) return std::string();
  std::string line(statusLine);
  if (line.size() <= 11) return std::string();
  return line.substr(9, 3);
}

std::string ToUpperAscii(const std::string& text) {
  std::string upper(text);
  for (char& c : upper)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return upper;
}

std::vector<std::string> SplitByAny(const std::string& text, const std::string& delimiters) {
  return Split(text, delimiters);
}
std::vector<std::wstring> SplitByAny(const std::wstring& text, const std::wstring& delimiters) {
  return Split(text, delimiters);
}

std::string TrimLeftAny(const std::string& text, const std::string& set) { return TrimLeft(text, set); }
std::wstring TrimLeftAny(const std::wstring& text, const std::wstring& set) { return TrimLeft(text, set); }

std::wstring TrimRightAny(const std::wstring& text, const std::wstring& set) {
  size_t last = text.find_last_not_of(set);
  return last == std::wstring::npos ? std::wstring() : text.substr(0, last + 1);
}

size_t FindText(const std::string& haystack, const std::string& needle) { return Find(haystack, needle); }
size_t FindText(const std::wstring& haystack, const std::wstring& needle) { return Find(haystack, needle); }

std::wstring RemoveAllOccurrences(const wchar_t* pattern, const wchar_t* text) {
  if (!pattern || !text || !*text) return std::wstring();
  std::wstring result(text);
  size_t length = wcslen(pattern);
  if (length == 0 || result.size() < length) return result;
  for (size_t at = result.find(pattern); at != std::wstring::npos; at = result.find(pattern, at))
    result.erase(at, length);
  return result;
}

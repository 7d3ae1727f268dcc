#pragma once
#include <cstdint>
#include <string>
#include <vector>

// Text, number and string helpers. None of them throws: a failure gives the
// empty result (or the sentinel named below).

// Code-page conversions; text after an embedded terminator is dropped.
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
std::string WideToUtf8(const std::wstring& text);
std::wstring Utf8ToWide(const std::string& text);

// "%lld" decimal text.
std::string Int64ToString(int64_t value);
// Scans "%lld": leading white space skipped, trailing text ignored, 0 when the
// text does not begin with a number.
int64_t StringToInt64(const std::string& text);
// Seconds since 1970-01-01 UTC.
int64_t CurrentUnixTime();

// The status code of an HTTP status line: up to 3 characters from position 9
// of a line longer than 11 characters; empty otherwise or for a null line.
std::string HttpStatusCodeText(const char* statusLine);

// 'a'..'z' become 'A'..'Z'; every other byte stays.
std::string ToUpperAscii(const std::string& text);

// The maximal runs of characters outside the delimiter set; never an empty
// piece. An empty delimiter set gives the whole (non-empty) text.
std::vector<std::string> SplitByAny(const std::string& text, const std::string& delimiters);
std::vector<std::wstring> SplitByAny(const std::wstring& text, const std::wstring& delimiters);

std::string TrimLeftAny(const std::string& text, const std::string& set);
std::wstring TrimLeftAny(const std::wstring& text, const std::wstring& set);
std::wstring TrimRightAny(const std::wstring& text, const std::wstring& set);

// Index of the first occurrence of needle, or kNotFound when either text is
// empty or there is none.
inline constexpr size_t kNotFound = static_cast<size_t>(-1);
size_t FindText(const std::string& haystack, const std::string& needle);
size_t FindText(const std::wstring& haystack, const std::wstring& needle);

// Erases pattern occurrences one after another, each new search resuming where
// the last erased one began. Null or empty text gives ""; a null pattern gives
// ""; an empty pattern, or a text shorter than it, gives the text unchanged.
std::wstring RemoveAllOccurrences(const wchar_t* pattern, const wchar_t* text);

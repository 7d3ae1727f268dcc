// jsoncpp's configuration for the installer, read before anything else in
// every file of the installer that is compiled against jsoncpp (-include).
// It stands in for json/config.h, whose guard it takes, with the same names,
// but with string streams of its own: the standard streams bring the whole
// locale machinery into the executable (about 800 KiB), and jsoncpp needs them
// only to build error texts, to read a double and for the stream writers.
// Doubles are read with strtod in the C locale, which the installer never
// changes.
#pragma once
#ifndef JSON_CONFIG_H_INCLUDED
#define JSON_CONFIG_H_INCLUDED

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iosfwd>
#include <memory>
#include <streambuf>
#include <string>
#include <type_traits>

#ifndef JSON_USE_EXCEPTION
#define JSON_USE_EXCEPTION 1
#endif
#ifndef JSON_USE_NULLREF
#define JSON_USE_NULLREF 1
#endif
#define JSON_API
#define jsoncpp_snprintf std::snprintf
#define JSONCPP_OVERRIDE override
#define JSONCPP_DEPRECATED(message) __attribute__((deprecated(message)))
#define JSON_USE_INT64_DOUBLE_CONVERSION 1

#include <json/allocator.h>
#include <json/version.h>

namespace Json {
using Int = int;
using UInt = unsigned int;
using Int64 = int64_t;
using UInt64 = uint64_t;
using LargestInt = Int64;
using LargestUInt = UInt64;
#define JSON_HAS_INT64

template <typename T>
using Allocator = typename std::conditional<JSONCPP_USING_SECURE_MEMORY, SecureAllocator<T>, std::allocator<T>>::type;
using String = std::basic_string<char, std::char_traits<char>, Allocator<char>>;

// What the writers write into: text, one piece at a time.
class OStream {
 public:
  virtual ~OStream() = default;
  OStream& operator<<(const char* text) { return Put(text, std::strlen(text)); }
  OStream& operator<<(const String& text) { return Put(text.data(), text.size()); }
  OStream& operator<<(char c) { return Put(&c, 1); }

 protected:
  virtual OStream& Put(const char* data, size_t size) = 0;
};

class OStringStream : public OStream {
 public:
  String str() const { return text_; }
  // The whole of a stream's buffer (reading JSON from a stream).
  OStringStream& operator<<(std::streambuf* source) {
    char piece[4096];
    for (std::streamsize n; source && (n = source->sgetn(piece, sizeof piece)) > 0;) text_.append(piece, size_t(n));
    return *this;
  }
  using OStream::operator<<;

 protected:
  OStream& Put(const char* data, size_t size) override {
    text_.append(data, size);
    return *this;
  }

 private:
  String text_;
};

// A source of text that can be read as a double, as the reader does.
class IStringStream {
 public:
  explicit IStringStream(const String& text) : text_(text) {}
  // As the standard extraction does: nothing read or a value out of range
  // (an infinity) fails; a value too small to represent is read as it comes.
  IStringStream& operator>>(double& value) {
    char* end = nullptr;
    const double read = std::strtod(text_.c_str(), &end);
    ok_ = end != text_.c_str() && read != HUGE_VAL && read != -HUGE_VAL;
    if (ok_) value = read;
    return *this;
  }
  explicit operator bool() const { return ok_; }
  bool operator!() const { return !ok_; }

 private:
  String text_;
  bool ok_ = true;
};

// Only read from, never made here.
using IStream = std::istream;
}  // namespace Json

using JSONCPP_STRING = Json::String;
using JSONCPP_ISTRINGSTREAM = Json::IStringStream;
using JSONCPP_OSTRINGSTREAM = Json::OStringStream;
using JSONCPP_ISTREAM = Json::IStream;
using JSONCPP_OSTREAM = Json::OStream;

#endif  // JSON_CONFIG_H_INCLUDED

#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>

// A multipart/form-data body of text fields, produced segment by segment.
// Parts go out in ascending byte order of the field names, not in the order
// they were added.
class MultipartForm {
 public:
  struct FormItem {
    std::string name;
    std::string data;
    std::string partHeader;  // Content-Disposition line and the blank line
    int64_t size = 0;
  };

  MultipartForm() = default;
  MultipartForm(const MultipartForm&) = delete;
  MultipartForm& operator=(const MultipartForm&) = delete;

  // Adds the field or replaces its value; ignored while the body is being
  // produced (between Prepare and Reset).
  void AddField(const std::string& name, const std::string& value);
  // Starts the body and works out its length (Total); false without fields.
  bool Prepare();
  // The next piece of the body; (nullptr, 0) when it is complete or the form
  // is not prepared. The piece stays valid until the next call.
  std::pair<const char*, size_t> NextSegment();
  void Reset();

  // The Content-Length of the prepared body.
  int64_t Total() const { return total; }
  // The boundary as the Content-Type header names it (without the leading
  // two dashes that each delimiter line adds).
  std::string HeaderBoundary() const { return std::string(kBoundary + 2); }

 private:
  static constexpr const char* kBoundary = "-----------------------------7da1f4c300560";

  std::map<std::string, FormItem> items;
  std::map<std::string, FormItem>::iterator current;
  int64_t bytesSent = -1;  // -1: not prepared
  std::string boundary;
  int64_t total = 0;
  std::string segment;
};

#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What a response's header block says. Field names match without regard to
// case; values have their surrounding blanks removed.
struct HttpHeaders {
  std::vector<std::string> lines;  // split at CR LF, without empty lines
  std::string status;              // the three characters of the status code, or empty
  int64_t contentLength = 0;       // 0 when absent, -1 when not a plain decimal number

  // The value of the first field of that name, or "" when there is none.
  std::string Field(const std::string& name) const;
  bool HasField(const std::string& name) const;
  // The status code as a number, or 0 when there is none.
  int StatusCode() const;
};

// Bounds of one answer's header block: a longer line or block is no answer
// at all rather than one cut short.
constexpr size_t kMaxHeaderLine = 4096;
constexpr size_t kMaxHeaderBlock = 16384;
// A header block still not complete this long after the request went out
// fails the request, however slowly its bytes keep coming.
constexpr unsigned kHeaderTimeLimitMs = 10000;

// Parses the header block up to (and with or without) its blank line. False
// when a line or the block is over its bound; headers is then left empty.
bool ParseHttpHeaders(const std::string& block, HttpHeaders* headers);

// "bytes FIRST-LAST/TOTAL" (TOTAL may be "*"): false for anything else.
bool ParseContentRange(const std::string& value, int64_t* first, int64_t* last);

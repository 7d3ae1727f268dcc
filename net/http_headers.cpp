#include "net/http_headers.h"

#include "platform/text.h"

namespace {

constexpr char kBlanks[] = " \t";
// Longer decimal texts could overflow 64 bits.
constexpr size_t kMaxDigits = 18;

std::string Trim(const std::string& text) {
  size_t first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

bool SameName(const std::string& line, size_t colon, const std::string& name) {
  if (colon != name.size()) return false;
  for (size_t i = 0; i < colon; ++i) {
    char a = line[i], b = name[i];
    if (a >= 'A' && a <= 'Z') a = char(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = char(b - 'A' + 'a');
    if (a != b) return false;
  }
  return true;
}

// A plain decimal number of at most kMaxDigits digits, or -1.
int64_t Decimal(const std::string& text) {
  if (text.empty() || text.size() > kMaxDigits || text.find_first_not_of("0123456789") != std::string::npos) return -1;
  int64_t value = 0;
  for (char c : text) value = value * 10 + (c - '0');
  return value;
}

}  // namespace

std::string HttpHeaders::Field(const std::string& name) const {
  // The status line is no field, whatever it holds.
  for (size_t i = 1; i < lines.size(); ++i) {
    size_t colon = lines[i].find(':');
    if (colon != std::string::npos && SameName(lines[i], colon, name)) return Trim(lines[i].substr(colon + 1));
  }
  return std::string();
}

bool HttpHeaders::HasField(const std::string& name) const {
  for (size_t i = 1; i < lines.size(); ++i) {
    size_t colon = lines[i].find(':');
    if (colon != std::string::npos && SameName(lines[i], colon, name)) return true;
  }
  return false;
}

int HttpHeaders::StatusCode() const {
  int64_t code = Decimal(status);
  return code < 0 ? 0 : int(code);
}

bool ParseHttpHeaders(const std::string& block, HttpHeaders* headers) {
  *headers = HttpHeaders();
  if (block.size() > kMaxHeaderBlock) return false;
  HttpHeaders parsed;
  for (size_t start = 0; start < block.size();) {
    size_t end = block.find("\r\n", start);
    if (end == std::string::npos) end = block.size();
    if (end - start > kMaxHeaderLine) return false;
    if (end > start) parsed.lines.push_back(block.substr(start, end - start));
    start = end + 2;
  }
  if (!parsed.lines.empty()) parsed.status = HttpStatusCodeText(parsed.lines[0].c_str());
  if (parsed.HasField("Content-Length")) parsed.contentLength = Decimal(parsed.Field("Content-Length"));
  *headers = parsed;
  return true;
}

bool ParseContentRange(const std::string& value, int64_t* first, int64_t* last) {
  if (value.compare(0, 6, "bytes ") != 0) return false;
  std::string range = Trim(value.substr(6));
  size_t dash = range.find('-');
  size_t slash = range.find('/');
  if (dash == std::string::npos || slash == std::string::npos || slash < dash) return false;
  *first = Decimal(range.substr(0, dash));
  *last = Decimal(range.substr(dash + 1, slash - dash - 1));
  std::string total = range.substr(slash + 1);
  return *first >= 0 && *last >= *first && (total == "*" || Decimal(total) > *last);
}

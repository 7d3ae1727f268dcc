#include "net/multipart_form.h"

void MultipartForm::AddField(const std::string& name, const std::string& value) {
  if (bytesSent != -1) return;
  FormItem& item = items[name];
  item.name = name;
  item.data = value;
  item.size = 0;
  item.partHeader = "Content-Disposition: form-data; name=\"" + name + "\"\r\n\r\n";
}

bool MultipartForm::Prepare() {
  Reset();
  if (items.empty()) return false;
  boundary = kBoundary;
  total = 0;
  bytesSent = 0;
  for (auto& entry : items) {
    FormItem& item = entry.second;
    item.size = int64_t(item.data.size());
    total += int64_t(boundary.size() + 2 + item.partHeader.size()) + item.size + 2;
  }
  total += int64_t(boundary.size()) + 4;
  current = items.begin();
  return true;
}

std::pair<const char*, size_t> MultipartForm::NextSegment() {
  segment.clear();
  if (bytesSent == -1 || current == items.end()) return {nullptr, 0};
  const FormItem& item = current->second;
  segment += boundary + "\r\n" + item.partHeader;
  segment.append(item.data, 0, size_t(item.size));
  segment += "\r\n";
  bytesSent = 0;
  if (++current == items.end()) segment += boundary + "--\r\n";
  return {segment.data(), segment.size()};
}

void MultipartForm::Reset() {
  bytesSent = -1;
  segment.clear();
  current = items.end();
}

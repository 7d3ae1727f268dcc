#pragma once
#include <sqlite3.h>

#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include <json/json.h>

// The attribution service's SQLite store: one row per report, with its
// fields in the order of the body.
class ReportStore {
 public:
  // Throws std::runtime_error when the database cannot be opened.
  explicit ReportStore(const std::string& path);
  ~ReportStore();
  ReportStore(const ReportStore&) = delete;
  ReportStore& operator=(const ReportStore&) = delete;

  void Add(const std::vector<std::pair<std::string, std::string>>& fields);
  // Reports in arrival order: {"fields": {...}, "order": [names], "received": s}.
  std::vector<Json::Value> Query();

 private:
  std::mutex lock_;
  sqlite3* db_ = nullptr;
};

#include "backend/attribution.h"

#include <stdexcept>

#include "backend/sqlite_util.h"

ReportStore::ReportStore(const std::string& path)
    : db_(OpenDatabase(path, "CREATE TABLE IF NOT EXISTS reports (fields TEXT NOT NULL, received INTEGER NOT NULL)")) {}

ReportStore::~ReportStore() { sqlite3_close(db_); }

void ReportStore::Add(const std::vector<std::pair<std::string, std::string>>& fields) {
  Json::Value list(Json::arrayValue);
  for (const auto& f : fields) {
    Json::Value pair(Json::arrayValue);
    pair.append(f.first);
    pair.append(f.second);
    list.append(pair);
  }
  std::lock_guard<std::mutex> hold(lock_);
  Statement insert(db_, "INSERT INTO reports (fields, received) VALUES (?, strftime('%s','now'))");
  insert.Text(1, Compact(list));
  if (sqlite3_step(insert.Get()) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
}

std::vector<Json::Value> ReportStore::Query() {
  std::lock_guard<std::mutex> hold(lock_);
  Statement select(db_, "SELECT fields, received FROM reports ORDER BY rowid");
  std::vector<Json::Value> rows;
  while (sqlite3_step(select.Get()) == SQLITE_ROW) {
    Json::Value list, row;
    ParseJson(select.Column(0), &list);
    row["fields"] = Json::Value(Json::objectValue);
    row["order"] = Json::Value(Json::arrayValue);
    for (const Json::Value& pair : list) {
      row["fields"][pair[0].asString()] = pair[1].asString();
      row["order"].append(pair[0].asString());
    }
    row["received"] = static_cast<Json::Int64>(sqlite3_column_int64(select.Get(), 1));
    rows.push_back(row);
  }
  return rows;
}

#include "backend/event_store.h"

#include <stdexcept>

#include "backend/seal.h"
#include "backend/sqlite_util.h"

namespace {

Json::Value Parse(const std::string& text) {
  Json::Value v;
  ParseJson(text, &v);
  return v;
}

// Data fields as their text for people, next to the Base64 that came in.
Json::Value PrintableFields(const Json::Value& fields) {
  Json::Value out(Json::arrayValue);
  for (const Json::Value& f : fields) {
    Json::Value shown = f;
    if (f.isMember("data")) shown["text"] = Base64Decode(f["data"].asString());
    out.append(shown);
  }
  return out;
}

}  // namespace

bool IsRecordId(const std::string& id) {
  return id.size() == 32 && id.find_first_not_of("0123456789abcdef") == std::string::npos;
}

EventStore::EventStore(const std::string& path)
    : db_(OpenDatabase(path,
                       "CREATE TABLE IF NOT EXISTS records (id TEXT PRIMARY KEY, type INTEGER NOT NULL, time INTEGER, "
                       "app_id TEXT, mid TEXT, event TEXT, event_id INTEGER, properties TEXT, fields TEXT, "
                       "received INTEGER)")) {}

EventStore::~EventStore() { sqlite3_close(db_); }

EventStore::Outcome EventStore::Add(const Json::Value& records) {
  std::lock_guard<std::mutex> hold(lock_);
  Outcome outcome;
  Exec(db_, "BEGIN IMMEDIATE");
  try {
    Statement insert(db_,
                     "INSERT OR IGNORE INTO records (id, type, time, app_id, mid, event, event_id, properties, "
                     "fields, received) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, strftime('%s','now'))");
    for (const Json::Value& r : records) {
      if (!r.isObject() || !r["id"].isString() || !IsRecordId(r["id"].asString()) || !r["type"].isInt() ||
          r["type"].asInt() <= 0) {
        ++outcome.invalid;
        continue;
      }
      insert.Text(1, r["id"].asString());
      insert.Int(2, r["type"].asInt());
      insert.Int(3, r["time"].isIntegral() ? r["time"].asInt64() : 0);
      insert.Text(4, r["app_id"].asString());
      insert.Text(5, r["mid"].asString());
      if (r["event"].isObject()) {
        insert.Text(6, r["event"]["name"].asString());
        insert.Int(7, r["event"]["id"].asInt64());
      } else {
        sqlite3_bind_null(insert.Get(), 6);
        sqlite3_bind_null(insert.Get(), 7);
      }
      insert.Text(8, Compact(r["properties"].isObject() ? r["properties"] : Json::Value(Json::objectValue)));
      insert.Text(9, Compact(r["fields"].isArray() ? r["fields"] : Json::Value(Json::arrayValue)));
      if (sqlite3_step(insert.Get()) != SQLITE_DONE) throw std::runtime_error(sqlite3_errmsg(db_));
      (sqlite3_changes(db_) ? outcome.stored : outcome.duplicates)++;
      sqlite3_reset(insert.Get());
      sqlite3_clear_bindings(insert.Get());
    }
    Exec(db_, "COMMIT");
  } catch (...) {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
    throw;
  }
  return outcome;
}

std::vector<Json::Value> EventStore::Query(int type, const std::string& eventName) {
  std::lock_guard<std::mutex> hold(lock_);
  Statement select(db_,
                   "SELECT id, type, time, mid, event, event_id, properties, fields, app_id FROM records "
                   "WHERE (?1 = 0 OR type = ?1) AND (?2 = '' OR event = ?2) ORDER BY rowid");
  select.Int(1, type);
  select.Text(2, eventName);
  std::vector<Json::Value> rows;
  while (sqlite3_step(select.Get()) == SQLITE_ROW) {
    Json::Value row;
    row["id"] = select.Column(0);
    row["type"] = sqlite3_column_int(select.Get(), 1);
    row["time"] = static_cast<Json::Int64>(sqlite3_column_int64(select.Get(), 2));
    row["mid"] = select.Column(3);
    row["app_id"] = select.Column(8);
    if (sqlite3_column_type(select.Get(), 4) != SQLITE_NULL) {
      row["name"] = select.Column(4);
      row["event_id"] = static_cast<Json::Int64>(sqlite3_column_int64(select.Get(), 5));
      row["properties"] = Parse(select.Column(6));
    } else {
      row["fields"] = PrintableFields(Parse(select.Column(7)));
    }
    rows.push_back(row);
  }
  return rows;
}

#pragma once
#include <sqlite3.h>

#include <mutex>
#include <string>
#include <vector>

#include <json/json.h>

// The collector's SQLite store: one row per record, keyed by the record id,
// so a record sent twice is stored once.
class EventStore {
 public:
  // Opens (and creates) the database; throws std::runtime_error on failure.
  explicit EventStore(const std::string& path);
  ~EventStore();
  EventStore(const EventStore&) = delete;
  EventStore& operator=(const EventStore&) = delete;

  struct Outcome {
    int stored = 0;
    int duplicates = 0;
    int invalid = 0;
  };
  // Stores the records of one batch in one transaction.
  Outcome Add(const Json::Value& records);

  // Records in arrival order; type 0 means every type, an empty name every
  // event. Each in the printable form of the query command.
  std::vector<Json::Value> Query(int type, const std::string& eventName);

 private:
  std::mutex lock_;
  sqlite3* db_ = nullptr;
};

// A record's id is 32 lower-case hex digits.
bool IsRecordId(const std::string& id);

#pragma once
#include <sqlite3.h>

#include <memory>
#include <stdexcept>
#include <string>

#include <json/json.h>

// Small helpers the service stores share.

// A prepared statement that finalises itself.
class Statement {
 public:
  Statement(sqlite3* db, const char* sql) {
    if (sqlite3_prepare_v2(db, sql, -1, &s_, nullptr) != SQLITE_OK) throw std::runtime_error(sqlite3_errmsg(db));
  }
  ~Statement() { sqlite3_finalize(s_); }
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  sqlite3_stmt* Get() const { return s_; }
  void Text(int i, const std::string& v) {
    sqlite3_bind_text(s_, i, v.data(), static_cast<int>(v.size()), SQLITE_TRANSIENT);
  }
  void Int(int i, long long v) { sqlite3_bind_int64(s_, i, v); }
  std::string Column(int i) {
    const unsigned char* t = sqlite3_column_text(s_, i);
    return t ? reinterpret_cast<const char*>(t) : "";
  }

 private:
  sqlite3_stmt* s_ = nullptr;
};

inline void Exec(sqlite3* db, const char* sql) {
  char* error = nullptr;
  if (sqlite3_exec(db, sql, nullptr, nullptr, &error) != SQLITE_OK) {
    std::string message = error ? error : "sqlite error";
    sqlite3_free(error);
    throw std::runtime_error(message);
  }
}

// Opens (and creates) a database in WAL mode with the given schema; throws
// std::runtime_error on failure.
inline sqlite3* OpenDatabase(const std::string& path, const char* schema) {
  sqlite3* db = nullptr;
  if (sqlite3_open(path.c_str(), &db) != SQLITE_OK) {
    std::string message = db ? sqlite3_errmsg(db) : "cannot open database";
    sqlite3_close(db);
    throw std::runtime_error(message);
  }
  sqlite3_busy_timeout(db, 5000);
  try {
    Exec(db, "PRAGMA journal_mode=WAL");
    Exec(db, schema);
  } catch (...) {
    sqlite3_close(db);
    throw;
  }
  return db;
}

// JSON on one line, UTF-8 kept as it is.
inline std::string Compact(const Json::Value& v) {
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "";
  builder["emitUTF8"] = true;
  return Json::writeString(builder, v);
}

// False for text that is not JSON.
inline bool ParseJson(const std::string& text, Json::Value* v) {
  Json::CharReaderBuilder builder;
  std::string errors;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  return reader->parse(text.data(), text.data() + text.size(), v, &errors);
}

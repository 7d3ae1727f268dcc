#pragma once
#include <cstdint>
#include <string>
#include <vector>

// One collector record as the SDK's callers build it: a type, the time it was
// created, an optional sensor event with typed properties, and numbered
// fields. ToJson gives the record's wire form (docs/analytics-wire.md).
class Record {
 public:
  Record(int type, int64_t time, std::string id);

  void SetEvent(const std::string& name, int32_t eventId);
  void AddInt(const std::string& key, int64_t value);
  void AddBool(const std::string& key, bool value);
  void AddString(const std::string& key, const std::string& value);
  void AddIntField(int field, int32_t value);
  void AddDataField(int field, const std::string& bytes);

  const std::string& Id() const { return id_; }
  std::string ToJson(const std::string& appId, const std::string& machineId) const;

 private:
  enum class Kind { kInt, kBool, kString };
  struct Property {
    std::string key;
    Kind kind;
    int64_t number;
    std::string text;
  };
  struct Field {
    int field;
    bool isInt;
    int32_t number;
    std::string bytes;
  };

  int type_;
  int64_t time_;
  std::string id_;
  bool hasEvent_ = false;
  std::string eventName_;
  int32_t eventId_ = 0;
  std::vector<Property> properties_;
  std::vector<Field> fields_;
};

// text as a JSON string literal, quotes included. Bytes from 0x80 up pass
// through unchanged (the texts are UTF-8); control characters are escaped.
std::string JsonString(const std::string& text);

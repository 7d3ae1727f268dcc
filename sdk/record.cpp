#include "sdk/record.h"

#include <cstdio>

#include "sdk/seal.h"

namespace {

std::string Number(int64_t value) {
  char text[32];
  std::snprintf(text, sizeof text, "%lld", static_cast<long long>(value));
  return text;
}

}  // namespace

std::string JsonString(const std::string& text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char escaped[8];
          std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
          out += escaped;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  return out + "\"";
}

Record::Record(int type, int64_t time, std::string id) : type_(type), time_(time), id_(std::move(id)) {}

void Record::SetEvent(const std::string& name, int32_t eventId) {
  hasEvent_ = true;
  eventName_ = name;
  eventId_ = eventId;
}

void Record::AddInt(const std::string& key, int64_t value) { properties_.push_back({key, Kind::kInt, value, {}}); }
void Record::AddBool(const std::string& key, bool value) { properties_.push_back({key, Kind::kBool, value, {}}); }
void Record::AddString(const std::string& key, const std::string& value) {
  properties_.push_back({key, Kind::kString, 0, value});
}
void Record::AddIntField(int field, int32_t value) { fields_.push_back({field, true, value, {}}); }
void Record::AddDataField(int field, const std::string& bytes) { fields_.push_back({field, false, 0, bytes}); }

std::string Record::ToJson(const std::string& appId, const std::string& machineId) const {
  std::string json = "{\"id\":" + JsonString(id_) + ",\"type\":" + Number(type_) + ",\"time\":" + Number(time_) +
                     ",\"app_id\":" + JsonString(appId) + ",\"mid\":" + JsonString(machineId);
  if (hasEvent_) json += ",\"event\":{\"name\":" + JsonString(eventName_) + ",\"id\":" + Number(eventId_) + "}";
  json += ",\"properties\":{";
  for (size_t i = 0; i < properties_.size(); ++i) {
    const Property& p = properties_[i];
    if (i) json += ',';
    json += JsonString(p.key) + ':';
    switch (p.kind) {
      case Kind::kInt: json += Number(p.number); break;
      case Kind::kBool: json += p.number ? "true" : "false"; break;
      case Kind::kString: json += JsonString(p.text); break;
    }
  }
  json += "},\"fields\":[";
  for (size_t i = 0; i < fields_.size(); ++i) {
    const Field& f = fields_[i];
    if (i) json += ',';
    json += "{\"field\":" + Number(f.field) +
            (f.isInt ? ",\"int\":" + Number(f.number) : ",\"data\":" + JsonString(Base64Encode(f.bytes))) + "}";
  }
  return json + "]}";
}

#include "backend/collector.h"

#include <memory>

#include "backend/seal.h"

namespace {

Collector::Answer Refuse(int status, int code, const std::string& message) {
  Json::Value v;
  v["code"] = code;
  v["message"] = message;
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "";
  return {status, Json::writeString(builder, v)};
}

}  // namespace

Collector::Collector(EventStore& store, std::string servicePrivateKey, std::string appKey)
    : store_(store), servicePrivateKey_(std::move(servicePrivateKey)), appKey_(std::move(appKey)) {}

Collector::Answer Collector::HandleBatch(const std::string& body) {
  std::string plain;
  if (!OpenWith(servicePrivateKey_, body, &plain)) return Refuse(400, 1, "batch does not open");
  Json::Value batch;
  Json::CharReaderBuilder builder;
  std::string errors;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  if (!reader->parse(plain.data(), plain.data() + plain.size(), &batch, &errors) || !batch.isObject() ||
      !batch["records"].isArray())
    return Refuse(400, 2, "batch is not a record list");
  // A wrong application key is the sender's configuration, not the batch's
  // fault: the SDK keeps the records and tries again.
  if (!appKey_.empty() && batch["app_key"].asString() != appKey_) return Refuse(403, 3, "unknown application key");
  EventStore::Outcome outcome;
  try {
    outcome = store_.Add(batch["records"]);
  } catch (const std::exception& e) {
    return Refuse(503, 4, e.what());
  }
  Json::Value v;
  v["code"] = 0;
  v["stored"] = outcome.stored;
  v["duplicates"] = outcome.duplicates;
  v["invalid"] = outcome.invalid;
  Json::StreamWriterBuilder writer;
  writer["indentation"] = "";
  return {200, Json::writeString(writer, v)};
}

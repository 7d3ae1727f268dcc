#include "services/pkg_index.h"

#include <json/json.h>

#include "common/product.h"
#include "platform/text.h"
#include "services/service_call.h"
#include "velora_profile.h"

namespace {

constexpr char kIndexPath[] = "/installer/package/index";
constexpr DWORD kAttemptPauseMs = 300;

bool Parse(const std::string& text, Json::Value* v) {
  Json::CharReaderBuilder builder;
  std::string errors;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  return reader->parse(text.data(), text.data() + text.size(), v, &errors);
}

// A decimal text member, 0 when absent or not a number.
int64_t SizeMember(const Json::Value& info, const char* name, int64_t fallback) {
  if (!info.isMember(name)) return fallback;
  int64_t value = StringToInt64(info[name].asString());
  return value == 0 ? fallback : value;
}

std::string SendIndexRequest(StopSignal& stop, const std::string& host, const std::string& request) {
  return AskService(stop, host, [&request](CTCPHttp& http) { return http.SendRequest(request); });
}

}  // namespace

std::string BuildIndexDocument(const std::string& version) {
  Json::Value document(Json::objectValue);
  document["app_id"] = product::kAppId;
  document["version"] = version;
  Json::Value& seed = document["seed"];
  for (const char* member : {"system", "hardware", "network", "dependency"}) seed[member] = "";
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  Json::StyledWriter writer;
  return writer.write(document);
#pragma GCC diagnostic pop
}

std::string BuildIndexRequest(ILoggerServer& logger, const std::string& version) {
  return logger.SealData(kIndexPath, BuildIndexDocument(version));
}

PackageRecord DecodeIndexResponse(const std::string& body, ILoggerServer& logger) {
  Json::Value response;
  if (!Parse(body, &response) || !response.isObject()) throw "Json parse error";
  if (!response.isMember("code") || !response.isMember("data") || !response["code"].isIntegral() ||
      response["code"].asInt64() != 0)
    throw "member doesn't exit";
  std::string plain = logger.UnsealData(response["data"].asString());
  if (plain.empty()) throw "decrypt data empty";
  Json::Value answer;
  if (!Parse(plain, &answer) || !answer.isObject()) throw "parse decrypt data error";
  if (!answer.isMember("info") || !answer.isMember("urls")) throw "member not exist";
  PackageRecord record;
  for (const Json::Value& u : answer["urls"]) {
    PackageUrl url;
    url.id = u["id"].asInt();
    url.url = u["url"].asString();
    url.rank = u["rank"].asInt();
    record.urls.push_back(url);
  }
  const Json::Value& info = answer["info"];
  if (info.isMember("package_name")) record.packageName = info["package_name"].asString();
  if (info.isMember("version")) record.version = info["version"].asString();
  if (info.isMember("md5")) record.md5 = info["md5"].asString();
  record.size = SizeMember(info, "size", PackageRecord::kDefaultSize);
  record.originSize = SizeMember(info, "origin_size", PackageRecord::kDefaultOriginSize);
  return record;
}

IndexEndpoints InstallerIndexEndpoints() { return {profile::kPkgHost, profile::kPkgFallbackIp}; }

void ReadPackageIndex(CPkgInfo& info, StopSignal& stop, ILoggerServer& logger, const IndexEndpoints& endpoints,
                      const std::string& version) {
  try {
    const std::string request = BuildIndexRequest(logger, version);
    if (request.empty()) throw "build send data error";
    std::string response;
    for (int attempt = 0; response.empty(); ++attempt) {
      if (attempt > 0 && !stop.Sleep(kAttemptPauseMs)) throw "user cancel";
      response = SendIndexRequest(stop, endpoints.host, request);
      if (stop.Stopped()) throw "user cancel";
      if (response.empty()) response = SendIndexRequest(stop, endpoints.fallbackIp, request);
    }
    // Also a stop that cut the fallback's exchange short.
    if (stop.Stopped()) throw "user cancel";
    info.Complete(DecodeIndexResponse(response, logger));
  } catch (...) {
    // Every failure, including the JSON library's own on members of an
    // unexpected type, is a failed index.
    info.Fail();
  }
}

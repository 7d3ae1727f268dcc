#include "services/server_info.h"

#include <json/json.h>

#include "services/service_call.h"

namespace {

constexpr char kWelcomePath[] = "/applicationService/channel/welcome?channel=";
constexpr char kSuccess[] = "server.success";
constexpr int kAttempts = 3;
constexpr DWORD kAttemptPauseMs = 300;

// Members take the JSON library's conversions: numbers and booleans read as
// their text, objects and arrays throw.
void TextMember(const Json::Value& data, const char* name, std::string* field) {
  if (data.isMember(name)) *field = data[name].asString();
}

}  // namespace

void CServerInfo::Complete(const ChannelInfo& info) {
  {
    CXMutexGuard hold(lock_);
    info_ = info;
  }
  status_ = 1;
}

ChannelInfo DecodeChannelAnswer(const std::string& body) {
  Json::Value answer;
  Json::CharReaderBuilder builder;
  std::string errors;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  if (!reader->parse(body.data(), body.data() + body.size(), &answer, &errors) || !answer.isObject())
    throw "parse decrypt data error";
  ChannelInfo info;
  if (answer.isMember("code") && !answer["code"].isString()) throw "member type error";
  if (answer.isMember("data") && !answer["data"].isObject()) throw "member type error";
  if (!answer.isMember("code") || answer["code"].asString() != kSuccess || !answer.isMember("data")) return info;
  const Json::Value& data = answer["data"];
  TextMember(data, "appId", &info.appId);
  TextMember(data, "appName", &info.appName);
  TextMember(data, "welcomeUrl", &info.welcomeUrl);
  TextMember(data, "advertisingAccountName", &info.advertisingAccount);
  if (data.isMember("orvaneOcpc")) info.ocpc = data["orvaneOcpc"].asBool();
  return info;
}

void ReadChannelInfo(CServerInfo& info, StopSignal& stop, const std::string& channel, const std::string& host) {
  try {
    if (channel.empty()) {
      info.Complete(ChannelInfo());
      return;
    }
    const std::string path = kWelcomePath + channel;
    std::string body;
    for (int attempt = 0; attempt < kAttempts && body.empty(); ++attempt) {
      if (attempt > 0 && !stop.Sleep(kAttemptPauseMs)) throw "user cancel";
      body = AskService(stop, host, [&](CTCPHttp& http) { return http.Get(path, host); });
      if (body.empty() && stop.Stopped()) throw "user cancel";
    }
    info.Complete(DecodeChannelAnswer(body));
  } catch (...) {
    info.Fail();
  }
}

#include "services/ov_report.h"

#include <windows.h>

#include <json/json.h>

#include "common/product.h"
#include "platform/digest.h"
#include "platform/handle.h"
#include "services/service_call.h"

namespace {

constexpr char kReportPath[] = "/v1/install/orvane";
constexpr int kAttempts = 3;
constexpr DWORD kAttemptPauseMs = 300;
constexpr int kUidBufferSize = 33;

}  // namespace

std::string ReadOvuid(const std::wstring& libraryPath) {
  DWORD attributes = GetFileAttributesW(libraryPath.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return std::string();
  LoadedLibrary library(libraryPath.c_str());
  if (!library.Get()) return std::string();
  auto get = reinterpret_cast<GetOvuidFn>(reinterpret_cast<void*>(GetProcAddress(library.Get(), "GetOVUID")));
  if (!get) return std::string();
  char buffer[kUidBufferSize] = {};
  get(buffer, kUidBufferSize);
  buffer[kUidBufferSize - 1] = 0;  // whatever the library wrote, at most 32 characters count
  return buffer;
}

void BuildReportForm(const ReportInputs& in, MultipartForm& form) {
  if (in.uid.empty() || in.appName.empty()) throw "get uid or product_name failed";
  const std::string cam =
      in.macText.empty() ? std::string() : Md5OfBuffer(in.macText.data(), static_cast<int32_t>(in.macText.size()));
  form.AddField("app_version", in.version);
  form.AddField("product_name", in.appName);
  form.AddField("uid", in.uid);
  form.AddField("app_id", product::kAppId);
  form.AddField("cam", cam);
  form.AddField("mid", in.machineId);
  form.AddField("url_channel", in.channel);
}

unsigned SendReport(const ReportInputs& inputs, StopSignal& stop, const std::string& host) {
  try {
    MultipartForm form;
    BuildReportForm(inputs, form);
    std::string answer;
    for (int attempt = 0; attempt < kAttempts && answer.empty(); ++attempt) {
      if (attempt > 0 && !stop.Sleep(kAttemptPauseMs)) throw "user cancel";
      answer = AskService(stop, host, [&](CTCPHttp& http) { return http.PostForm(host, kReportPath, form); });
      if (answer.empty() && stop.Stopped()) throw "user cancel";
    }
    Json::Value v;
    Json::CharReaderBuilder builder;
    std::string errors;
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    if (!reader->parse(answer.data(), answer.data() + answer.size(), &v, &errors)) throw "parse decrypt data error";
    return 0;
  } catch (...) {
    return 1;
  }
}

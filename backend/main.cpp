// velora-stack: the local service stack and its tools.
//   velora-stack serve --listen IP:PORT [--fault MODE[:MS]] and any of the services:
//       analytics collector:  --db FILE --service-key B64 [--app-key KEY] [--delay-ms N]
//       package service:      --catalog FILE --service-key B64 --client-key B64
//       gateway:              --channels FILE --gif FILE --gif-url URL
//       attribution service:  --reports FILE
//     Loopback callers may also POST /admin/fault (body MODE[:MS]), POST
//     /admin/reset, GET /admin/fault, GET /admin/requests and (attribution)
//     GET /admin/reports, one JSON line per report.
//   velora-stack reports --db FILE                  one JSON line per attribution report
//   velora-stack events --db FILE [--name NAME]     one JSON line per event
//   velora-stack records --db FILE [--type N]       one JSON line per record
//   velora-stack seal --key B64-PUBLIC IN OUT       seals IN's bytes to the key
//   velora-stack open --key B64-PRIVATE IN OUT      opens IN (a blob, its Base64, or an HTTP request carrying one)
#include <httplib.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <thread>

#include "backend/attribution.h"
#include "backend/collector.h"
#include "backend/event_store.h"
#include "backend/faults.h"
#include "backend/gateway.h"
#include "backend/package_service.h"
#include "backend/seal.h"
#include "backend/sqlite_util.h"

namespace {

constexpr char kSensorPath[] = "/sa";
constexpr char kIndexPath[] = "/installer/package/index";
constexpr char kWelcomePath[] = "/applicationService/channel/welcome";
constexpr char kConfigPath[] = "/applicationService/app/installerConfig";
constexpr char kGifPath[] = "/static/banner.gif";
constexpr char kReportPath[] = "/v1/install/orvane";

struct Options {
  std::map<std::string, std::string> named;
  std::vector<std::string> plain;
  std::string Get(const std::string& key, const std::string& fallback = "") const {
    auto found = named.find(key);
    return found == named.end() ? fallback : found->second;
  }
};

Options ParseOptions(int argc, char** argv) {
  Options options;
  for (int i = 2; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg.rfind("--", 0) == 0 && i + 1 < argc)
      options.named[arg.substr(2)] = argv[++i];
    else
      options.plain.push_back(arg);
  }
  return options;
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary);
  out << bytes;
  return static_cast<bool>(out);
}

httplib::Server* g_server = nullptr;
FaultSwitch* g_faults = nullptr;

// What every service process shares: its fault, the count of requests per
// path, and the admin calls that set and read them from loopback only.
class ServiceState {
 public:
  explicit ServiceState(httplib::Server& server) {
    server.Post("/admin/fault", [this](const httplib::Request& q, httplib::Response& r) {
      if (!Admin(q, r)) return;
      if (!faults.Set(q.body)) r.status = 400;
      r.set_content(faults.Describe() + "\n", "text/plain");
    });
    server.Get("/admin/fault", [this](const httplib::Request& q, httplib::Response& r) {
      if (Admin(q, r)) r.set_content(faults.Describe() + "\n", "text/plain");
    });
    server.Post("/admin/reset", [this](const httplib::Request& q, httplib::Response& r) {
      if (!Admin(q, r)) return;
      faults.Set("none");
      std::lock_guard<std::mutex> hold(lock_);
      counts_.clear();
      r.set_content("none\n", "text/plain");
    });
    server.Get("/admin/requests", [this](const httplib::Request& q, httplib::Response& r) {
      if (!Admin(q, r)) return;
      Json::Value v(Json::objectValue);
      std::lock_guard<std::mutex> hold(lock_);
      for (const auto& c : counts_) v[c.first] = c.second;
      r.set_content(Compact(v) + "\n", "application/json");
    });
  }

  // Counts the request and plays the fault's delay; false when the handler
  // must not answer (a silent fault).
  bool Begin(const httplib::Request& q, httplib::Response& r) {
    {
      std::lock_guard<std::mutex> hold(lock_);
      ++counts_[q.path];
    }
    if (faults.Delay()) return true;
    r.status = 503;
    return false;
  }

  FaultSwitch faults;

 private:
  static bool Admin(const httplib::Request& q, httplib::Response& r) {
    if (q.remote_addr.rfind("127.", 0) == 0) return true;
    r.status = 403;
    return false;
  }

  std::mutex lock_;
  std::map<std::string, int> counts_;
};

void Reply(httplib::Response& r, int status, const std::string& body) {
  r.status = status;
  r.set_content(body, status == 200 ? "application/json" : "text/plain");
}

int Serve(const Options& o) {
  std::string listen = o.Get("listen");
  size_t colon = listen.rfind(':');
  if (colon == std::string::npos) {
    std::cerr << "serve needs --listen IP:PORT\n";
    return 2;
  }
  httplib::Server server;
  ServiceState state(server);
  if (!o.Get("fault").empty() && !state.faults.Set(o.Get("fault"))) {
    std::cerr << "unknown fault " << o.Get("fault") << "\n";
    return 2;
  }
  const std::string key = o.Get("service-key");
  std::unique_ptr<EventStore> events;
  std::unique_ptr<Collector> collector;
  if (!o.Get("db").empty()) {
    if (key.empty()) {
      std::cerr << "the collector needs --service-key\n";
      return 2;
    }
    events.reset(new EventStore(o.Get("db")));
    collector.reset(new Collector(*events, key, o.Get("app-key")));
    const int delayMs = std::stoi(o.Get("delay-ms", "0"));
    server.Post(kSensorPath, [&collector, delayMs](const httplib::Request& request, httplib::Response& response) {
      if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
      Collector::Answer answer = collector->HandleBatch(request.body);
      response.status = answer.status;
      response.set_content(answer.body, "application/json");
    });
  }
  std::unique_ptr<PackageService> packages;
  if (!o.Get("catalog").empty()) {
    packages.reset(new PackageService(o.Get("catalog"), key, o.Get("client-key")));
    server.Post(kIndexPath, [&](const httplib::Request& q, httplib::Response& r) {
      if (!state.Begin(q, r)) return;
      PackageService::Answer answer =
          packages->HandleIndex(q.body, q.get_header_value("X-Qmx-Nonce"), state.faults.Get());
      Reply(r, answer.status, answer.body);
    });
  }
  std::unique_ptr<Gateway> gateway;
  if (!o.Get("channels").empty()) {
    gateway.reset(new Gateway(o.Get("channels"), o.Get("gif-url")));
    server.Get(kWelcomePath, [&](const httplib::Request& q, httplib::Response& r) {
      if (!state.Begin(q, r)) return;
      Gateway::Answer answer = gateway->Welcome(q.get_param_value("channel"), state.faults.Get());
      Reply(r, answer.status, answer.body);
    });
    server.Get(kConfigPath, [&](const httplib::Request& q, httplib::Response& r) {
      if (!state.Begin(q, r)) return;
      Gateway::Answer answer = gateway->InstallerConfig(q.get_param_value("appId"), state.faults.Get());
      Reply(r, answer.status, answer.body);
    });
    const std::string gif = ReadFile(o.Get("gif"));
    server.Get(kGifPath, [&state, gif](const httplib::Request& q, httplib::Response& r) {
      if (!state.Begin(q, r)) return;
      r.set_content(gif, "image/gif");
    });
  }
  std::unique_ptr<ReportStore> reports;
  if (!o.Get("reports").empty()) {
    reports.reset(new ReportStore(o.Get("reports")));
    // A multipart reader, which hands the parts over in the order of the
    // body (the server's own parsing would sort them).
    server.Post(kReportPath, [&](const httplib::Request& q, httplib::Response& r, const httplib::ContentReader& read) {
      std::vector<std::pair<std::string, std::string>> fields;
      if (!q.is_multipart_form_data()) return Reply(r, 400, "{\"code\":2,\"message\":\"not a multipart form\"}");
      read(
          [&fields](const httplib::MultipartFormData& part) {
            fields.emplace_back(part.name, std::string());
            return true;
          },
          [&fields](const char* data, size_t size) {
            fields.back().second.append(data, size);
            return true;
          });
      if (!state.Begin(q, r)) return;
      const Fault fault = state.faults.Get();
      if (fault != Fault::kNotFound) reports->Add(fields);
      if (fault == Fault::kNotFound) return Reply(r, 404, "not found");
      if (fault == Fault::kNotJson) return Reply(r, 200, "<html>stored, but not JSON</html>");
      Reply(r, 200, fault == Fault::kCodeOne ? "{\"code\":1,\"data\":null}" : "{\"code\":0,\"data\":\"ok\"}");
    });
  }
  if (reports)
    server.Get("/admin/reports", [&reports](const httplib::Request& q, httplib::Response& r) {
      if (q.remote_addr.rfind("127.", 0) != 0) return Reply(r, 403, "loopback only");
      std::string lines;
      for (const Json::Value& row : reports->Query()) lines += Compact(row) + "\n";
      r.set_content(lines, "application/json");
    });
  g_server = &server;
  g_faults = &state.faults;
  std::signal(SIGTERM, [](int) { g_faults->Release(), g_server->stop(); });
  std::signal(SIGINT, [](int) { g_faults->Release(), g_server->stop(); });
  if (!server.listen(listen.substr(0, colon).c_str(), std::stoi(listen.substr(colon + 1)))) {
    std::cerr << "cannot listen on " << listen << "\n";
    return 1;
  }
  return 0;
}

int PrintReports(const Options& o) {
  if (o.Get("db").empty()) {
    std::cerr << "needs --db FILE\n";
    return 2;
  }
  ReportStore store(o.Get("db"));
  for (const Json::Value& row : store.Query()) std::cout << Compact(row) << "\n";
  return 0;
}

int Print(const Options& o, int type) {
  if (o.Get("db").empty()) {
    std::cerr << "needs --db FILE\n";
    return 2;
  }
  EventStore store(o.Get("db"));
  Json::StreamWriterBuilder builder;
  builder["indentation"] = "";
  builder["emitUTF8"] = true;
  for (const Json::Value& row : store.Query(type ? type : std::stoi(o.Get("type", "0")), o.Get("name")))
    std::cout << Json::writeString(builder, row) << "\n";
  return 0;
}

int SealOrOpen(const Options& o, bool seal) {
  if (o.Get("key").empty() || o.plain.size() != 2) {
    std::cerr << "needs --key B64 IN OUT\n";
    return 2;
  }
  std::string in = ReadFile(o.plain[0]);
  if (!seal && in.rfind("POST ", 0) == 0 && in.find("\r\n\r\n") != std::string::npos)
    in = in.substr(in.find("\r\n\r\n") + 4);
  std::string out;
  if (seal)
    out = SealTo(o.Get("key"), in);
  else if (!OpenWith(o.Get("key"), in, &out))
    out.clear();
  if (out.empty() && !(seal && in.empty())) return 3;
  return WriteFile(o.plain[1], out) ? 0 : 1;
}

// answer --key CLIENT-PUBLIC --service-key SERVICE-PRIVATE [--nonce HEX]
// REQUEST IN OUT: IN's bytes as the package service answers REQUEST (its
// X-Qmx-Nonce, or --nonce), signed and sealed.
int Answer(const Options& o) {
  if (o.Get("key").empty() || o.Get("service-key").empty() || o.plain.size() != 3) {
    std::cerr << "needs --key B64 --service-key B64 REQUEST IN OUT\n";
    return 2;
  }
  std::string request = ReadFile(o.plain[0]);
  std::string nonce = o.Get("nonce");
  const std::string field = "\r\nX-Qmx-Nonce: ";
  size_t at = request.find(field);
  if (nonce.empty() && at != std::string::npos) nonce = request.substr(at + field.size(), kAnswerNonceSize);
  std::string out = SealSignedAnswer(o.Get("key"), o.Get("service-key"), nonce, ReadFile(o.plain[1]));
  if (out.empty()) return 3;
  return WriteFile(o.plain[2], out) ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: velora-stack serve|events|records|reports|seal|open|answer ...\n";
    return 2;
  }
  std::string command = argv[1];
  Options options = ParseOptions(argc, argv);
  try {
    if (command == "serve") return Serve(options);
    if (command == "events") return Print(options, 6);
    if (command == "records") return Print(options, 0);
    if (command == "reports") return PrintReports(options);
    if (command == "seal") return SealOrOpen(options, true);
    if (command == "open") return SealOrOpen(options, false);
    if (command == "answer") return Answer(options);
  } catch (const std::exception& e) {
    std::cerr << command << ": " << e.what() << "\n";
    return 1;
  }
  std::cerr << "unknown command " << command << "\n";
  return 2;
}

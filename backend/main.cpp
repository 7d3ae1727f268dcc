// velora-stack: the local service stack and its tools.
//   velora-stack serve --listen IP:PORT --db FILE --service-key B64 [--app-key KEY] [--delay-ms N]
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

#include "backend/collector.h"
#include "backend/event_store.h"
#include "backend/seal.h"

namespace {

constexpr char kSensorPath[] = "/sa";

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

int Serve(const Options& o) {
  std::string listen = o.Get("listen"), db = o.Get("db"), key = o.Get("service-key");
  size_t colon = listen.rfind(':');
  if (colon == std::string::npos || db.empty() || key.empty()) {
    std::cerr << "serve needs --listen IP:PORT, --db FILE and --service-key\n";
    return 2;
  }
  EventStore store(db);
  Collector collector(store, key, o.Get("app-key"));
  const int delayMs = std::stoi(o.Get("delay-ms", "0"));
  httplib::Server server;
  server.Post(kSensorPath, [&](const httplib::Request& request, httplib::Response& response) {
    if (delayMs > 0) std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
    Collector::Answer answer = collector.HandleBatch(request.body);
    response.status = answer.status;
    response.set_content(answer.body, "application/json");
  });
  g_server = &server;
  std::signal(SIGTERM, [](int) { g_server->stop(); });
  std::signal(SIGINT, [](int) { g_server->stop(); });
  if (!server.listen(listen.substr(0, colon).c_str(), std::stoi(listen.substr(colon + 1)))) {
    std::cerr << "cannot listen on " << listen << "\n";
    return 1;
  }
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

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::cerr << "usage: velora-stack serve|events|records|seal|open ...\n";
    return 2;
  }
  std::string command = argv[1];
  Options options = ParseOptions(argc, argv);
  try {
    if (command == "serve") return Serve(options);
    if (command == "events") return Print(options, 6);
    if (command == "records") return Print(options, 0);
    if (command == "seal") return SealOrOpen(options, true);
    if (command == "open") return SealOrOpen(options, false);
  } catch (const std::exception& e) {
    std::cerr << command << ": " << e.what() << "\n";
    return 1;
  }
  std::cerr << "unknown command " << command << "\n";
  return 2;
}

// The exports of Qmx.dll (see sdk/qmx_api.h for the contract).
#include <windows.h>
// shellapi.h needs windows.h first.
#include <shellapi.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <deque>
#include <map>
#include <mutex>
#include <set>

#include "sdk/config.h"
#include "sdk/crash_report.h"
#include "sdk/http_post.h"
#include "sdk/machine_id.h"
#include "sdk/qmx_api.h"
#include "sdk/random.h"
#include "sdk/record.h"
#include "sdk/sender.h"

namespace {

constexpr int kOk = 0;
constexpr int kBadArgument = 1;
constexpr int kNotReady = 2;
constexpr unsigned kFlushMs = 2000;
constexpr wchar_t kSpoolName[] = L"qmx_spool.dat";

struct Client {
  Sender sender;
  Client() : sender(LibraryFolder() + kSpoolName, MakeSocketTransport()) {}
};

struct RecordHandle {
  Client* owner;
  Record record;
};

std::mutex& ClientsLock() {
  static std::mutex lock;
  return lock;
}

std::set<Client*>& LiveClients() {
  static std::set<Client*> clients;
  return clients;
}

bool IsLive(Client* client) {
  std::lock_guard<std::mutex> hold(ClientsLock());
  return LiveClients().count(client) != 0;
}

// Identifier texts handed out by qmxMid/qmxMidEx live until the process ends.
const char* CachedMachineId(int kind) {
  static std::mutex lock;
  static std::map<int, std::string> ids;
  std::lock_guard<std::mutex> hold(lock);
  auto found = ids.find(kind);
  if (found == ids.end()) found = ids.emplace(kind, MachineId(kind)).first;
  return found->second.c_str();
}

bool Filled(const char* text) { return text && *text; }

// The nonces of the sealed requests built so far whose answer has not been
// opened: an answer counts only when it repeats one of them, once, so an
// answer recorded earlier cannot be played again.
class OutstandingNonces {
 public:
  static constexpr size_t kKept = 16;
  void Add(const std::string& nonce) {
    std::lock_guard<std::mutex> hold(lock_);
    nonces_.push_back(nonce);
    if (nonces_.size() > kKept) nonces_.pop_front();
  }
  bool Take(const std::string& nonce) {
    std::lock_guard<std::mutex> hold(lock_);
    for (auto it = nonces_.begin(); it != nonces_.end(); ++it)
      if (*it == nonce) {
        nonces_.erase(it);
        return true;
      }
    return false;
  }

 private:
  std::mutex lock_;
  std::deque<std::string> nonces_;
};

OutstandingNonces& Nonces() {
  static OutstandingNonces nonces;
  return nonces;
}

char* CopyOut(const std::string& bytes, int* outLength) {
  char* out = static_cast<char*>(std::malloc(bytes.size() + 1));
  if (!out) return nullptr;
  std::memcpy(out, bytes.data(), bytes.size());
  out[bytes.size()] = '\0';
  if (outLength) *outLength = static_cast<int>(bytes.size());
  return out;
}

void FlushAll(unsigned waitMs) {
  std::set<Client*> clients;
  {
    std::lock_guard<std::mutex> hold(ClientsLock());
    clients.swap(LiveClients());
  }
  for (Client* client : clients) client->sender.Stop(waitMs);
}

}  // namespace

extern "C" {

__declspec(dllexport) int __stdcall qmxCreate(void** handle) {
  if (!handle) return kBadArgument;
  *handle = nullptr;
  Client* client = new (std::nothrow) Client;
  if (!client) return kNotReady;
  {
    std::lock_guard<std::mutex> hold(ClientsLock());
    LiveClients().insert(client);
  }
  SetCrashFlush(FlushAll);
  // Seeding the random generator and reading the machine id take a while
  // once; done here, the first record costs its writer no more than others.
  RandomHexId();
  CachedMachineId(0);
  *handle = client;
  return kOk;
}

__declspec(dllexport) int __stdcall qmxSetApplyKey(const char* appId, const char* appKey) {
  if (!Filled(appId) || !Filled(appKey)) return kBadArgument;
  UpdateConfig([&](SdkConfig& c) {
    c.appId = appId;
    c.appKey = appKey;
  });
  return kOk;
}

__declspec(dllexport) int __stdcall qmxSetAppInfo(const char* appName, int, int) {
  if (!Filled(appName)) return kBadArgument;
  UpdateConfig([&](SdkConfig& c) { c.appName = appName; });
  return kOk;
}

__declspec(dllexport) int __stdcall qmxSetHostInfo(const char* host, int port) {
  if (!Filled(host) || port <= 0 || port > 65535) return kBadArgument;
  UpdateConfig([&](SdkConfig& c) {
    c.host = host;
    c.port = port;
  });
  return kOk;
}

__declspec(dllexport) int __stdcall qmxSetSensorUrl(const char* path) {
  if (!Filled(path) || path[0] != '/') return kBadArgument;
  UpdateConfig([&](SdkConfig& c) { c.sensorPath = path; });
  return kOk;
}

__declspec(dllexport) int __stdcall qmxSetMidVersion(int version) {
  if (version < 1) return kBadArgument;
  UpdateConfig([&](SdkConfig& c) { c.midVersion = version; });
  return kOk;
}

__declspec(dllexport) int __stdcall qmxSetPubCertificate(const char* base64Der) {
  std::shared_ptr<SealingKey> key(Filled(base64Der) ? SealingKey::FromBase64(base64Der) : nullptr);
  if (!key) return kBadArgument;
  UpdateConfig([&](SdkConfig& c) { c.sealing = key; });
  return kOk;
}

__declspec(dllexport) int __stdcall qmxSetPriCcertificate(const char* base64Der) {
  std::shared_ptr<OpeningKey> key(Filled(base64Der) ? OpeningKey::FromBase64(base64Der) : nullptr);
  if (!key) return kBadArgument;
  UpdateConfig([&](SdkConfig& c) { c.opening = key; });
  return kOk;
}

__declspec(dllexport) int __stdcall qmxEnableCrashReport(QmxCrashCallback callback, void* context) {
  if (!callback) return kBadArgument;
  EnableCrashReport(callback, context);
  return kOk;
}

__declspec(dllexport) int __stdcall qmxFree(void* handle) {
  Client* client = static_cast<Client*>(handle);
  {
    std::lock_guard<std::mutex> hold(ClientsLock());
    if (!client || !LiveClients().erase(client)) return kBadArgument;
  }
  client->sender.Stop(kFlushMs);
  delete client;
  return kOk;
}

// Looked up by the installer and never called; kept for the contract.
__declspec(dllexport) int __stdcall qmxEnableSandbox(int) { return kOk; }
__declspec(dllexport) int __stdcall qmxSetNetProtocol(int) { return kOk; }
__declspec(dllexport) int __stdcall qmxSetURLVersion(const char*) { return kOk; }

__declspec(dllexport) int __stdcall qmxCLTCreate(void* handle, int type, void** record) {
  if (!record) return kBadArgument;
  *record = nullptr;
  Client* client = static_cast<Client*>(handle);
  if (!client || type <= 0) return kBadArgument;
  if (!IsLive(client)) return kNotReady;
  std::string id = RandomHexId();
  if (id.empty()) return kNotReady;
  *record = new (std::nothrow) RecordHandle{client, Record(type, static_cast<int64_t>(std::time(nullptr)), id)};
  return *record ? kOk : kNotReady;
}

__declspec(dllexport) int __stdcall qmxCLTSensorWriteEvent(void* record, const char* name, int32_t eventId) {
  if (!record || !Filled(name)) return kBadArgument;
  static_cast<RecordHandle*>(record)->record.SetEvent(name, eventId);
  return kOk;
}

__declspec(dllexport) int __stdcall qmxCLTSensorWriteIntProperties(void* record, const char* key, int64_t value) {
  if (!record || !Filled(key)) return kBadArgument;
  static_cast<RecordHandle*>(record)->record.AddInt(key, value);
  return kOk;
}

__declspec(dllexport) int __stdcall qmxCLTSensorWriteBoolProperties(void* record, const char* key, int value) {
  if (!record || !Filled(key)) return kBadArgument;
  static_cast<RecordHandle*>(record)->record.AddBool(key, value != 0);
  return kOk;
}

__declspec(dllexport) int __stdcall qmxCLTSensorWriteStringProperties(void* record, const char* key,
                                                                      const char* value) {
  if (!record || !Filled(key) || !value) return kBadArgument;
  static_cast<RecordHandle*>(record)->record.AddString(key, value);
  return kOk;
}

__declspec(dllexport) int __stdcall qmxCLTWriteInt(void* record, int field, int32_t value) {
  if (!record) return kBadArgument;
  static_cast<RecordHandle*>(record)->record.AddIntField(field, value);
  return kOk;
}

__declspec(dllexport) int __stdcall qmxCLTWriteData(void* record, int field, const void* data, int length) {
  if (!record || length < 0 || (length > 0 && !data)) return kBadArgument;
  static_cast<RecordHandle*>(record)->record.AddDataField(
      field, std::string(static_cast<const char*>(data), static_cast<size_t>(length)));
  return kOk;
}

__declspec(dllexport) int __stdcall qmxCLTCommit(void* record) {
  if (!record) return kBadArgument;
  RecordHandle* r = static_cast<RecordHandle*>(record);
  std::lock_guard<std::mutex> hold(ClientsLock());
  if (!LiveClients().count(r->owner)) return kNotReady;
  return r->owner->sender.Enqueue(r->record.ToJson(CurrentConfig().appId, CachedMachineId(0))) ? kOk : kNotReady;
}

__declspec(dllexport) int __stdcall qmxCLTFree(void* record) {
  if (!record) return kBadArgument;
  delete static_cast<RecordHandle*>(record);
  return kOk;
}

__declspec(dllexport) char* __stdcall qmxBuildHttpData(const char* path, const void* data, int length, int* outLength,
                                                       int, const char* version) {
  if (outLength) *outLength = 0;
  if (!Filled(path) || path[0] != '/' || !data || length <= 0 || !outLength) return nullptr;
  SdkConfig config = CurrentConfig();
  if (!config.sealing || config.host.empty()) return nullptr;
  std::string sealed = config.sealing->Seal(std::string(static_cast<const char*>(data), static_cast<size_t>(length)));
  std::string nonce = RandomHexId();
  if (sealed.empty() || nonce.size() != OpeningKey::kNonceTextSize) return nullptr;
  std::string headers = "X-Qmx-App: " + config.appId + "\r\n";
  if (Filled(version)) headers += std::string("X-Qmx-Version: ") + version + "\r\n";
  headers += "X-Qmx-Nonce: " + nonce + "\r\n";
  Nonces().Add(nonce);
  return CopyOut(BuildPostRequest(config.host, config.port, path, "application/octet-stream", headers, sealed),
                 outLength);
}

__declspec(dllexport) char* __stdcall qmxDecryptData(const void* data, int length, int* outLength) {
  if (outLength) *outLength = 0;
  if (!data || length <= 0 || !outLength) return nullptr;
  SdkConfig config = CurrentConfig();
  std::string nonce, plain;
  // Only an answer the service signed for one of our requests is opened.
  if (!config.opening || !config.sealing ||
      !config.opening->OpenSigned(std::string(static_cast<const char*>(data), static_cast<size_t>(length)),
                                  *config.sealing, &nonce, &plain) ||
      plain.empty() || !Nonces().Take(nonce))
    return nullptr;
  return CopyOut(plain, outLength);
}

__declspec(dllexport) void __stdcall qmxDataFree(void* data) { std::free(data); }

__declspec(dllexport) const char* __stdcall qmxMid() { return CachedMachineId(0); }

__declspec(dllexport) const char* __stdcall qmxMidEx(int kind) { return CachedMachineId(kind); }

__declspec(dllexport) int __stdcall qmxOpenUrl(const char* url) {
  if (!Filled(url)) return kBadArgument;
  HINSTANCE result = ShellExecuteA(nullptr, "open", url, nullptr, nullptr, SW_SHOWNORMAL);
  return reinterpret_cast<INT_PTR>(result) > 32 ? kOk : kNotReady;
}

}  // extern "C"

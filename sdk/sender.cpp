#include "sdk/sender.h"

#include <windows.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "sdk/config.h"
#include "sdk/record.h"
#include "sdk/spool.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr int kTimeoutMs = 1500;
constexpr auto kFirstBackoff = std::chrono::milliseconds(500);
constexpr auto kMaxBackoff = std::chrono::seconds(30);

struct Entry {
  uint64_t seq;
  std::string json;
};

enum class Outcome { kAcknowledged, kRejected, kFailed, kNotConfigured };
constexpr auto kConfigWait = std::chrono::milliseconds(50);

// The batch's body before sealing.
std::string BatchJson(const SdkConfig& config, const std::vector<Entry>& batch) {
  std::string json = "{\"app_id\":" + JsonString(config.appId) + ",\"app_key\":" + JsonString(config.appKey) +
                     ",\"app_name\":" + JsonString(config.appName) + ",\"records\":[";
  for (size_t i = 0; i < batch.size(); ++i) json += (i ? "," : "") + batch[i].json;
  return json + "]}";
}

}  // namespace

struct Sender::Shared {
  std::wstring spoolPath;
  std::unique_ptr<Transport> transport;

  // Guards the fresh queue and the flags; the caller's side only takes this.
  std::mutex queueLock;
  std::condition_variable wake;
  std::deque<std::string> fresh;
  bool stopping = false;
  bool finished = false;
  Clock::time_point deadline;

  // Guards the spool file and the pending list (spooled, not acknowledged).
  // Taken before queueLock where both are held.
  std::mutex spoolLock;
  std::deque<Entry> pending;
  std::atomic<size_t> pendingCount{0};  // pending.size(), readable without the lock
  uint64_t nextSeq = 0;

  // Moves the fresh records into the spool and the pending list.
  void SpoolFresh() {
    std::lock_guard<std::mutex> spool(spoolLock);
    std::deque<std::string> taken;
    {
      std::lock_guard<std::mutex> queue(queueLock);
      taken.swap(fresh);
    }
    if (taken.empty()) return;
    std::vector<std::string> payloads(taken.begin(), taken.end());
    AppendSpool(spoolPath, payloads);
    for (std::string& json : taken) pending.push_back({nextSeq++, std::move(json)});
    // The bound: the oldest records give way.
    while (pending.size() > kMaxQueued) pending.pop_front();
    pendingCount = pending.size();
  }

  void Rewrite() {
    std::vector<std::string> payloads;
    for (const Entry& e : pending) payloads.push_back(e.json);
    RewriteSpool(spoolPath, payloads);
  }

  void LoadSpool() {
    std::lock_guard<std::mutex> spool(spoolLock);
    for (std::string& json : ReadSpool(spoolPath)) pending.push_back({nextSeq++, std::move(json)});
    pendingCount = pending.size();
    // Written back clean, so that records appended later follow a sound file.
    Rewrite();
  }

  Outcome SendOne(std::vector<Entry>* batch) {
    {
      std::lock_guard<std::mutex> spool(spoolLock);
      for (size_t i = 0; i < pending.size() && i < kBatch; ++i) batch->push_back(pending[i]);
    }
    if (batch->empty()) return Outcome::kAcknowledged;
    SdkConfig config = CurrentConfig();
    if (config.host.empty() || config.sensorPath.empty() || !config.sealing) return Outcome::kNotConfigured;
    std::string sealed = config.sealing->Seal(BatchJson(config, *batch));
    if (sealed.empty()) return Outcome::kFailed;
    std::string request = BuildPostRequest(config.host, config.port, config.sensorPath, "application/octet-stream",
                                           "X-Qmx-App: " + config.appId + "\r\n", sealed);
    std::string response, body;
    int status = 0;
    if (!transport->Exchange(config.host, config.port, request, kTimeoutMs, &response) ||
        !ParseHttpResponse(response, &status, &body))
      return Outcome::kFailed;
    if (status == 200 && body.find("\"code\":0") != std::string::npos) return Outcome::kAcknowledged;
    // The collector says the batch can never be stored: keeping it would
    // block every later record.
    if (status == 400 && body.find("\"code\":") != std::string::npos) return Outcome::kRejected;
    return Outcome::kFailed;
  }

  void Drop(const std::vector<Entry>& batch) {
    std::lock_guard<std::mutex> spool(spoolLock);
    uint64_t last = batch.back().seq;
    while (!pending.empty() && pending.front().seq <= last) pending.pop_front();
    pendingCount = pending.size();
    Rewrite();
  }

  bool HasPending() const { return pendingCount > 0; }

  void Run() {
    auto backoff = kFirstBackoff;
    std::chrono::milliseconds configWait = kConfigWait;
    Clock::time_point retryAt = Clock::now();
    for (;;) {
      bool stop;
      {
        std::unique_lock<std::mutex> queue(queueLock);
        bool waitingRetry = Clock::now() < retryAt;
        wake.wait_until(queue, waitingRetry ? retryAt : Clock::now() + std::chrono::hours(1),
                        [&] { return stopping || !fresh.empty() || (!waitingRetry && HasPending()); });
        stop = stopping;
      }
      SpoolFresh();
      // One more try when stopping, whatever the back-off says.
      if (stop || Clock::now() >= retryAt) {
        while (HasPending() && (!stop || Clock::now() < deadline)) {
          std::vector<Entry> batch;
          Outcome outcome = SendOne(&batch);
          // The handle is made before it is configured: short waits first.
          if (outcome == Outcome::kNotConfigured) {
            retryAt = Clock::now() + configWait;
            configWait = configWait * 2 > kMaxBackoff ? kMaxBackoff : configWait * 2;
            break;
          }
          if (outcome == Outcome::kFailed) {
            retryAt = Clock::now() + backoff;
            backoff = backoff * 2 > kMaxBackoff ? kMaxBackoff : backoff * 2;
            break;
          }
          if (!batch.empty()) Drop(batch);
          backoff = kFirstBackoff;
          SpoolFresh();
        }
      }
      if (stop) break;
    }
    std::lock_guard<std::mutex> queue(queueLock);
    finished = true;
    wake.notify_all();
  }
};

Sender::Sender(std::wstring spoolPath, std::unique_ptr<Transport> transport) : shared_(std::make_shared<Shared>()) {
  shared_->spoolPath = std::move(spoolPath);
  shared_->transport = std::move(transport);
  // Before anything new can be spooled, so the file is read exactly once.
  shared_->LoadSpool();
  std::shared_ptr<Shared> shared = shared_;
  std::thread([shared] { shared->Run(); }).detach();
}

Sender::~Sender() {
  if (!stopped_) Stop(2000);
}

bool Sender::Enqueue(std::string recordJson) {
  std::lock_guard<std::mutex> queue(shared_->queueLock);
  if (shared_->stopping || shared_->fresh.size() >= kMaxQueued) return false;
  shared_->fresh.push_back(std::move(recordJson));
  shared_->wake.notify_one();
  return true;
}

void Sender::Stop(uint32_t waitMs) {
  if (stopped_) return;
  stopped_ = true;
  Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(waitMs);
  {
    std::lock_guard<std::mutex> queue(shared_->queueLock);
    shared_->stopping = true;
    shared_->deadline = deadline;
  }
  // Whatever the thread is doing, the queued records are on disk before the
  // wait begins.
  shared_->SpoolFresh();
  std::unique_lock<std::mutex> queue(shared_->queueLock);
  shared_->wake.notify_all();
  shared_->wake.wait_until(queue, deadline, [&] { return shared_->finished; });
}

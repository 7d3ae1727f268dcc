#include "services/stop_signal.h"

StopSignal::StopSignal() : wake_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}

void StopSignal::Stop() {
  stopped_.store(true);
  if (wake_.Get()) SetEvent(wake_.Get());
  std::lock_guard<std::mutex> hold(lock_);
  if (client_) client_->Interrupt();
}

bool StopSignal::Sleep(DWORD ms) {
  if (Stopped()) return false;
  if (wake_.Get())
    WaitForSingleObject(wake_.Get(), ms);
  else
    ::Sleep(ms);
  return !Stopped();
}

StopSignal::Attached::Attached(StopSignal& signal, CTCPClient& client) : signal_(signal) {
  std::lock_guard<std::mutex> hold(signal_.lock_);
  signal_.client_ = &client;
  if (signal_.Stopped()) client.Interrupt();
}

StopSignal::Attached::~Attached() {
  std::lock_guard<std::mutex> hold(signal_.lock_);
  signal_.client_ = nullptr;
}

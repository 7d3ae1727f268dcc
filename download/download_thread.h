#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "download/url_info.h"
#include "net/http_headers.h"
#include "net/tcp_client.h"
#include "platform/thread.h"

class ILoggerServer;

// Downloads one byte range of the package with ranged GETs, each on a fresh
// connection, resuming after every drop from the first byte not yet
// received, and hands the data to the writer in pieces of up to 1 MB. A
// connection whose header takes longer than kHeaderTimeLimitMs, or whose
// body brings less than kLowSpeedBytes in kLowSpeedWindowMs, counts as
// dropped.
class CDownloadThread : public CCorvixBasedThread, public CTCPClient {
 public:
  enum State { kRunning = 1, kCancel = 3, kFinished = 4, kFailed = 5 };
  static constexpr int32_t kBufferSize = 1 << 20;
  static constexpr int32_t kPiece = 1024;
  static constexpr DWORD kLowSpeedWindowMs = 10000;
  static constexpr int64_t kLowSpeedBytes = 10240;

  // Splits the URL and resolves its host (falling back to the public
  // resolver); throws when that fails, and the worker does not exist.
  CDownloadThread(const std::string& url, int timeoutMs, int attemptLimit, int64_t position, int64_t end,
                  IBlockWriter* writer, int32_t block, ILoggerServer* logger);
  // Cancels and waits without limit; a receive in progress ends at once.
  ~CDownloadThread() override;

  int State() const { return state_; }

 protected:
  unsigned Run() override;

 private:
  bool SendRequest();
  bool Receive();
  bool ExamineHeader();
  bool FollowRedirect(const HttpHeaders& headers);
  bool TooSlow(int32_t got);
  void WriteOut();
  void Pause(DWORD ms);
  void Report(const char* status);

  std::atomic<int> state_{kRunning};
  std::unique_ptr<char[]> buffer_;
  int32_t fill_ = 0;
  std::string host_;
  uint16_t port_ = 80;
  std::string path_;
  int attemptLimit_;
  int64_t position_;
  int64_t end_;
  int64_t fileBase_;
  int64_t written_ = 0;
  std::string url_;
  IBlockWriter* writer_;
  int32_t block_;
  ILoggerServer* logger_;
  bool headerPending_ = true;
  DWORD attemptStart_ = 0;
  DWORD windowStart_ = 0;
  int64_t windowBytes_ = 0;
};

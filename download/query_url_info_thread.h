#pragma once
#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "download/download_env.h"
#include "download/url_info.h"
#include "download/url_parts.h"
#include "net/http_headers.h"
#include "platform/thread.h"

class CTCPHttp;

// Finds out where the package is, how large it is and what its file is to be
// called: the candidates of the package index (or the default URL), each
// asked with HEAD, redirects followed. Runs from construction on; the result
// goes to the receiver at the end of the run, then Done becomes true.
class QueryUrlInfoThread : public CCorvixBasedThread {
 public:
  // Returns once the thread has begun its run.
  QueryUrlInfoThread(const DownloadEnv& env, IUrlInfoReceiver* receiver);
  // Stops the thread at its next check and waits for it without limit.
  ~QueryUrlInfoThread() override;

  bool Done() const { return done_; }
  // The URL being resolved, else the first resolved URL, else the default URL.
  std::string CurrentUrl();

  // A redirect chain longer than this fails its candidate.
  static constexpr int kMaxRedirects = 8;
  // Only this many candidates of the index, the best ranked, are asked.
  static constexpr int kMaxCandidates = 16;

 protected:
  unsigned Run() override;

 private:
  bool CollectFromIndex();
  void CheckReachability();
  bool ResolveUrl(const std::string& url, const std::string& version);
  HttpHeaders HeaderLines(std::string& url);
  HttpHeaders HeadWithRetries(const UrlParts& parts);
  void CheckStop();
  void ReportError(const char* status);
  UrlParts Split(const std::string& url);

  DownloadEnv env_;
  IUrlInfoReceiver* receiver_;
  std::atomic<bool> stop_{false};
  std::atomic<bool> started_{false};
  DWORD runStart_ = 0;
  std::atomic<bool> done_{false};
  std::mutex lock_;  // url_, result_.urls and client_ against CurrentUrl and the destructor
  std::string url_;
  UrlInfo result_;
  UrlParts candidate_;
  CTCPHttp* client_ = nullptr;
};

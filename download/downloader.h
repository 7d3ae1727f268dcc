#pragma once
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "download/download_env.h"
#include "download/download_thread.h"
#include "download/query_url_info_thread.h"
#include "download/url_info.h"
#include "platform/file_stream.h"
#include "platform/xmutex.h"

// Gets the package onto the disk: resolution, two ranged workers, the MD5
// check and the record in config.ini, or a verified package of an earlier run.
// The progress page starts it, polls GetState every 50 ms and releases it.
// States: 0 idle, 1 running, 3 being destroyed, 4 package ready, 5 failed.
class IDownloader {
 public:
  virtual bool Start() = 0;
  // Downloaded bytes x 100 / package size; 0 while the size is unknown.
  virtual int32_t GetPercent() = 0;
  // The poll that advances everything; returns the state.
  virtual int32_t GetState() = 0;
  virtual void Release() = 0;
  virtual std::wstring GetFilePath() = 0;
  virtual std::string GetCurrentUrl() = 0;
  // The package runs elevated, so from its check to the end of its setup it
  // cannot be replaced: a handle that denies writing and deleting is held
  // from state 4 on. True when the file behind that handle still has the
  // verified digest; called just before the launch.
  virtual bool CheckPackageBeforeLaunch() = 0;
  // Lets go of the package once its setup has exited.
  virtual void ReleasePackage() = 0;

 protected:
  virtual ~IDownloader() = default;
};

// The report of a download that ended in state 3 or 5 ("pSoftDownloadResult"
// "下载失败", download time -1); the progress page and the windowless driver
// both send it.
void ReportFailedDownload(ILoggerServer* logger);

// A new orchestrator over the given services, or null.
IDownloader* CreateDownloader(const DownloadEnv& env);

class CDownloader : public IDownloader, public IUrlInfoReceiver, public IBlockWriter {
 public:
  static constexpr int kBlockCount = 2;
  static constexpr int kSocketTimeoutMs = 2000;
  static constexpr int kAttemptLimit = 20;

  explicit CDownloader(const DownloadEnv& env);
  ~CDownloader() override;

  bool Start() override;
  int32_t GetPercent() override;
  int32_t GetState() override;
  void Release() override { delete this; }
  std::wstring GetFilePath() override;
  std::string GetCurrentUrl() override;
  bool CheckPackageBeforeLaunch() override;
  void ReleasePackage() override;

  bool OnUrlInfo(const UrlInfo& info) override;
  bool WriteBlock(const char* data, int32_t n, int32_t block, int64_t offset) override;

 private:
  struct Block {
    std::string url;
    std::unique_ptr<CDownloadThread> worker;
    std::atomic<int64_t> position{0};
    int64_t end = 0;
    bool Complete() const { return position > end; }
  };

  bool StartWorkers();
  void StopWorkers();
  bool LocalReuse();
  void LocalFallback();
  void UseLocalPackage(const std::wstring& path);
  void CreateFileAnew();
  bool Verify();
  void RecordPackage();
  void ResetForFullDownload();
  int32_t Fail();
  void ReportError(const char* status);
  bool HoldPackage(const std::wstring& digest);

  DownloadEnv env_;
  std::atomic<int32_t> state_{0};
  CXMutex lock_;  // the file, the counters and the file path
  std::wstring filePath_;
  int64_t size_ = 0;
  std::atomic<int64_t> downloaded_{0};
  std::unique_ptr<CFileStream> file_;
  std::unique_ptr<QueryUrlInfoThread> resolver_;
  std::vector<std::unique_ptr<Block>> blocks_;
  std::unique_ptr<CFileStream> guard_;  // read-only, denies writing and deleting
  std::string guardDigest_;
  bool guardHashed_ = false;  // guardDigest_ was computed through guard_
  bool winsock_ = false;
};

#include "download/downloader.h"

#include <winsock2.h>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "download/cache_location.h"
#include "download/package_name.h"
#include "platform/digest.h"
#include "platform/file_system.h"
#include "platform/text.h"
#include "platform/version_order.h"
#include "services/app_info.h"
#include "services/pkg_info.h"

void ReportFailedDownload(ILoggerServer* logger) {
  logger->ClearProperties();
  logger->SetStringProperty(prop::kSoftDownloadStatus, value::kDownloadFailed);
  logger->SetIntProperty(prop::kDownloadTime, -1);
  logger->WriteEvent(event::kSoftDownloadResult);
}

IDownloader* CreateDownloader(const DownloadEnv& env) {
  try {
    return new CDownloader(env);
  } catch (...) {
    return nullptr;
  }
}

CDownloader::CDownloader(const DownloadEnv& env) : env_(env) {
  WSADATA data;
  winsock_ = WSAStartup(MAKEWORD(1, 1), &data) == 0;
}

CDownloader::~CDownloader() {
  state_ = 3;
  resolver_.reset();
  StopWorkers();
  file_.reset();
  guard_.reset();
  blocks_.clear();
  if (winsock_) WSACleanup();
}

void CDownloader::ReportError(const char* status) {
  env_.logger->ClearProperties();
  env_.logger->SetStringProperty(prop::kErrorType, value::kDownloadThreadError);
  env_.logger->SetStringProperty(prop::kErrorStatus, status);
  env_.logger->WriteEvent(event::kSoftDownloadError);
}

bool CDownloader::Start() {
  int32_t before = state_;
  if (before == 1 || before == 4) return true;
  env_.logger->ClearProperties();
  env_.logger->WriteEvent(event::kSoftDownloadStart);
  if (!blocks_.empty()) {
    bool started = StartWorkers();
    if (started) state_ = 1;
    return started;
  }
  resolver_.reset();
  // Running before the thread exists: its result may already set state 4.
  state_ = 1;
  try {
    resolver_.reset(new QueryUrlInfoThread(env_, this));
    return true;
  } catch (...) {
    state_ = before;
    return false;
  }
}

int32_t CDownloader::GetPercent() { return size_ > 0 ? int32_t(downloaded_ * 100 / size_) : 0; }

std::wstring CDownloader::GetFilePath() {
  CXMutexGuard hold(lock_);
  return filePath_;
}

std::string CDownloader::GetCurrentUrl() { return resolver_ ? resolver_->CurrentUrl() : env_.defaultUrl; }

int32_t CDownloader::Fail() {
  StopWorkers();
  state_ = 5;
  return 5;
}

int32_t CDownloader::GetState() {
  if (state_ != 1) return state_;
  if (!resolver_) return Fail();
  if (!resolver_->Done()) return 1;
  if (state_ != 1) return state_;
  if (blocks_.empty()) {
    state_ = 5;
    return 5;
  }
  bool running = false;
  for (auto& block : blocks_) {
    if (block->Complete()) continue;
    if (!block->worker) return Fail();
    if (block->worker->IsRunning())
      running = true;
    else if (!block->Complete())  // it may have finished since the first look
      return Fail();
  }
  if (running) return 1;
  {
    CXMutexGuard hold(lock_);
    file_.reset();
  }
  if (!Verify()) {
    ResetForFullDownload();
    return 5;
  }
  StopWorkers();
  int64_t creation = 0, access = 0, lastWrite = 0;
  int64_t seconds =
      guard_ && guard_->GetTimes(creation, access, lastWrite) && lastWrite > creation ? lastWrite - creation : 0;
  env_.logger->ClearProperties();
  env_.logger->SetStringProperty(prop::kSoftDownloadStatus, value::kDownloadSucceeded);
  env_.logger->SetIntProperty(prop::kDownloadTime, seconds);
  env_.logger->WriteEvent(event::kSoftDownloadResult);
  RecordPackage();
  state_ = 4;
  return 4;
}

// Opens the package so that nobody can change or delete it, and remembers
// the digest it must keep.
bool CDownloader::HoldPackage(const std::wstring& digest) {
  guard_.reset();
  guardDigest_ = WideToAnsi(digest);
  guardHashed_ = false;
  try {
    HANDLE handle = OpenFileHandle(ModeRead | ShareDenyWrite, GetFilePath());
    if (!handle || handle == INVALID_HANDLE_VALUE) return false;
    guard_.reset(new CFileStream(handle));
    return true;
  } catch (...) {
    return false;
  }
}

bool CDownloader::Verify() {
  if (GetFilePath().empty()) return false;
  if (!HoldPackage(L"")) return false;
  // Hashed over the held handle: what is checked is what will run.
  std::string digest = Md5OfStream(*guard_);
  const char* expected = env_.pkgInfo ? env_.pkgInfo->GetMd5() : nullptr;
  if (expected && digest != expected) return false;
  guardDigest_ = digest;
  guardHashed_ = !digest.empty();
  return !digest.empty() || !expected;
}

void CDownloader::RecordPackage() {
  const char* indexed = env_.pkgInfo ? env_.pkgInfo->GetMd5() : nullptr;
  std::string md5 = indexed ? indexed : guardDigest_;
  std::wstring path = GetFilePath();
  if (!md5.empty() && !path.empty() && env_.settings.record)
    env_.settings.record(AnsiToWide(md5), path, AnsiToWide(guardDigest_));
}

bool CDownloader::CheckPackageBeforeLaunch() {
  if (!guard_ || guardDigest_.empty()) return false;
  // A digest taken through the held handle still holds: nobody could write
  // since. A reused package was checked only by its path at start-up.
  if (!guardHashed_) guardHashed_ = Md5OfStream(*guard_) == guardDigest_;
  return guardHashed_;
}

void CDownloader::ReleasePackage() {
  guard_.reset();
  guardHashed_ = false;
}

void CDownloader::CreateFileAnew() {
  guard_.reset();
  std::unique_ptr<CFileStream> file(new CFileStream(OpenFileHandle(ModeCreate, GetFilePath())));
  if (!file->SetSize(size_)) throw "set file size failed";
  CXMutexGuard hold(lock_);
  file_ = std::move(file);
}

void CDownloader::ResetForFullDownload() {
  state_ = 5;
  try {
    CreateFileAnew();
  } catch (...) {
  }
  StopWorkers();
  for (int i = 0; i < int(blocks_.size()); ++i) blocks_[i]->position = i * (size_ / kBlockCount);
  downloaded_ = 0;
}

bool CDownloader::StartWorkers() {
  for (int i = 0; i < int(blocks_.size()); ++i) {
    Block& block = *blocks_[i];
    if (block.Complete()) continue;
    block.worker.reset();
    try {
      block.worker.reset(new CDownloadThread(block.url, kSocketTimeoutMs, kAttemptLimit, block.position, block.end,
                                             this, i, env_.logger));
    } catch (...) {
      ReportError(value::kThreadNotCreated);
      StopWorkers();
      return false;
    }
  }
  return true;
}

void CDownloader::StopWorkers() {
  for (auto& block : blocks_) block->worker.reset();
}

bool CDownloader::WriteBlock(const char* data, int32_t n, int32_t block, int64_t offset) {
  CXMutexGuard hold(lock_);
  if (!file_ || block < 0 || block >= int32_t(blocks_.size())) return false;
  // A short write (a full disk) is a failed one: the block must stay incomplete.
  if (file_->SeekTo(offset) != offset || file_->Write(data, n) != n) return false;
  downloaded_ += n;
  blocks_[block]->position += n;
  return true;
}

void CDownloader::UseLocalPackage(const std::wstring& path) {
  {
    CXMutexGuard hold(lock_);
    filePath_ = path;
  }
  HoldPackage(env_.settings.md5 ? env_.settings.md5() : std::wstring());
  state_ = 4;
  env_.logger->ClearProperties();
  env_.logger->SetStringProperty(prop::kSoftDownloadStatus, value::kDownloadLocalFile);
  env_.logger->SetIntProperty(prop::kDownloadTime, -1);
  env_.logger->WriteEvent(event::kSoftDownloadResult);
}

bool CDownloader::LocalReuse() {
  const char* version = env_.pkgInfo ? env_.pkgInfo->GetVersion() : nullptr;
  std::wstring reference = version ? Utf8ToWide(version) : std::wstring();
  std::wstring candidate = env_.settings.path ? env_.settings.path() : std::wstring();
  if (reference.empty() || candidate.empty() || !env_.appInfo) return false;
  if (!NoPartOlder(WideToUtf8(env_.appInfo->GetProductVersion(candidate)), WideToUtf8(reference))) return false;
  UseLocalPackage(candidate);
  return true;
}

void CDownloader::LocalFallback() {
  std::wstring recorded = env_.settings.path ? env_.settings.path() : std::wstring();
  if (recorded.empty() || !env_.appInfo) return;
  if (!env_.appInfo->GetInstalledPath().empty() && !NoPartOlder(WideToUtf8(env_.appInfo->GetProductVersion(recorded)),
                                                                WideToUtf8(env_.appInfo->GetInstalledVersion())))
    return;
  UseLocalPackage(recorded);
}

bool CDownloader::OnUrlInfo(const UrlInfo& info) {
  if (info.size <= 0 || info.urls.empty()) {
    ReportError(value::kBadParameters);
    LocalFallback();
    return false;
  }
  try {
    if (LocalReuse()) return true;
    size_ = info.size;
    std::wstring folder = DataFolderIn(env_.cacheFolder);
    if (GetFilePath().empty()) {
      std::wstring name = ChannelPackageName(env_.ownVersion);
      if (name.empty()) name = SafePackageFileName(info.fileName);
      if (name.empty()) name = SafePackageFileName(env_.ownFileName);
      if (name.empty()) name = L"CorvixPkg.exe";
      CXMutexGuard hold(lock_);
      filePath_ = folder + name;
    }
    CreateDirectories(folder);
    try {
      CreateFileAnew();
    } catch (...) {
      // A full disk or a name the file system refuses: the next poll fails.
      ReportError(value::kWriteFileFailed);
      throw;
    }
    blocks_.clear();
    int64_t part = size_ / kBlockCount;
    for (int i = 0; i < kBlockCount; ++i) {
      std::unique_ptr<Block> block(new Block);
      block->url = info.urls.front();
      block->position = i * part;
      block->end = i == kBlockCount - 1 ? size_ - 1 : i * part + part - 1;
      blocks_.push_back(std::move(block));
    }
    return StartWorkers();
  } catch (...) {
    return false;
  }
}

// The whole download, with config.ini as the installer wires them, against
// the bench: nginx as the CDN and the fault origin, which drops, stalls,
// ignores ranges and lies when the path says so.
// Every request the origin sees is in origin.log; nginx's are in its access log.
#include <gtest/gtest.h>
#include <winsock2.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "app/session_settings.h"
#include "download/downloader.h"
#include "net/tests/recording_logger.h"
#include "platform/digest.h"
#include "platform/file_system.h"
#include "services/app_info.h"
#include "services/pkg_info.h"
#include "velora_profile.h"

namespace {

// The bench folder as Wine sees it.
std::wstring Bench() {
  const char* dir = getenv("VELORA_BENCH_DIR");
  std::wstring path = L"Z:";
  for (const char* c = dir ? dir : ""; *c; ++c) path.push_back(*c == '/' ? L'\\' : wchar_t(*c));
  return path + L"\\";
}

std::vector<std::string> LogLines(const std::wstring& path) {
  std::ifstream in(path.c_str());
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

std::vector<std::string> OriginRequests() { return LogLines(Bench() + L"origin.log"); }
std::vector<std::string> CdnRequests() { return LogLines(Bench() + L"nginx\\access.log"); }

std::string Md5OfCdnFile(const char* name) {
  return Md5OfFile(Bench() + L"cdn\\pkg\\" + std::wstring(name, name + strlen(name)));
}

std::string OriginUrl(const std::string& faults, const char* file) {
  return std::string("http://") + profile::bench::kOriginIp + (faults.empty() ? "" : "/fault/" + faults) + "/pkg/" +
         file;
}

std::string CdnUrl(const std::string& path, const std::string& port = "") {
  return std::string("http://") + profile::kCdnHost + (port.empty() ? "" : ":" + port) + path;
}

// Every package has the version the index names, so a recorded package is
// always good enough for reuse.
class FixedAppInfo : public IAppInfo {
 public:
  bool RefreshInstalled() override { return true; }
  const std::wstring& GetInstalledPath() override { return none_; }
  const std::wstring& GetInstalledVersion() override { return none_; }
  std::wstring GetProductVersion(const std::wstring&) override { return L"3.6.0.1"; }

 private:
  std::wstring none_;
};

class Fetch : public ::testing::Test {
 protected:
  void SetUp() override {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
    FreshCache();
  }
  void TearDown() override { WSACleanup(); }

  // A cache folder and config.ini of their own, as on another machine.
  void FreshCache() {
    cache_ = Bench() + L"cache-" + std::to_wstring(GetTickCount()) + L"-" + std::to_wstring(++serial_) + L"\\";
    CreateDirectories(cache_ + L"VELORADATA");
    settings_.reset(new CSessionSettings(cache_ + L"VELORADATA\\config.ini"));
  }

  // An index that is done and names these URLs and this digest.
  void Index(std::vector<std::string> urls, const std::string& md5) {
    PackageRecord record;
    record.version = "3.6.0.1";
    record.md5 = md5;
    int rank = 100;
    for (const std::string& url : urls) record.urls.push_back({0, url, rank--});
    index_.reset(new CPkgInfo);
    index_->Complete(record);
  }

  DownloadEnv Env() {
    DownloadEnv env;
    env.logger = &logger_;
    env.pkgInfo = index_.get();
    env.appInfo = &appInfo_;
    CSessionSettings* settings = settings_.get();
    env.settings.path = [settings] { return settings->path; };
    env.settings.md5 = [settings] { return settings->md5; };
    env.settings.record = [settings](const std::wstring& md5, const std::wstring& path,
                                     const std::wstring& fileDigest) {
      RecordVerifiedPackage(md5, path, fileDigest, *settings);
    };
    env.cacheFolder = cache_;
    env.ownFileName = L"setup_ab12.exe";
    env.ownVersion = L"3.5.0.2";
    env.defaultUrl = DefaultPackageUrl();
    env.reachabilityHosts = {profile::kPkgHost, profile::kPkgFallbackIp};
    return env;
  }

  // Polls every 50 ms, as the progress page does, until the state is final;
  // -1 after limitMs, which only catches a hang.
  static int RunToEnd(IDownloader* downloader, int limitMs = 60000) {
    for (int i = 0; i < limitMs / 50; ++i) {
      int state = downloader->GetState();
      if (state != 1) return state;
      Sleep(50);
    }
    return -1;
  }

  std::vector<std::string> DownloadErrors() {
    std::vector<std::string> statuses;
    for (auto& event : logger_.Events("vSoftDownloadError")) statuses.push_back(event.strings["error_status"]);
    return statuses;
  }

  static int serial_;
  RecordingLogger logger_;
  FixedAppInfo appInfo_;
  std::unique_ptr<CPkgInfo> index_;
  std::unique_ptr<CSessionSettings> settings_;
  std::wstring cache_;
};

int Fetch::serial_ = 0;

struct Owner {
  IDownloader* d;
  ~Owner() {
    if (d) d->Release();
  }
};

size_t Count(const std::vector<std::string>& lines, const std::string& needle) {
  size_t n = 0;
  for (const std::string& line : lines) n += line.find(needle) != std::string::npos;
  return n;
}

TEST_F(Fetch, SmallPackageInTwoBlocksIsVerifiedAndRecorded) {
  Index({OriginUrl("", "small.bin")}, Md5OfCdnFile("small.bin"));
  Owner o{CreateDownloader(Env())};
  ASSERT_TRUE(o.d->Start());
  ASSERT_EQ(RunToEnd(o.d), 4);
  std::vector<std::string> log = OriginRequests();
  EXPECT_EQ(Count(log, "GET /pkg/small.bin bytes=0-499"), 1u);
  EXPECT_EQ(Count(log, "GET /pkg/small.bin bytes=500-1000"), 1u);
  // No name from the server: the package is named after the executable and the version.
  EXPECT_EQ(o.d->GetFilePath(), cache_ + L"VELORADATA\\setup_ab12_install_v3.6.0.1.exe");
  EXPECT_EQ(Md5OfFile(o.d->GetFilePath()), Md5OfCdnFile("small.bin"));
  EXPECT_EQ(o.d->GetPercent(), 100);
  EXPECT_EQ(settings_->path, o.d->GetFilePath());
  auto results = logger_.Events("pSoftDownloadResult");
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].strings["soft_download_status"], "下载成功");
  EXPECT_TRUE(o.d->CheckPackageBeforeLaunch());
  // Held against replacement until released.
  EXPECT_FALSE(DeleteFileW(o.d->GetFilePath().c_str()));
  o.d->ReleasePackage();
}

TEST_F(Fetch, DropsAndStallsResumeAtTheNextByte) {
  struct Case {
    const char* faults;
    const char* resumed;
  } cases[] = {
      // The second block's first GET (whichever worker asks first).
      {"drop=307200,times=1,min=1048576", "bytes=1355776-2097151"},
      // A stall far longer than the test's wait: only the receive time-out
      // lets the download finish.
      {"stall=600000,at=307200,times=1,min=1048576", "bytes=1355776-2097151"},
  };
  for (const Case& c : cases) {
    logger_.Clear();
    FreshCache();
    Index({OriginUrl(c.faults, "large.bin")}, Md5OfCdnFile("large.bin"));
    Owner o{CreateDownloader(Env())};
    ASSERT_TRUE(o.d->Start());
    ASSERT_EQ(RunToEnd(o.d), 4) << c.faults;
    EXPECT_EQ(Md5OfFile(o.d->GetFilePath()), Md5OfCdnFile("large.bin"));
    EXPECT_EQ(Count(OriginRequests(), std::string("/fault/") + c.faults + "/pkg/large.bin " + c.resumed), 1u)
        << c.faults;
    o.d->ReleasePackage();
  }
}

TEST_F(Fetch, IgnoredRangeFailsTheCheckAndTheNextStartFetchesEverything) {
  const std::string faults = "norange,times=2";
  Index({OriginUrl(faults, "large.bin")}, Md5OfCdnFile("large.bin"));
  Owner o{CreateDownloader(Env())};
  ASSERT_TRUE(o.d->Start());
  ASSERT_EQ(RunToEnd(o.d), 5);
  EXPECT_EQ(o.d->GetPercent(), 0);
  ASSERT_TRUE(o.d->Start());
  ASSERT_EQ(RunToEnd(o.d), 4);
  EXPECT_EQ(Md5OfFile(o.d->GetFilePath()), Md5OfCdnFile("large.bin"));
  std::vector<std::string> log = OriginRequests();
  EXPECT_EQ(Count(log, "/fault/" + faults + "/pkg/large.bin bytes=0-1048575"), 2u);
  EXPECT_EQ(Count(log, "/fault/" + faults + "/pkg/large.bin bytes=1048576-2097151"), 2u);
}

TEST_F(Fetch, AFailedWorkerIsResumedAloneByTheNextStart) {
  // The second block's requests fail until the worker gives up (20 attempts).
  const std::string faults = "status=500,min=1048576,times=20";
  Index({OriginUrl(faults, "large.bin")}, Md5OfCdnFile("large.bin"));
  Owner o{CreateDownloader(Env())};
  ASSERT_TRUE(o.d->Start());
  ASSERT_EQ(RunToEnd(o.d), 5);
  EXPECT_EQ(DownloadErrors(), std::vector<std::string>{"重试超过最大次数"});
  EXPECT_EQ(o.d->GetPercent(), 50);
  size_t before = OriginRequests().size();
  ASSERT_TRUE(o.d->Start());
  ASSERT_EQ(RunToEnd(o.d), 4);
  std::vector<std::string> log = OriginRequests();
  std::vector<std::string> after(log.begin() + before, log.end());
  EXPECT_EQ(after, std::vector<std::string>{"GET /fault/" + faults + "/pkg/large.bin bytes=1048576-2097151"});
  EXPECT_EQ(Md5OfFile(o.d->GetFilePath()), Md5OfCdnFile("large.bin"));
}

TEST_F(Fetch, AnEmptyDigestAcceptsAnyCompleteFile) {
  Index({OriginUrl("flip=10", "small.bin")}, "");
  Owner o{CreateDownloader(Env())};
  ASSERT_TRUE(o.d->Start());
  ASSERT_EQ(RunToEnd(o.d), 4);
  EXPECT_NE(Md5OfFile(o.d->GetFilePath()), Md5OfCdnFile("small.bin"));
  EXPECT_TRUE(o.d->CheckPackageBeforeLaunch());
}

TEST_F(Fetch, AWrongDigestFailsAndTruncates) {
  Index({OriginUrl("flip=600", "small.bin")}, Md5OfCdnFile("small.bin"));
  Owner o{CreateDownloader(Env())};
  ASSERT_TRUE(o.d->Start());
  ASSERT_EQ(RunToEnd(o.d), 5);
  EXPECT_TRUE(settings_->path.empty());
  EXPECT_EQ(FileSizeOf(o.d->GetFilePath()), 1001);
}

TEST_F(Fetch, ResolutionFailures) {
  struct Case {
    std::vector<std::string> urls;
    int state;
    std::vector<std::string> errors;
  } cases[] = {
      // A 404 ends the resolution: the second candidate is never asked.
      {{OriginUrl("status=404", "small.bin"), OriginUrl("", "small.bin?never")}, 5, {"获取头信息失败", "参数错误"}},
      {{CdnUrl("/redirect/loop")}, 5, {"获取头信息失败", "参数错误"}},
      {{"http:/nohost"}, 5, {"初始化失败", "参数错误"}},
      // No usable length: the URL is not taken, and the default URL is.
      {{OriginUrl("length=0", "small.bin")}, 4, {}},
  };
  for (const Case& c : cases) {
    logger_.Clear();
    FreshCache();
    Index(c.urls, "");
    Owner o{CreateDownloader(Env())};
    ASSERT_TRUE(o.d->Start());
    EXPECT_EQ(RunToEnd(o.d), c.state) << c.urls[0];
    if (c.state == 4) EXPECT_EQ(o.d->GetCurrentUrl(), DefaultPackageUrl());
    EXPECT_EQ(DownloadErrors(), c.errors) << c.urls[0];
  }
  EXPECT_EQ(Count(OriginRequests(), "small.bin?never"), 0u);
}

TEST_F(Fetch, AnIndexWithoutAnswer) {
  // Failed at once: straight to the default URL.
  index_.reset(new CPkgInfo);
  index_->Fail();
  {
    Owner o{CreateDownloader(Env())};
    ASSERT_TRUE(o.d->Start());
    ASSERT_EQ(RunToEnd(o.d), 4);
    EXPECT_EQ(o.d->GetCurrentUrl(), DefaultPackageUrl());
    o.d->ReleasePackage();
  }
  // Pending, and the package service cannot be reached: the wait ends at once.
  FreshCache();
  logger_.Clear();
  index_.reset(new CPkgInfo);
  DownloadEnv env = Env();
  env.reachabilityHosts = {profile::bench::kOriginIp + std::string(".invalid"), "127.0.0.99"};
  Owner o{CreateDownloader(env)};
  ASSERT_TRUE(o.d->Start());
  EXPECT_EQ(RunToEnd(o.d), 5);
  EXPECT_EQ(DownloadErrors(), (std::vector<std::string>{"网络失败", "参数错误"}));
}

TEST_F(Fetch, RedirectsAreFollowedAndTheNameComesFromTheServer) {
  struct Case {
    std::string url;
    std::string final;
  } cases[] = {
      {CdnUrl("/redirect/relative", profile::bench::kCdnAltPort),
       CdnUrl("/pkg/small.bin", profile::bench::kCdnAltPort)},
      {CdnUrl("/redirect/absolute"), CdnUrl("/pkg/small.bin")},
  };
  for (const Case& c : cases) {
    FreshCache();
    Index({c.url}, Md5OfCdnFile("small.bin"));
    Owner o{CreateDownloader(Env())};
    ASSERT_TRUE(o.d->Start());
    ASSERT_EQ(RunToEnd(o.d), 4) << c.url;
    EXPECT_EQ(o.d->GetCurrentUrl(), c.final);
    o.d->ReleasePackage();
  }
}

TEST_F(Fetch, ChannelVersionNamesThePackage) {
  Index({OriginUrl("", "small.bin")}, Md5OfCdnFile("small.bin"));
  DownloadEnv env = Env();
  env.ownVersion = L"3.99.0.1";
  Owner o{CreateDownloader(env)};
  ASSERT_TRUE(o.d->Start());
  ASSERT_EQ(RunToEnd(o.d), 4);
  EXPECT_EQ(o.d->GetFilePath(), cache_ + L"VELORADATA\\install_voziro00.exe");
}

TEST_F(Fetch, ASecondRunReusesTheVerifiedPackageWithoutAGet) {
  Index({CdnUrl("/pkg/small.bin")}, Md5OfCdnFile("small.bin"));
  {
    Owner first{CreateDownloader(Env())};
    ASSERT_TRUE(first.d->Start());
    ASSERT_EQ(RunToEnd(first.d), 4);
  }
  std::wstring recorded = settings_->path;
  // A new run reads config.ini again.
  settings_.reset(new CSessionSettings(cache_ + L"VELORADATA\\config.ini"));
  ASSERT_EQ(settings_->path, recorded);
  logger_.Clear();
  size_t before = CdnRequests().size();
  Owner second{CreateDownloader(Env())};
  ASSERT_TRUE(second.d->Start());
  ASSERT_EQ(RunToEnd(second.d), 4);
  EXPECT_EQ(second.d->GetFilePath(), recorded);
  auto results = logger_.Events("pSoftDownloadResult");
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].strings["soft_download_status"], "存在本地文件");
  EXPECT_EQ(results[0].ints["download_time"], -1);
  std::vector<std::string> log = CdnRequests();
  std::vector<std::string> after(log.begin() + before, log.end());
  EXPECT_EQ(Count(after, "\"GET "), 0u);
  EXPECT_TRUE(second.d->CheckPackageBeforeLaunch());
}

// Start-up checked the recorded package by its path; one changed after that
// is caught through the held handle just before it would run.
TEST_F(Fetch, AReusedPackageChangedAfterStartUpIsRefusedBeforeLaunch) {
  Index({CdnUrl("/pkg/small.bin")}, Md5OfCdnFile("small.bin"));
  {
    Owner first{CreateDownloader(Env())};
    ASSERT_TRUE(first.d->Start());
    ASSERT_EQ(RunToEnd(first.d), 4);
  }
  settings_.reset(new CSessionSettings(cache_ + L"VELORADATA\\config.ini"));
  const std::wstring recorded = settings_->path;
  ASSERT_FALSE(recorded.empty());
  HANDLE file = CreateFileW(recorded.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  DWORD written = 0;
  ASSERT_TRUE(WriteFile(file, "X", 1, &written, nullptr));
  CloseHandle(file);
  Owner second{CreateDownloader(Env())};
  ASSERT_TRUE(second.d->Start());
  ASSERT_EQ(RunToEnd(second.d), 4);
  EXPECT_EQ(second.d->GetFilePath(), recorded);
  EXPECT_FALSE(second.d->CheckPackageBeforeLaunch());
}

// Percent-encodes a text for a fault value of the origin.
std::string Encoded(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (unsigned char c : text) {
    if (isalnum(c) || c == '.' || c == '_' || c == '-') {
      out.push_back(char(c));
    } else {
      out.push_back('%');
      out.push_back(kHex[c >> 4]);
      out.push_back(kHex[c & 15]);
    }
  }
  return out;
}

TEST_F(Fetch, ServerFileNamesAreUsedOnlyWhenFitForThePackage) {
  const std::wstring own = L"setup_ab12_install_v3.6.0.1.exe";
  struct Case {
    std::string name;
    std::wstring file;
  } cases[] = {
      {"pkg.exe", L"pkg.exe"},
      {"config.ini", own},  // the installer's own settings file
      {"Qmx", own},         // and its SDK folder
      {"CON.exe", own},
      {"nul.exe", own},
      {"COM1.exe", own},
      {std::string("a\0b.exe", 7), own},
      {std::string(300, 'x') + ".exe", own},
      {"../../evil.exe", own},
      {"setup.EXE ", own},
  };
  for (const Case& c : cases) {
    logger_.Clear();
    FreshCache();
    Index({OriginUrl("name=" + Encoded(c.name), "small.bin")}, Md5OfCdnFile("small.bin"));
    Owner o{CreateDownloader(Env())};
    ASSERT_TRUE(o.d->Start());
    ASSERT_EQ(RunToEnd(o.d), 4) << c.name;
    EXPECT_EQ(o.d->GetFilePath(), cache_ + L"VELORADATA\\" + c.file) << c.name;
    // config.ini still holds the settings, among them the package.
    CSessionSettings reread(cache_ + L"VELORADATA\\config.ini");
    EXPECT_EQ(reread.path, o.d->GetFilePath()) << c.name;
    EXPECT_TRUE(DownloadErrors().empty()) << c.name;
    o.d->ReleasePackage();
  }
}

// Each case ends within its bound (the poll's guard only catches a hang) with
// the package intact; the time it took is printed for the record.
TEST_F(Fetch, TricklingServersAreDroppedAndResumed) {
  struct Case {
    const char* faults;
    const char* file;
  } cases[] = {
      // The first HEAD's header comes a byte every 1.5 s (within every receive's
      // time-out), some 90 s in all.
      {"driphead=1500,times=1,any", "small.bin"},
      // So does the header of the second block's first GET.
      {"driphead=1500,times=1,min=500", "small.bin"},
      // The second block's body, after 1000 bytes, at 10 bytes a second.
      {"drip=100,at=1000,times=1,min=1048576", "large.bin"},
  };
  for (const Case& c : cases) {
    logger_.Clear();
    FreshCache();
    Index({OriginUrl(c.faults, c.file)}, Md5OfCdnFile(c.file));
    Owner o{CreateDownloader(Env())};
    DWORD start = GetTickCount();
    ASSERT_TRUE(o.d->Start());
    ASSERT_EQ(RunToEnd(o.d), 4) << c.faults;
    printf("trickle %s: %lu ms\n", c.faults, GetTickCount() - start);
    EXPECT_EQ(Md5OfFile(o.d->GetFilePath()), Md5OfCdnFile(c.file)) << c.faults;
    EXPECT_TRUE(DownloadErrors().empty()) << c.faults;
    o.d->ReleasePackage();
  }
}

TEST_F(Fetch, OnlyTheBestRankedCandidatesAreProbed) {
  // No candidate gives a usable length, so the default URL is taken after them.
  std::vector<std::string> urls;
  for (int i = 0; i < 20; ++i)
    urls.push_back(OriginUrl("length=0", ("small.bin?candidate=" + std::to_string(i)).c_str()));
  Index(urls, "");
  Owner o{CreateDownloader(Env())};
  ASSERT_TRUE(o.d->Start());
  ASSERT_EQ(RunToEnd(o.d), 4);
  EXPECT_EQ(Count(OriginRequests(), "HEAD /fault/length=0/pkg/small.bin?candidate="), 16u);
  EXPECT_EQ(Count(OriginRequests(), "candidate=16"), 0u);
  EXPECT_EQ(o.d->GetCurrentUrl(), DefaultPackageUrl());
}

TEST_F(Fetch, UrlsAndHeadersThatAreNoAnswer) {
  const std::string origin = std::string("http://") + profile::bench::kOriginIp;
  const std::string longUrl = origin + "/pkg/small.bin?" + std::string(5000, 'q');
  const std::vector<std::string> invalid = {"初始化失败", "参数错误"};
  const std::vector<std::string> noHeader = {"重试次数过多", "获取头信息失败", "参数错误"};
  struct Case {
    std::string url;
    int state;
    std::vector<std::string> errors;
    std::string digest;
  } cases[] = {
      // Ports that do not fit 16 bits, and schemes this client does not speak.
      {origin + ":65616/pkg/small.bin", 5, invalid, ""},
      {origin + ":99999/pkg/small.bin", 5, invalid, ""},
      {"ftp://" + std::string(profile::bench::kOriginIp) + "/pkg/small.bin", 5, invalid, ""},
      {"https://" + std::string(profile::bench::kOriginIp) + "/pkg/small.bin", 5, invalid, ""},
      // The same as redirect targets of the HEAD.
      {OriginUrl("location=" + Encoded("ftp://" + std::string(profile::bench::kOriginIp) + "/never"), "small.bin"), 5,
       invalid, ""},
      {OriginUrl("location=" + Encoded(origin + ":65616/never"), "small.bin"), 5, invalid, ""},
      // A Location, or another line, longer than a header line may be.
      {OriginUrl("location=" + Encoded(longUrl), "small.bin"), 5, noHeader, ""},
      {OriginUrl("pad=65536", "small.bin"), 5, noHeader, ""},
      // Field names in lower case are the same fields.
      {OriginUrl("lower", "small.bin"), 4, {}, "small.bin"},
      // A length too large for any disk.
      {OriginUrl("length=999999999999999999", "small.bin"), 5, {"写文件出错"}, ""},
  };
  for (const Case& c : cases) {
    logger_.Clear();
    FreshCache();
    Index({c.url}, c.digest.empty() ? "" : Md5OfCdnFile(c.digest.c_str()));
    Owner o{CreateDownloader(Env())};
    ASSERT_TRUE(o.d->Start());
    EXPECT_EQ(RunToEnd(o.d), c.state) << c.url.substr(0, 200);
    EXPECT_EQ(DownloadErrors(), c.errors) << c.url.substr(0, 200);
    EXPECT_TRUE(settings_->path.empty() || c.state == 4) << c.url.substr(0, 200);
  }
  EXPECT_EQ(Count(OriginRequests(), "/never"), 0u);
}

TEST_F(Fetch, WorkersTakeOnlyTheRangeTheyAskedFor) {
  // Without a digest nothing else would catch a wrong piece.
  const std::string ftp = "ftp://" + std::string(profile::bench::kOriginIp) + "/never";
  struct Case {
    std::string faults;
  } cases[] = {
      // The second block's first answers start 100 bytes early.
      {"shift=100,min=500,times=2"},
      // Or redirect where this client cannot follow.
      {"location=" + Encoded(ftp) + ",min=500,times=2"},
      {"location=" + Encoded(std::string("http://") + profile::bench::kOriginIp + ":70000/never") + ",min=500,times=2"},
      // Or announce their range in lower case.
      {"lower"},
  };
  for (const Case& c : cases) {
    logger_.Clear();
    FreshCache();
    Index({OriginUrl(c.faults, "small.bin")}, "");
    Owner o{CreateDownloader(Env())};
    ASSERT_TRUE(o.d->Start());
    ASSERT_EQ(RunToEnd(o.d), 4) << c.faults;
    EXPECT_EQ(Md5OfFile(o.d->GetFilePath()), Md5OfCdnFile("small.bin")) << c.faults;
    EXPECT_TRUE(DownloadErrors().empty()) << c.faults;
    o.d->ReleasePackage();
  }
  EXPECT_EQ(Count(OriginRequests(), "/never"), 0u);
}

DWORD WINAPI ReleaseDownloader(void* downloader) {
  static_cast<IDownloader*>(downloader)->Release();
  return 0;
}

TEST_F(Fetch, DestroyingDuringADownloadWaitsForTheWorkers) {
  // Both workers wait inside a stall that outlasts the test.
  Index({OriginUrl("stall=600000,at=4096", "large.bin")}, "");
  IDownloader* d = CreateDownloader(Env());
  ASSERT_TRUE(d->Start());
  for (int i = 0; i < 1200 && Count(OriginRequests(), "stall=600000,at=4096/pkg/large.bin bytes=") < 2; ++i) Sleep(50);
  ASSERT_EQ(d->GetState(), 1);
  std::wstring path = d->GetFilePath();
  // Release interrupts the stalled receives; the wait only catches a hang.
  HANDLE released = CreateThread(nullptr, 0, &ReleaseDownloader, d, 0, nullptr);
  ASSERT_NE(released, nullptr);
  ASSERT_EQ(WaitForSingleObject(released, 120000), WAIT_OBJECT_0) << "Release hangs on the stalled workers";
  CloseHandle(released);
  // Nothing holds the file any more: the workers and the file are closed.
  EXPECT_TRUE(DeleteFileW(path.c_str()));
  EXPECT_TRUE(DownloadErrors().empty());
}

}  // namespace

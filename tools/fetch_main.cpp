// velora-fetch [--dir FOLDER] [--join-plan] [--url URL --md5 MD5 --no-install]:
// the download and the silent install without a window. With --url the
// package index is left out and names only that URL and digest (the download
// benchmark); --no-install stops at the verified package and prints the
// download's time and the process's memory. Starts the installer's services as start-up does,
// polls the orchestrator every 50 ms with a line per step of progress, and on
// a ready package runs its setup with the installer's command line and
// reports the exit code as the progress page does. Exit code: 0 installed,
// 1 download failed, 2 the package changed after its check, 3 the setup failed.
#include <windows.h>
#include <winsock2.h>

#include <psapi.h>

#include <cstdio>
#include <string>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "app/app_context.h"
#include "app/installer_downloader.h"
#include "app/session_settings.h"
#include "download/cache_location.h"
#include "download/setup_command.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "platform/text.h"
#include "services/read_pkg_info_thread.h"
#include "services/read_server_info_thread.h"

namespace {

constexpr DWORD kTickMs = 50;

// Working set now and at its peak, in KiB.
std::pair<size_t, size_t> MemoryKiB() {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return {0, 0};
  return {counters.WorkingSetSize / 1024, counters.PeakWorkingSetSize / 1024};
}

void Say(const std::wstring& text) {
  printf("velora-fetch: %s\n", WideToUtf8(text).c_str());
  fflush(stdout);
}

int Download(IDownloader* downloader) {
  if (!downloader->Start()) return 5;
  int shown = -1;
  for (;;) {
    int state = downloader->GetState();
    int percent = downloader->GetPercent();
    if (percent != shown && (percent % 10 == 0 || state != 1)) {
      Say(L"downloaded " + std::to_wstring(percent) + L"%");
      shown = percent;
    }
    if (state != 1) return state;
    Sleep(kTickMs);
  }
}

// The setup's exit code, or -1 when it could not be started.
long long RunSetup(const std::wstring& commandLine) {
  CCorvixBasedProcess setup(commandLine);
  setup.Launch();
  ILoggerServer* logger = GetLogger();
  logger->ClearProperties();
  logger->WriteEvent(event::kSoftInstallStart);
  if (!setup.ProcessHandle()) return -1;
  while (setup.IsRunning()) Sleep(kTickMs);
  DWORD code = 0;
  if (!GetExitCodeProcess(setup.ProcessHandle(), &code)) return -1;
  return code;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::wstring dir = L"C:\\Program Files\\Velora\\Velora视频模板";
  bool joinPlan = false;
  bool install = true;
  std::wstring url, md5;
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg == L"--dir" && i + 1 < argc) dir = argv[++i];
    if (arg == L"--join-plan") joinPlan = true;
    if (arg == L"--url" && i + 1 < argc) url = argv[++i];
    if (arg == L"--md5" && i + 1 < argc) md5 = argv[++i];
    if (arg == L"--no-install") install = false;
  }
  WSADATA data;
  WSAStartup(MAKEWORD(1, 1), &data);
  auto* context = new AppContext;
  SetAppContext(context);
  HandFoldersToLogger();
  GetSessionSettings();
  GetLogger();
  DownloadEnv env = InstallerDownloadEnv();
  CPkgInfo given;
  if (!url.empty()) {
    PackageRecord record;
    record.md5 = WideToAnsi(md5);
    record.urls.push_back({0, WideToAnsi(url), 0});
    given.Complete(record);
    env.pkgInfo = &given;
  }
  GetServerInfo();
  if (!GetCacheFolder().empty()) CreateDirectories(DataFolderIn(GetCacheFolder()));

  int result = 0;
  std::pair<size_t, size_t> idle = MemoryKiB();
  DWORD start = GetTickCount();
  IDownloader* downloader = CreateDownloader(env);
  int state = downloader ? Download(downloader) : 5;
  DWORD elapsed = GetTickCount() - start;
  if (state != 4) {
    ReportFailedDownload(GetLogger());
    Say(L"download failed (state " + std::to_wstring(state) + L")");
    result = 1;
  } else if (!downloader->CheckPackageBeforeLaunch()) {
    Say(L"the package " + downloader->GetFilePath() + L" changed after its check; not started");
    result = 2;
  } else if (!install) {
    std::pair<size_t, size_t> after = MemoryKiB();
    printf("velora-fetch: download %lu ms; memory idle %u KiB, peak %u KiB\n", elapsed, unsigned(idle.first),
           unsigned(after.second));
  } else {
    Say(L"package ready: " + downloader->GetFilePath());
    std::wstring commandLine = SilentSetupCommand(downloader->GetFilePath(), dir, joinPlan);
    Say(L"running " + commandLine);
    long long code = RunSetup(commandLine);
    downloader->ReleasePackage();
    if (code == 0) {
      Say(L"installed into " + dir);
    } else {
      std::string text = code < 0 ? std::string("not started") : Int64ToString(code);
      ILoggerServer* logger = GetLogger();
      logger->ClearProperties();
      logger->SetStringProperty(prop::kErrorStatus, text);
      logger->WriteEvent(event::kSoftInstallError);
      Say(L"the setup failed: " + AnsiToWide(text));
      result = 3;
    }
  }
  if (downloader) downloader->Release();
  SetAppContext(nullptr);
  delete context;
  return result;
}

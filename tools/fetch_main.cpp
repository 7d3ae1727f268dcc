// velora-fetch [--dir FOLDER] [--join-plan] [--url URL --md5 MD5 --no-install]:
// the download and the silent install without a window. With --url the
// package index is left out and names only that URL and digest (the download
// benchmark); --no-install stops at the verified package and prints the
// download's time and the process's memory. Starts the installer's services as start-up does,
// ticks the progress page's download-then-install sequence every 50 ms with a
// line per step of progress. Exit code: 0 installed,
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
#include "download/install_sequence.h"
#include "platform/file_system.h"
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

// The download and the setup, ticked as the progress page ticks them, with a
// line at every tenth of the download; returns the step that ended them.
SequenceStep Run(CInstallSequence& sequence, const SetupTarget& target) {
  if (!sequence.Start()) {
    ReportFailedDownload(GetLogger());
    return SequenceStep::kDownloadFailed;
  }
  int shown = -1;
  bool downloading = true;
  for (;;) {
    const SequenceStep step = sequence.Tick(target);
    const int percent = sequence.Downloader().GetPercent();
    if (downloading && percent != shown && (percent % 10 == 0 || step != SequenceStep::kDownloading)) {
      Say(L"downloaded " + std::to_wstring(percent) + L"%");
      shown = percent;
    }
    if (downloading && step == SequenceStep::kInstalling) {
      Say(L"package ready: " + sequence.Downloader().GetFilePath());
      Say(L"running " + sequence.CommandLine());
    }
    if (step != SequenceStep::kDownloading) downloading = false;
    if (step != SequenceStep::kDownloading && step != SequenceStep::kInstalling) return step;
    Sleep(kTickMs);
  }
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

  std::pair<size_t, size_t> idle = MemoryKiB();
  DWORD start = GetTickCount();
  IDownloader* downloader = CreateDownloader(env);
  int result = 0;
  if (!downloader) {
    ReportFailedDownload(GetLogger());
    Say(L"download failed (no downloader)");
    result = 1;
  } else {
    CInstallSequence sequence(downloader, *GetLogger());
    const SequenceStep step = Run(sequence, SetupTarget{dir, joinPlan, install});
    DWORD elapsed = GetTickCount() - start;
    switch (step) {
      case SequenceStep::kReady: {
        std::pair<size_t, size_t> after = MemoryKiB();
        printf("velora-fetch: download %lu ms; memory idle %u KiB, peak %u KiB\n", elapsed, unsigned(idle.first),
               unsigned(after.second));
        break;
      }
      case SequenceStep::kInstalled: Say(L"installed into " + dir); break;
      case SequenceStep::kInstallFailed:
        Say(L"the setup failed: " + AnsiToWide(sequence.InstallError()));
        result = 3;
        break;
      default:
        // A download that failed, or a ready package that no longer has its digest.
        const int32_t state = sequence.Downloader().GetState();
        if (state == 4) {
          Say(L"the package " + sequence.Downloader().GetFilePath() + L" changed after its check; not started");
          result = 2;
        } else {
          Say(L"download failed (state " + std::to_wstring(state) + L")");
          result = 1;
        }
        break;
    }
  }
  SetAppContext(nullptr);
  delete context;
  return result;
}

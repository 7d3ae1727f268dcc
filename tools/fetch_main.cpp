// velora-fetch [--dir FOLDER] [--join-plan]: the download and the silent
// install without a window. Starts the installer's services as start-up does,
// polls the orchestrator every 50 ms with a line per step of progress, and on
// a ready package runs its setup with the installer's command line and
// reports the exit code as the progress page does. Exit code: 0 installed,
// 1 download failed, 2 the package changed after its check, 3 the setup failed.
#include <windows.h>
#include <winsock2.h>

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
  for (int i = 1; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg == L"--dir" && i + 1 < argc) dir = argv[++i];
    if (arg == L"--join-plan") joinPlan = true;
  }
  WSADATA data;
  WSAStartup(MAKEWORD(1, 1), &data);
  auto* context = new AppContext;
  SetAppContext(context);
  GetSessionSettings();
  GetLogger();
  GetPkgInfo();
  GetServerInfo();
  if (!GetCacheFolder().empty()) CreateDirectories(GetCacheFolder() + L"VELORADATA\\");

  int result = 0;
  IDownloader* downloader = CreateInstallerDownloader();
  int state = downloader ? Download(downloader) : 5;
  if (state != 4) {
    Say(L"download failed (state " + std::to_wstring(state) + L")");
    result = 1;
  } else if (!downloader->CheckPackageBeforeLaunch()) {
    Say(L"the package " + downloader->GetFilePath() + L" changed after its check; not started");
    result = 2;
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

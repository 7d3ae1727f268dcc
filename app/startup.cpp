#include "app/startup.h"

#include <winsock2.h>

#include <memory>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "app/app_context.h"
#include "app/launch_context.h"
#include "app/main_window.h"
#include "app/session_settings.h"
#include "app/single_instance.h"
#include "download/cache_location.h"
#include "platform/file_system.h"
#include "platform/handle.h"
#include "platform/text.h"
#include "services/read_pkg_info_thread.h"
#include "services/read_server_info_thread.h"
#include "ui/display_scale.h"

namespace {

using SetProcessDPIAwareFn = BOOL(WINAPI*)();

void DeclareDpiAware() {
  if (auto set = reinterpret_cast<SetProcessDPIAwareFn>(
          reinterpret_cast<void*>(GetProcAddress(LoadLibraryW(L"user32"), "SetProcessDPIAware"))))
    set();
}

void ReportStart(const LaunchContext& launch) {
  ILoggerServer* logger = GetLogger();
  logger->ClearProperties();
  logger->SetBoolProperty(prop::kIsFirstInstall, is_first_install != 0);
  logger->SetStringProperty(prop::kSoftPackageName, launch.packageName);
  logger->SetIntProperty(prop::kDownloadTime, launch.downloadTime);
  logger->SetStringProperty(prop::kParentAppName, launch.parentFileName);
  logger->SetStringProperty(prop::kInstallType, value::kInstallTypeInstaller);
  logger->WriteEvent(event::kSoftInstall);
  logger->WriteLaunchRecord(record::kLaunch, "", "", "");
  logger->WriteReportRecord(record::kReportStartQuit, record::kReportGroup, record::kReportStart, launch.packageName,
                            "", {});
}

void ReportQuit() {
  ILoggerServer* logger = GetLogger();
  logger->WriteReportRecord(record::kReportStartQuit, record::kReportGroup, record::kReportQuit, "", "", {});
  logger->ClearProperties();
  logger->SetStringProperty(prop::kEventName, value::kQuitNormal);
  logger->WriteEvent(event::kSoftQuit);
}

// Starts the background services and prepares the cache folder. A failure
// here must never keep the installer window from appearing.
void StartServices() {
  try {
    WSADATA data;
    WSAStartup(MAKEWORD(1, 1), &data);
    // Creating the two singletons starts their fetch threads.
    if (!GetPkgInfo()) throw "Get package information error";
    if (!GetServerInfo()) throw "Get server information error";
    const std::wstring dataFolder = DataFolderIn(GetCacheFolder());
    if (!dataFolder.empty()) CreateDirectories(dataFolder);
  } catch (...) {
  }
}

void RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

}  // namespace

int RunInstaller(HINSTANCE instance) {
  // Static initialisation has made this run's work folder already, and static
  // destruction removes it; the logger unpacks the SDK there.
  HandFoldersToLogger();
  SingleInstance single;
  auto* context = new AppContext;
  SetAppContext(context);
  BindDisplayScale(&context->display);
  // The own file stays open for the whole run, as when its times were read.
  UniqueHandle ownFile;
  std::unique_ptr<MainWindow> mainWindow;
  try {
    SetAppInstance(instance);
    DeclareDpiAware();
    if (ProductUninstallEntryExists()) is_first_install = 0;

    std::wstring exePath = OwnExecutablePath();
    ownFile.Reset(CreateFileW(exePath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr));
    LaunchContext launch = ReadLaunchContext(ownFile.Get());
    context->SetChannel(launch.channel);
    // The first use of the settings creates them and reads the file back.
    CSessionSettings& settings = GetSessionSettings();
    SetBeginTimestamp(AnsiToWide(Int64ToString(CurrentUnixTime())), settings);
    SetLaunchAppname(launch.parentImagePath, settings);

    ReportStart(launch);

    StartServices();

    mainWindow = std::make_unique<MainWindow>();
    HWND window = mainWindow->Handle();
    if (IsWindow(window)) {
      ShowWindow(window, SW_SHOW);
      UpdateWindow(window);
    }
    RunMessageLoop();
  } catch (...) {
    // Whatever failed, the quit is still reported and everything released.
  }
  mainWindow.reset();
  ownFile.Reset();
  ReportQuit();
  BindDisplayScale(nullptr);
  SetAppContext(nullptr);
  delete context;
  return 0;
}

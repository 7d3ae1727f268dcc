#include "platform/browser.h"

#include <windows.h>

#include <shellapi.h>

#include <map>

#include "platform/file_stream.h"
#include "platform/file_system.h"
#include "platform/process_info.h"
#include "platform/process_list.h"
#include "platform/system_info.h"
#include "platform/text.h"
#include "platform/web_address.h"

namespace {

// The executables counted as running browsers, in the order names are taken.
const wchar_t* const kBrowserExecutables[] = {
    L"360chrome.exe",    L"360se.exe",      L"chrome.exe",        L"MicrosoftEdge.exe", L"browser_broker.exe",
    L"LaunchWinApp.exe", L"QQBrowser.exe",  L"SogouExplorer.exe", L"firefox.exe",       L"liebao.exe",
    L"iexplore.exe",     L"ChromeCore.exe", L"UCBrowser.exe",
};

// The names BrowserNumber tests, in its order.
const struct {
  const wchar_t* name;
  int number;
} kBrowserNumbers[] = {
    {L"360chrome.exe", 1}, {L"360se.exe", 2},      {L"SogouExplorer.exe", 8}, {L"firefox.exe", 9},
    {L"chrome.exe", 3},    {L"ChromeCore.exe", 4}, {L"iexplore.exe", 6},      {L"liebao.exe", 10},
    {L"QQBrowser.exe", 7}, {L"UCBrowser.exe", 11}, {L"MicrosoftEdge.exe", 5},
};

const int kUnknownBrowser = 99;

// The download folders of browsers that keep one, with their uninstall entry
// and executable.
const struct {
  const wchar_t* marker;
  const wchar_t* uninstallKey;
  const wchar_t* executable;
} kDownloadFolders[] = {
    {L"360极速浏览器下载", L"360Chrome", L"360chrome.exe"},
    {L"360安全浏览器下载", L"360se6", L"360se.exe"},
    {L"搜狗高速下载", L"SogouExplorer", L"SogouExplorer.exe"},
};

const wchar_t kEdgeScheme[] = L"microsoft-edge:";

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

// What the shell is asked to open.
struct Launch {
  std::wstring file;
  std::wstring parameters;
};

// A browser executable with the address as its one argument; the address has
// no quote, blank or backslash, so the quotes cannot be broken out of.
Launch BrowserWith(const std::wstring& executable, const std::wstring& url) {
  return {executable, L"\"" + url + L"\""};
}

// The Unix time our own file was last written; throws when it cannot be read.
int64_t OwnFileWriteTime() {
  wchar_t path[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, path, MAX_PATH);
  CFileStream own(OpenFileHandle(ModeRead | ShareDenyNone, path));
  int64_t creation = 0, access = 0, write = 0;
  if (!own.GetTimes(creation, access, write)) throw "CorvixFileOpen failed";
  return write;
}

// The running browsers that were started before our file was written.
struct RunningBrowsers {
  std::map<int, DWORD> byNumber;  // first process of each browser number
  Launch defaultChoice;           // the default browser, when one of them is it
  BrowserReport counted;
};

RunningBrowsers FindRunningBrowsers(const std::wstring& defaultBrowser, const std::wstring& url, int64_t ownWrite) {
  RunningBrowsers found;
  std::map<DWORD, std::wstring> processes;
  ListProcesses([](const std::wstring& name) { return IsKnownBrowser(name); }, &processes);
  bool counted[sizeof kBrowserExecutables / sizeof *kBrowserExecutables] = {};
  for (const auto& [pid, name] : processes) {
    bool suspended = false;
    if (!IsProcessSuspended(pid, &suspended) || suspended) continue;
    const int64_t started = ProcessCreationTime(pid);
    if (started < 0 || started >= ownWrite) continue;
    if (found.defaultChoice.file.empty()) {
      if (!defaultBrowser.empty() && Contains(defaultBrowser, name)) {
        found.defaultChoice = BrowserWith(defaultBrowser, url);
      } else if (Contains(name, L"MicrosoftEdge.exe") && Contains(defaultBrowser, L"LaunchWinApp.exe")) {
        found.defaultChoice = {kEdgeScheme + url, L""};
      }
    }
    found.byNumber.emplace(BrowserNumber(name), pid);
    for (size_t i = 0; i < sizeof kBrowserExecutables / sizeof *kBrowserExecutables; ++i) {
      if (counted[i] || !Contains(name, kBrowserExecutables[i])) continue;
      counted[i] = true;
      found.counted.browserNames += kBrowserExecutables[i] + std::wstring(L" ");
      ++found.counted.browserCount;
      break;
    }
  }
  return found;
}

// The browser of the download folder we were started from, if it is installed.
bool DownloadFolderBrowser(const std::wstring& url, Launch* launch) {
  std::wstring ownImage;
  if (!ProcessImagePath(GetCurrentProcessId(), &ownImage)) return false;
  for (const auto& folder : kDownloadFolders) {
    if (!Contains(ownImage, folder.marker)) continue;
    std::wstring location;
    if (!UninstallLocation(folder.uninstallKey, &location)) return false;
    *launch = BrowserWith(EnsureTrailingSlash(location) + folder.executable, url);
    return true;
  }
  return false;
}

}  // namespace

int BrowserNumber(const std::wstring& name) {
  for (const auto& browser : kBrowserNumbers) {
    if (Contains(name, browser.name)) return browser.number;
  }
  return kUnknownBrowser;
}

bool IsKnownBrowser(const std::wstring& name) { return BrowserNumber(name) != kUnknownBrowser; }

bool IsLaunchableExe(std::wstring& path) {
  if (FileExtension(path) == L".exe") return true;
  const size_t exe = path.find(L".exe");
  if (exe != std::wstring::npos) path.erase(exe + 4);
  return FileExists(path);
}

bool DefaultBrowserPath(std::wstring* path) {
  const bool view64 = IsWindows64();
  std::wstring command;
  if (WindowsVersionCode() == WindowsVersion::kXp) {
    command = ReadRegistryString(HKEY_CLASSES_ROOT, L"htmlfile\\shell\\open\\command", L"", view64);
  } else {
    const std::wstring progId = ReadRegistryString(
        HKEY_CURRENT_USER, L"Software\\Microsoft\\Windows\\Shell\\Associations\\UrlAssociations\\http\\UserChoice",
        L"ProgId", view64);
    if (!progId.empty()) {
      command = ReadRegistryString(HKEY_CLASSES_ROOT, progId + L"\\shell\\open\\command", L"", view64);
    }
  }
  const std::vector<std::wstring> pieces = SplitByAny(command, L" ");
  if (pieces.empty()) return false;
  std::wstring executable = pieces[0];
  if (executable[0] == L'"') {
    for (size_t i = 1; i < pieces.size() && executable.back() != L'"'; ++i) executable += L" " + pieces[i];
    executable = TrimRightAny(TrimLeftAny(executable, L"\""), L"\"");
  }
  *path = executable;
  return true;
}

int OpenUrlInBrowser(const std::wstring& url, const std::wstring& preferredBrowser,
                     const std::function<void(const BrowserReport&)>& report) {
  if (!IsSafeWebAddress(url)) return -1;
  try {
    std::wstring defaultBrowser;
    if (!DefaultBrowserPath(&defaultBrowser)) defaultBrowser.clear();
    const int64_t ownWrite = OwnFileWriteTime();

    BrowserReport chosen;
    Launch launch;
    std::wstring given = preferredBrowser;
    if (!given.empty() && IsKnownBrowser(given) && IsLaunchableExe(given)) {
      launch = BrowserWith(given, url);
      chosen.launch = BrowserLaunch::kGivenBrowser;
    } else if (Contains(preferredBrowser, L"browser_broker.exe")) {
      launch = {kEdgeScheme + url, L""};
      chosen.launch = BrowserLaunch::kGivenBrowser;
    } else if (DownloadFolderBrowser(url, &launch)) {
      chosen.launch = BrowserLaunch::kDownloadFolder;
    } else {
      RunningBrowsers running = FindRunningBrowsers(defaultBrowser, url, ownWrite);
      chosen.browserCount = running.counted.browserCount;
      chosen.browserNames = running.counted.browserNames;
      launch = running.defaultChoice;
      std::wstring image;
      if (!running.byNumber.empty() && ProcessImagePath(running.byNumber.begin()->second, &image)) {
        launch = BrowserWith(image, url);
      }
      if (!launch.file.empty()) {
        chosen.launch = BrowserLaunch::kRunningBrowser;
      } else {
        launch = {url, L""};
      }
    }
    report(chosen);
    ShellExecuteW(nullptr, L"open", launch.file.c_str(),
                  launch.parameters.empty() ? nullptr : launch.parameters.c_str(), nullptr, SW_SHOWNORMAL);
    return static_cast<int>(chosen.launch);
  } catch (...) {
    return -1;
  }
}

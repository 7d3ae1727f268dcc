// Which browser opens the welcome address: our stand-in browsers (chrome.exe,
// firefox.exe, 360chrome.exe, 360se.exe copies of one recorder) and a copy of
// the probe as the installer, whose file time says when it was downloaded.
// The shell's own handler is the bench's recorder ($VELORA_OPENED_URLS).
#include "platform/browser.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/handle.h"
#include "platform/tests/temp_folder.h"
#include "platform/text.h"

namespace {

using testing_files::OwnFolder;
using testing_files::ReadFileBytes;
using testing_files::TempFolder;

const wchar_t kUrl[] = L"https://www.velora.test/?_channel=ab12&_mid=m1&session_id=0f";

// A process the test started; ended when the test is done with it.
class Started {
 public:
  explicit Started(const std::wstring& commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    std::wstring line = commandLine;
    if (CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
      CloseHandle(info.hThread);
      process_.Reset(info.hProcess);
    }
  }
  ~Started() {
    if (process_) TerminateProcess(process_.Get(), 0);
  }
  bool Valid() const { return process_.Valid(); }
  // Its exit code, or STILL_ACTIVE when it has not ended within a minute.
  DWORD Wait() {
    WaitForSingleObject(process_.Get(), 60000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process_.Get(), &code);
    return code;
  }

 private:
  UniqueHandle process_;
};

// A browser the user has had open for a while.
std::unique_ptr<Started> OpenBrowser(const std::wstring& executable) {
  auto browser = std::make_unique<Started>(L"\"" + executable + L"\" --stay");
  EXPECT_TRUE(browser->Valid()) << WideToUtf8(executable);
  return browser;
}

// Times are compared in whole seconds: this puts the next stamp in a later one.
void NextSecond() { Sleep(1100); }

class BrowserChoice : public ::testing::Test {
 protected:
  void SetUp() override {
    CreateDirectoryW(Bin().c_str(), nullptr);
    for (const wchar_t* name : {L"chrome.exe", L"firefox.exe", L"360chrome.exe"}) {
      ASSERT_TRUE(CopyFileW((OwnFolder() + L"standin_browser.exe").c_str(), (Bin() + name).c_str(), FALSE));
    }
  }

  std::wstring Bin() const { return folder_.Path() + L"bin\\"; }

  // The probe as an installer downloaded into `folder` just now.
  std::wstring Download(const std::wstring& folder) {
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring installer = folder + L"velora_setup.exe";
    EXPECT_TRUE(CopyFileW((OwnFolder() + L"browser_probe.exe").c_str(), installer.c_str(), FALSE));
    UniqueHandle file(CreateFileW(installer.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                  FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    EXPECT_TRUE(SetFileTime(file.Get(), nullptr, nullptr, &now));
    return installer;
  }

  // Runs the installer's opening of `url`; "<type> <count> <names>".
  std::string Open(const std::wstring& installer, const std::wstring& url, const std::wstring& preferred = L"") {
    const std::wstring result = folder_.Path() + L"result.txt";
    const std::wstring urlFile = folder_.Path() + L"url.txt";
    DeleteFileW(result.c_str());
    DeleteFileW(urlFile.c_str());
    EXPECT_TRUE(testing_files::WriteFileBytes(urlFile, WideToUtf8(url)));
    Started probe(L"\"" + installer + L"\" \"" + urlFile + L"\" \"" + preferred + L"\" \"" + result + L"\"");
    EXPECT_TRUE(probe.Valid());
    EXPECT_NE(probe.Wait(), DWORD(STILL_ACTIVE));
    return ReadFileBytes(result);
  }

  // What a stand-in browser was started with, waiting for the shell's launch.
  std::string ArgumentsOf(const std::wstring& executable) {
    for (int i = 0; i < 300; ++i) {
      std::string args = ReadFileBytes(executable + L".args");
      if (!args.empty()) return args;
      Sleep(100);
    }
    return "";
  }

  TempFolder folder_;
};

// The address as one argument, whatever the browser.
std::string OneArgument(const std::wstring& url) { return WideToUtf8(url) + "\n--\n"; }

// The bench's recorder of what the shell opened.
std::string ShellOpened() {
  const char* path = getenv("VELORA_OPENED_URLS");
  if (!path) return "";
  std::wstring windowsPath = L"Z:" + Utf8ToWide(path);
  for (auto& c : windowsPath) c = c == L'/' ? L'\\' : c;
  return ReadFileBytes(windowsPath);
}

std::string WaitForShellOpened(const std::string& url) {
  for (int i = 0; i < 300; ++i) {
    const std::string opened = ShellOpened();
    if (opened.find(url) != std::string::npos) return opened;
    Sleep(100);
  }
  return ShellOpened();
}

TEST(BrowserNames, NumbersAndKnownNames) {
  const struct {
    const wchar_t* name;
    int number;
  } cases[] = {
      {L"chrome.exe", 3},
      {L"C:\\Program Files\\Google\\Chrome\\Application\\chrome.exe", 3},
      {L"360chrome.exe", 1},  // not Chrome
      {L"360se.exe", 2},
      {L"firefox.exe", 9},
      {L"ChromeCore.exe", 4},
      {L"MicrosoftEdge.exe", 5},
      {L"iexplore.exe", 6},
      {L"Chrome.exe", 99},  // the test is case-sensitive
      {L"browser_broker.exe", 99},
      {L"notepad.exe", 99},
      {L"", 99},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(BrowserNumber(c.name), c.number) << WideToUtf8(c.name);
    EXPECT_EQ(IsKnownBrowser(c.name), c.number != 99) << WideToUtf8(c.name);
  }
}

TEST_F(BrowserChoice, ExecutablePathsOfTheLaunchingProgram) {
  const std::wstring chrome = Bin() + L"chrome.exe";
  const struct {
    std::wstring path;
    bool launchable;
    std::wstring after;
  } cases[] = {
      {L"C:\\b\\chrome.exe", true, L"C:\\b\\chrome.exe"},  // an ".exe" is trusted as it is
      {chrome + L" --x", true, chrome},                    // cut after ".exe", and it exists
      {L"C:\\b\\chrome.exe --x", false, L"C:\\b\\chrome.exe"},
      {L"C:\\b\\chrome", false, L"C:\\b\\chrome"},
  };
  for (const auto& c : cases) {
    std::wstring path = c.path;
    EXPECT_EQ(IsLaunchableExe(path), c.launchable) << WideToUtf8(c.path);
    EXPECT_EQ(path, c.after);
  }
}

TEST_F(BrowserChoice, TheBrowserThatStartedTheInstaller) {
  const std::wstring chrome = Bin() + L"chrome.exe";
  const std::wstring installer = Download(folder_.Path() + L"dl\\");
  EXPECT_EQ(Open(installer, kUrl, chrome + L" --from-download"), "1 0 ");
  EXPECT_EQ(ArgumentsOf(chrome), OneArgument(kUrl));
}

TEST_F(BrowserChoice, BrowsersRunningSinceBeforeTheDownload) {
  // Chrome beats Firefox; both are counted.
  {
    auto firefox = OpenBrowser(Bin() + L"firefox.exe");
    auto chrome = OpenBrowser(Bin() + L"chrome.exe");
    NextSecond();
    const std::string result = Open(Download(folder_.Path() + L"dl\\"), kUrl);
    EXPECT_TRUE(result == "2 2 firefox.exe chrome.exe " || result == "2 2 chrome.exe firefox.exe ") << result;
    EXPECT_EQ(ArgumentsOf(Bin() + L"chrome.exe"), OneArgument(kUrl));
    EXPECT_EQ(ReadFileBytes(Bin() + L"firefox.exe.args"), "");
  }
  DeleteFileW((Bin() + L"chrome.exe.args").c_str());
  // Two 360 browsers: the second one's name also holds "chrome.exe", so it is
  // counted as Chrome; the 360 browser is the one that opens.
  {
    auto first = OpenBrowser(Bin() + L"360chrome.exe");
    auto second = OpenBrowser(Bin() + L"360chrome.exe");
    NextSecond();
    EXPECT_EQ(Open(Download(folder_.Path() + L"dl\\"), kUrl), "2 2 360chrome.exe chrome.exe ");
    EXPECT_EQ(ArgumentsOf(Bin() + L"360chrome.exe"), OneArgument(kUrl));
  }
}

TEST_F(BrowserChoice, BrowserStartedAfterTheDownloadIsIgnored) {
  const std::wstring installer = Download(folder_.Path() + L"dl\\");
  NextSecond();
  auto firefox = OpenBrowser(Bin() + L"firefox.exe");
  const std::wstring url = L"https://www.velora.test/?_channel=after&_mid=m2";
  EXPECT_EQ(Open(installer, url), "0 0 ");
  EXPECT_NE(WaitForShellOpened(WideToUtf8(url)).find(WideToUtf8(url)), std::string::npos);
  EXPECT_EQ(ReadFileBytes(Bin() + L"firefox.exe.args"), "");
}

TEST_F(BrowserChoice, NothingRunningOpensTheAddressItself) {
  const std::wstring url = L"http://www.velora.test/?_channel=none";
  EXPECT_EQ(Open(Download(folder_.Path() + L"dl\\"), url), "0 0 ");
  EXPECT_NE(WaitForShellOpened(WideToUtf8(url)).find(WideToUtf8(url)), std::string::npos);
}

TEST_F(BrowserChoice, DownloadFolderOfTheBrowser) {
  // The 360 Safe Browser installed where its uninstall entry says.
  const std::wstring installed = folder_.Path() + L"360se\\";
  CreateDirectoryW(installed.c_str(), nullptr);
  ASSERT_TRUE(CopyFileW((OwnFolder() + L"standin_browser.exe").c_str(), (installed + L"360se.exe").c_str(), FALSE));
  const wchar_t key[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\360se6";
  const std::wstring location = folder_.Path() + L"360se";  // no trailing separator
  ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, L"InstallLocation", REG_SZ, location.c_str(),
                            DWORD((location.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);
  // A browser running since before does not matter then.
  auto chrome = OpenBrowser(Bin() + L"chrome.exe");
  NextSecond();
  const std::string result = Open(Download(folder_.Path() + L"360安全浏览器下载\\"), kUrl);
  RegDeleteKeyW(HKEY_CURRENT_USER, key);
  EXPECT_EQ(result, "3 0 ");
  EXPECT_EQ(ArgumentsOf(installed + L"360se.exe"), OneArgument(kUrl));
  EXPECT_EQ(ReadFileBytes(Bin() + L"chrome.exe.args"), "");
}

// Addresses that could carry a switch or name a local program are opened by
// nobody, not even the browser that started the installer.
TEST_F(BrowserChoice, HostileAddressesAreNotOpened) {
  const std::wstring chrome = Bin() + L"chrome.exe";
  const std::wstring installer = Download(folder_.Path() + L"dl\\");
  const wchar_t* hostile[] = {
      L"https://www.velora.test/ --load-extension=C:\\x",
      L"https://www.velora.test/\"--disable-web-security",
      L"https://www.velora.test/\\",
      L"file:///C:/windows/system32/calc.exe",
      L"C:\\windows\\system32\\calc.exe",
      L"javascript:alert(1)",
      L"--headless",
  };
  for (const wchar_t* url : hostile) {
    EXPECT_EQ(Open(installer, url, chrome), "-1 0 ") << WideToUtf8(url);
  }
  Sleep(500);
  EXPECT_EQ(ReadFileBytes(chrome + L".args"), "");
}

}  // namespace

// The main window's first page: the installed version against the package's,
// with the bounded wait for the package index.
#include <gtest/gtest.h>

#include <vector>

#include "analytics/events.h"
#include "app/app_context.h"
#include "app/first_page.h"
#include "net/tests/recording_logger.h"

namespace {

// A package index whose status answers follow a script (the last answer
// repeats) and which counts the polls.
class ScriptedPkgInfo : public IPkgInfo {
 public:
  ScriptedPkgInfo(std::vector<int> statuses, std::string version)
      : statuses_(std::move(statuses)), version_(std::move(version)) {}
  int GetStatus() override {
    int status = statuses_[polls_ < statuses_.size() ? polls_ : statuses_.size() - 1];
    ++polls_;
    return status;
  }
  int64_t GetSize() override { return 0; }
  int64_t GetOriginSize() override { return 0; }
  const char* GetVersion() override { return version_.empty() ? nullptr : version_.c_str(); }
  int GetUrlCount() override { return 0; }
  const char* GetUrl(int) override { return nullptr; }
  const char* GetMd5() override { return nullptr; }
  void Reset() override {}
  size_t Polls() const { return polls_; }

 private:
  std::vector<int> statuses_;
  std::string version_;
  size_t polls_ = 0;
};

TEST(FirstPage, ChosenFromInstallationAndPackageIndex) {
  struct Case {
    const char* name;
    const wchar_t* installedPath;
    const wchar_t* installedVersion;
    std::vector<int> statuses;
    const char* packageVersion;
    FirstPage page;
    size_t polls;
  } cases[] = {
      {"not installed", L"", L"", {1}, "3.6.0.1", FirstPage::kWelcome, 0},
      {"package newer", L"C:\\Velora\\velora.exe", L"3.5.0.2", {0, 0, 1}, "3.6.0.1", FirstPage::kWelcome, 3},
      {"same version", L"C:\\Velora\\velora.exe", L"3.6.0.1", {1}, "3.6.0.1", FirstPage::kAlreadyInstalled, 1},
      {"installed newer", L"C:\\Velora\\velora.exe", L"3.7.0.0", {0, 1}, "3.6.0.1", FirstPage::kAlreadyInstalled, 2},
      {"index failed", L"C:\\Velora\\velora.exe", L"3.6.0.1", {2}, "", FirstPage::kWelcome, 1},
      {"index never came", L"C:\\Velora\\velora.exe", L"3.6.0.1", {0}, "", FirstPage::kWelcome, 40},
  };
  for (const Case& c : cases) {
    ScriptedPkgInfo pkg(c.statuses, c.packageVersion);
    RecordingLogger logger;
    is_reinstall = 0;
    EXPECT_EQ(ChooseFirstPage(c.installedPath, c.installedVersion, pkg, logger), c.page) << c.name;
    EXPECT_EQ(pkg.Polls(), c.polls) << c.name;
    const bool prompt = c.page == FirstPage::kAlreadyInstalled;
    EXPECT_EQ(is_reinstall, prompt ? 1 : 0) << c.name;
    EXPECT_EQ(logger.Events(event::kReInstall).size(), prompt ? 1u : 0u) << c.name;
  }
  is_reinstall = 0;
}

}  // namespace

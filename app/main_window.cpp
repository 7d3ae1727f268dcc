#include "app/main_window.h"

#include "analytics/events.h"
#include "analytics/logger.h"
#include "app/first_page.h"
#include "app/installer_downloader.h"
#include "app/session_settings.h"
#include "app/welcome_address.h"
#include "common/product.h"
#include "download/cache_location.h"
#include "download/install_location.h"
#include "pages/begin_view.h"
#include "pages/custome_view.h"
#include "pages/finished_view.h"
#include "pages/progress_view.h"
#include "pages/reminder_view.h"
#include "services/app_info.h"
#include "services/read_pkg_info_thread.h"

namespace {

constexpr unsigned kMainWidth = 600, kMainHeight = 400;
constexpr unsigned kReminderWidth = 400, kReminderHeight = 200;
constexpr wchar_t kErrorCaption[] = L"错误";

std::wstring WithSeparator(std::wstring path) {
  if (path.empty() || (path.back() != L'\\' && path.back() != L'/')) path += L'\\';
  return path;
}

// The folder that holds the file, without a trailing backslash.
std::wstring FolderOf(const std::wstring& file) {
  const size_t slash = file.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : file.substr(0, slash);
}

}  // namespace

MainWindow::MainWindow() : IBaseWindow(product::kMainWindowClass, nullptr, kMainWidth, kMainHeight) {
  resources_.reset(CreateResourceManager());
  if (!resources_) {
    MessageBoxW(window_, L"软件加载必要运行组建失败", kErrorCaption, MB_OK);
    throw "Create ResMgr error";
  }
  IAppInfo* appInfo = GetAppInfo();
  installedPath_ = appInfo->GetInstalledPath();
  if (!installedPath_.empty()) {
    installPath_ = FolderOf(installedPath_);
  } else {
    const std::wstring location = DefaultInstallLocation(RequiredInstallSize());
    if (location.empty()) {
      MessageBoxW(window_, L"磁盘空间不足，无法创建软件缓存", kErrorCaption, MB_OK);
      throw "Get DefaultPath error";
    }
    installPath_ = WithSeparator(WithSeparator(location) + L"Velora") + L"Velora视频模板";
  }
  IPkgInfo* pkgInfo = GetPkgInfo();
  const FirstPage first = pkgInfo
                              ? ChooseFirstPage(installedPath_, appInfo->GetInstalledVersion(), *pkgInfo, *GetLogger())
                              : FirstPage::kWelcome;
  SwitchPage(static_cast<int>(first));
}

MainWindow::~MainWindow() {
  attribution_.reset();
  currentView_ = nullptr;
  for (auto& page : pages_) page.reset();
  // The images go last: the pages' widgets borrow them.
  resources_.reset();
}

LRESULT MainWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_SWITCH_PAGE: SwitchPage(static_cast<int>(wParam)); return 0;
    case WM_ERASEBKGND: return 0;
    case WM_OPEN_WELCOME:
      OpenWelcomeAddress(welcomeAddress_, GetSessionSettings(), *GetLogger());
      return DefWindowProcW(window_, message, wParam, lParam);
    case WM_CLOSE:
      // Nothing closes the window while it downloads and installs.
      if (currentPage_ == kPageProgress) return 0;
      break;
    default: break;
  }
  if (currentView_) return currentView_->WindowProc(message, wParam, lParam);
  return DefWindowProcW(window_, message, wParam, lParam);
}

bool MainWindow::SwitchPage(int index) {
  if (index < 0 || index >= kPageCount) return false;
  if (index == currentPage_) return true;
  if (index == kPageAlreadyInstalled)
    ResizeAndCentre(kReminderWidth, kReminderHeight);
  else if (currentPage_ == kPageAlreadyInstalled)
    ResizeAndCentre(kMainWidth, kMainHeight);
  if (!EnterPage(index)) {
    // A page that hid its edit box on the way out shows it again.
    InvalidateRect(window_, nullptr, FALSE);
    return false;
  }
  currentPage_ = index;
  currentView_ = Page(index);
  InvalidateRect(window_, nullptr, FALSE);
  return true;
}

IBaseView* MainWindow::Page(int index) {
  if (!pages_[index]) {
    switch (index) {
      case kPageAlreadyInstalled: pages_[index] = std::make_unique<CReminderView>(window_, resources_.get()); break;
      case kPageWelcome: pages_[index] = std::make_unique<CBeginView>(window_, resources_.get()); break;
      case kPageCustom: pages_[index] = std::make_unique<CCustomeView>(window_, resources_.get()); break;
      case kPageProgress:
        pages_[index] = std::make_unique<CProgressView>(window_, resources_.get(), &CreateInstallerDownloader);
        break;
      case kPageFinished: pages_[index] = std::make_unique<CFinishedView>(window_, resources_.get()); break;
      default: break;
    }
  }
  return pages_[index].get();
}

CCustomeView* MainWindow::CustomPage() const { return static_cast<CCustomeView*>(pages_[kPageCustom].get()); }

bool MainWindow::InstallPathHasRoom() const { return RequiredInstallSize() < FreeSpaceOfPath(installPath_); }

bool MainWindow::EnterPage(int index) {
  switch (index) {
    case kPageAlreadyInstalled: {
      auto* reminder = static_cast<CReminderView*>(Page(index));
      reminder->productPath = installedPath_;
      return true;
    }
    case kPageWelcome: {
      if (currentPage_ == kPageCustom) installPath_ = CustomPage()->installPath;
      auto* welcome = static_cast<CBeginView*>(Page(index));
      welcome->SetInstallAllowed(InstallPathHasRoom());
      return true;
    }
    case kPageCustom: {
      auto* custom = static_cast<CCustomeView*>(Page(index));
      if (currentPage_ == kPageWelcome) {
        // An existing installation's folder is shown as it is, the first time:
        // later folders get the product sub-folder again.
        if (!installedPath_.empty() && custom->installPath.empty()) custom->appendProductFolder = false;
        custom->SetInstallPath(installPath_);
      }
      return true;
    }
    case kPageProgress:
      if (currentPage_ == kPageCustom) installPath_ = CustomPage()->installPath;
      return StartInstall();
    case kPageFinished: return FinishInstall();
    default: return Page(index) != nullptr;
  }
}

bool MainWindow::StartInstall() {
  // The custom page, when the user went through it, gives the join plan.
  CCustomeView* custom = CustomPage();
  const bool joinPlan = custom ? custom->joinPlan : true;
  ILoggerServer* logger = GetLogger();
  logger->ClearProperties();
  logger->SetBoolProperty(prop::kChooseJoinPlan, joinPlan);
  logger->WriteEvent(event::kJoinPlan);
  // Declined: nothing after "vJoinPlan" leaves the machine.
  if (!joinPlan) logger->Release();
  if (!InstallPathHasRoom()) {
    logger->ClearProperties();
    logger->SetStringProperty(prop::kErrorStatus, value::kDiskSpaceShort);
    logger->WriteEvent(event::kInstallPathError);
    MessageBoxW(window_, L"软件安装路径的磁盘空间不足", L"路径错误", MB_OK);
    return false;
  }
  auto* progress = static_cast<CProgressView*>(Page(kPageProgress));
  progress->StartDownload(installPath_);
  progress->joinPlan = joinPlan;
  return true;
}

bool MainWindow::FinishInstall() {
  auto* finished = static_cast<CFinishedView*>(Page(kPageFinished));
  FinishedInstall done = RunFinishingSteps();
  welcomeAddress_ = done.welcomeAddress;
  installedPath_ = done.installedPath;
  finished->productPath = installedPath_;
  if (done.attribution) attribution_ = std::move(done.attribution);
  PostMessageW(window_, WM_OPEN_WELCOME, 0, 0);
  return true;
}

#include "pages/progress_view.h"

#include <iterator>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "common/product.h"
#include "download/downloader.h"
#include "pages/page_messages.h"
#include "pages/prompt_host.h"
#include "pages/prompt_views.h"
#include "platform/text.h"
#include "platform/web_address.h"
#include "ui/layout_resource.h"
#include "ui/movie_resource.h"
#include "ui/palette.h"
#include "ui/progress_resource.h"
#include "ui/text_resource.h"
#include "ui/widget_table.h"
#include "velora_profile.h"

int CProgressView::downloadFailures = 0;
int CProgressView::installFailures = 0;

namespace {

constexpr UINT kTrayIconId = 0;
constexpr int kTrayIconResource = 102;
constexpr int kFailuresBeforeManual = 3;
constexpr wchar_t kTrayTip[] = L"Velora软件已最小化，点击弹出";
constexpr wchar_t kStatusText[] = L"正在安装，请不要关闭：";

enum ProgressId : int {
  kIdBackground = 0,
  kIdHide = 1,
  kIdBar = 2,
  kIdBanner = 3,
  kIdStatus = 5,
  kIdLayout = 6,
  kIdSpacer = 7,
};

WidgetStyle Bar() {
  WidgetStyle style;
  style.states[0].textColour = 0xFF535FFF;
  style.states[0].backgroundColour = 0xFFEEEEEE;
  style.states[0].cornerRadius = 100;
  return style;
}

const WidgetStyle kPage = PageGroundStyle();
const WidgetStyle kHide = LinkStyle(false, 2, 0);
const WidgetStyle kStatus = TextStyle(0xFF4D4D4D, 14, 0);
const WidgetStyle kBar = Bar();

const WidgetRow kRows[] = {
    /* 0 */ LayoutRow(kIdLayout, -1, 0, kVertical, {}),
    /* 1 */ {kKindBackground, kIdBackground, 0, 0, nullptr, &kPage},
    /* 2 */ LayoutRow(kIdLayout, 0, 3, kVertical, {20, 24, 20, 0}),
    /* 3 */ {kKindMovie, kIdBanner, 2, 0, nullptr, nullptr, {L"install_banner.png"}, 2.0},
    /* 4 */ LayoutRow(kIdLayout, 2, 1, kHorizontal, {}),
    /* 5 */ SpacerRow(kIdSpacer, 4, 5),
    /* 6 */ {kKindButton, kIdHide, 4, 1, L"隐藏窗口", &kHide},
    /* 7 */ SpacerRow(kIdSpacer, 2, 10),
    /* 8 */ LayoutRow(kIdLayout, 0, 1, kVertical, {48, 0, 48, 24}),
    /* 9 */ SpacerRow(kIdSpacer, 8, 6),
    /* 10 */ {kKindText, kIdStatus, 8, 6, L"正在安装，请不要关闭：0%", &kStatus},
    /* 11 */ SpacerRow(kIdSpacer, 8, 3),
    /* 12 */ {kKindProgress, kIdBar, 8, 2, nullptr, &kBar},
    /* 13 */ SpacerRow(kIdSpacer, 8, 3),
};

const BannerRequest kBanner = {profile::kGatewayHost, 80,
                               std::string("/applicationService/app/installerConfig?appId=") + product::kAppId};

}  // namespace

CProgressView::CProgressView(HWND mainWindow, IResourceMgr* resources, std::function<IDownloader*()> makeDownloader)
    : CPageView(mainWindow, resources), makeDownloader_(std::move(makeDownloader)) {
  BuildPage(kRows, static_cast<int>(std::size(kRows)), &kBanner);
}

CProgressView::~CProgressView() { StopWork(); }

CMovieResource* CProgressView::Banner() const { return static_cast<CMovieResource*>(FindWidgetById(kIdBanner)); }

void CProgressView::StartDownload(const std::wstring& folder) {
  StopWork();
  installPath = folder;
  if (!sequence_) {
    IDownloader* downloader = makeDownloader_ ? makeDownloader_() : nullptr;
    if (downloader) sequence_.reset(new CInstallSequence(downloader, *GetLogger()));
  }
  if (!sequence_ || !sequence_->Start()) {
    PostMessageW(window_, WM_DOWNLOAD_FAILED, 0, 0);
    return;
  }
  Banner()->SetPaused(false);
  {
    CXMutexGuard hold(lock_);
    ticking_ = true;
    installDone_ = false;
  }
  // Without a timer no tick arrives and the page stays as it is.
  tickTimer_.Reset(StartTimerBinding(&CProgressView::OnTimer, this));
}

void CProgressView::StopWork() {
  // Killed outside the lock: the kill waits for a tick in progress, and that
  // tick may be waiting for the lock.
  tickTimer_.Reset();
  {
    CXMutexGuard hold(lock_);
    ticking_ = false;
    if (sequence_) sequence_->Stop();
  }
  RemoveTrayIcon();
}

void CProgressView::OnTimer(void* self) { static_cast<CProgressView*>(self)->Tick(); }

void CProgressView::Tick() {
  CXMutexGuard hold(lock_);
  if (!ticking_) return;
  const SequenceStep step = sequence_->Tick(SetupTarget{installPath, joinPlan});
  switch (step) {
    case SequenceStep::kDownloading:
    case SequenceStep::kInstalling: PostMessageW(window_, WM_PROGRESS_TICK, 0, 0); break;
    case SequenceStep::kInstalled:
      ticking_ = false;
      installDone_ = true;
      PostMessageW(window_, WM_PROGRESS_TICK, 0, 0);
      break;
    case SequenceStep::kDownloadFailed:
      // The attempt is over: no later tick does anything, and the UI thread
      // kills the timer when the failure arrives.
      ticking_ = false;
      PostMessageW(window_, WM_DOWNLOAD_FAILED, 0, 0);
      break;
    case SequenceStep::kInstallFailed:
      ticking_ = false;
      PostMessageW(window_, WM_INSTALL_FAILED, 0, 0);
      break;
    default: break;
  }
}

LRESULT CProgressView::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TRAY_NOTIFY:
      if (wParam == kTrayIconId && (lParam == WM_LBUTTONUP || lParam == WM_RBUTTONUP)) RestoreFromTray();
      return 0;
    case WM_DOWNLOAD_FAILED: OnFailure(true); return 0;
    case WM_INSTALL_FAILED: OnFailure(false); return 0;
    case WM_PROGRESS_TICK: {
      bool done = false;
      {
        CXMutexGuard hold(lock_);
        done = installDone_;
        installDone_ = false;
      }
      if (done)
        Finish();
      else
        RefreshProgress();
      return 0;
    }
    case WM_MOVIE_FRAME: Redraw(); return 0;
    case WM_ACTIVATE_INSTANCE:
      // The banner stays paused on this way back.
      ShowWindow(window_, SW_SHOW);
      RemoveTrayIcon();
      return ShowAndActivate(window_, true);
    default: return MainPageProc(message, wParam, lParam);
  }
}

void CProgressView::RefreshProgress() {
  int percent = 0;
  {
    CXMutexGuard hold(lock_);
    percent = sequence_ ? sequence_->Percent() : 0;
  }
  static_cast<CProgressResource*>(FindWidgetById(kIdBar))->SetProgress(static_cast<unsigned>(percent));
  static_cast<CTextResource*>(FindWidgetById(kIdStatus))->text = kStatusText + std::to_wstring(percent) + L"%";
  Redraw();
}

void CProgressView::Finish() {
  StopWork();
  ShowWindow(window_, SW_SHOW);
  PostMessageW(window_, WM_SWITCH_PAGE, kPageFinished, 0);
  Redraw();
  Banner()->SetPaused(true);
}

void CProgressView::OnWidgetClick(int index, LPARAM) {
  const IBaseResource* widget = Widget(index);
  if (!widget || widget->id != kIdHide) return;
  WriteClickRecord(page::kProgress, action::kProgressHide);
  if (SettleClicked(index)) Redraw();
  HideToTray();
}

void CProgressView::HideToTray() {
  trayIcon_ = {};
  trayIcon_.cbSize = NOTIFYICONDATAW_V3_SIZE;
  trayIcon_.hWnd = window_;
  trayIcon_.uID = kTrayIconId;
  trayIcon_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  trayIcon_.uCallbackMessage = WM_TRAY_NOTIFY;
  const auto module = reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(window_, GWLP_HINSTANCE));
  trayIcon_.hIcon = LoadIconW(module, MAKEINTRESOURCEW(kTrayIconResource));
  lstrcpynW(trayIcon_.szTip, kTrayTip, static_cast<int>(std::size(trayIcon_.szTip)));
  ShowWindow(window_, SW_HIDE);
  trayShown_ = Shell_NotifyIconW(NIM_ADD, &trayIcon_) != FALSE;
  Banner()->SetPaused(true);
}

void CProgressView::RestoreFromTray() {
  ShowWindow(window_, SW_SHOW);
  Banner()->SetPaused(false);
  RemoveTrayIcon();
  WriteClickRecord(page::kProgress, action::kProgressRestore);
}

void CProgressView::RemoveTrayIcon() {
  if (!trayShown_) return;
  Shell_NotifyIconW(NIM_DELETE, &trayIcon_);
  trayShown_ = false;
}

void CProgressView::OnFailure(bool download) {
  // The tick has stopped working; the timer goes now, before any prompt.
  StopWork();
  int& failures = download ? downloadFailures : installFailures;
  ++failures;
  if (failures < kFailuresBeforeManual)
    ErrorPrompt(download ? 1 : 2);
  else if (download)
    ManualDownloadPrompt();
  else
    ManualInstallPrompt();
}

void CProgressView::PrepareForPrompt() {
  ReleaseCapture();
  Banner()->SetPaused(true);
  ShowWindow(window_, SW_SHOW);
}

void CProgressView::ErrorPrompt(int mode) {
  PrepareForPrompt();
  bool retry = false;
  try {
    ErrorWindow prompt(kErrorWindowClass, window_, resources_);
    prompt.TypedView().mode = mode;
    PlacePrompt(prompt, window_);
    retry = RunPromptLoop(prompt.Handle(), WM_RETRY_DOWNLOAD);
  } catch (...) {
    // No prompt could be made: as if the user chose to try later.
  }
  if (retry) {
    StartDownload(installPath);
  } else {
    PostMessageW(window_, WM_SWITCH_PAGE, kPageWelcome, 0);
    Redraw();
  }
}

void CProgressView::ManualDownloadPrompt() {
  PrepareForPrompt();
  // The address came from the network: the browser gets it only when it is a
  // plain web address, otherwise the product's web site.
  std::string address = sequence_ ? sequence_->Downloader().GetCurrentUrl() : std::string();
  if (!IsSafeWebAddress(AnsiToWide(address))) address = WideToUtf8(profile::kWebRoot);
  try {
    DownloadReminderWindow prompt(kDownloadReminderClass, window_, resources_);
    prompt.TypedView().packageUrl = address;
    PlacePrompt(prompt, window_);
    RunPromptLoop(prompt.Handle(), 0);
  } catch (...) {
  }
  PostQuitMessage(0);
}

void CProgressView::ManualInstallPrompt() {
  PrepareForPrompt();
  try {
    InstallReminderWindow prompt(kInstallReminderClass, window_, resources_);
    prompt.TypedView().packagePath = sequence_ ? sequence_->Downloader().GetFilePath() : std::wstring();
    PlacePrompt(prompt, window_);
    RunPromptLoop(prompt.Handle(), 0);
  } catch (...) {
  }
  PostQuitMessage(0);
}

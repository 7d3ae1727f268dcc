#pragma once
#include <windows.h>

#include <shellapi.h>

#include <atomic>
#include <functional>
#include <memory>
#include <string>

#include "download/install_sequence.h"
#include "pages/page_view.h"
#include "platform/timer_binding.h"
#include "platform/xmutex.h"

class CMovieResource;
class IDownloader;

// The progress page (page 3): the banner, "隐藏窗口", the figure
// "正在安装，请不要关闭：N%" and the bar. It runs the download-then-install
// sequence on a 50 ms multimedia timer, hands over to the finished page, and
// on a failure offers a retry, or from the third failure of a kind the manual
// download or install. It can hide the window to the notification area.
class CProgressView : public CPageView {
 public:
  // The orchestrator comes from `makeDownloader` on the first start.
  CProgressView(HWND mainWindow, IResourceMgr* resources, std::function<IDownloader*()> makeDownloader);
  // Stops the work, waiting for a running setup.
  ~CProgressView() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Starts an attempt into `folder` (after stopping any earlier one): the
  // download, resumed where it stopped, then the setup. A download that
  // cannot start is posted as WM_DOWNLOAD_FAILED.
  void StartDownload(const std::wstring& folder);
  // On the UI thread: the timer killed, a running setup waited for, the
  // notification-area icon removed.
  void StopWork();

  std::wstring installPath;
  // Set by the main window right after StartDownload; read by the timer when
  // the package is ready.
  std::atomic<bool> joinPlan{true};

  // Failures of this process, counted apart, never reset.
  static int downloadFailures;
  static int installFailures;

 protected:
  void OnWidgetClick(int index, LPARAM position) override;

 private:
  static void OnTimer(void* self);
  void Tick();
  void RefreshProgress();
  void Finish();
  void HideToTray();
  void RestoreFromTray();
  void RemoveTrayIcon();
  void OnFailure(bool download);
  void ErrorPrompt(int mode);
  void ManualDownloadPrompt();
  void ManualInstallPrompt();
  // Before any prompt: the banner rests and the window shows.
  void PrepareForPrompt();
  CMovieResource* Banner() const;

  NOTIFYICONDATAW trayIcon_ = {};
  bool trayShown_ = false;
  std::function<IDownloader*()> makeDownloader_;
  UniqueTimer tickTimer_;
  CXMutex lock_;  // the sequence and the two flags, between the timer and the UI thread
  std::unique_ptr<CInstallSequence> sequence_;
  // The attempt's ticks do work. The tick clears it when the attempt ends,
  // so that a failure stops the ticking from within the tick; the UI thread
  // then kills the timer outside the lock.
  bool ticking_ = false;
  bool installDone_ = false;  // the setup exited with 0; the page has not moved on yet
};

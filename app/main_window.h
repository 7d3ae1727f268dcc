#pragma once
#include <windows.h>

#include <memory>
#include <string>

#include "app/finishing_steps.h"
#include "pages/page_messages.h"
#include "ui/base_view.h"
#include "ui/base_window.h"
#include "ui/resource_mgr.h"

// The installer's one top-level window. It hosts one page at a time, made on
// first use and kept, and switches pages when one posts WM_SWITCH_PAGE.
class CCustomeView;

class MainWindow : public IBaseWindow {
 public:
  // Builds the window (hidden) with the skin and the install path, then
  // switches to the first page. Throws "create window error", "Create ResMgr
  // error" or "Get DefaultPath error", each after its message box.
  MainWindow();
  ~MainWindow() override;

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Shows page `index` (0 to 4); false, and the page unchanged, when it is
  // out of range or its entry fails.
  bool SwitchPage(int index);

  int CurrentPage() const { return currentPage_; }

 private:
  struct ResourcesRelease {
    void operator()(IResourceMgr* resources) const { resources->Release(); }
  };

  // The per-page work of a switch to `index`; false refuses the switch.
  bool EnterPage(int index);
  // The page's view, made on first use; null for a page this build lacks.
  IBaseView* Page(int index);
  // The custom install page, or null before it was first shown.
  CCustomeView* CustomPage() const;
  // Whether the install path's drive has more room than the package needs.
  bool InstallPathHasRoom() const;
  // Page 3's entry: the join plan reported (and the logger released when it
  // was declined), the room checked, the download started.
  bool StartInstall();
  // Page 4's entry: the finishing steps, then the welcome address is opened.
  bool FinishInstall();

  std::wstring installPath_;
  int currentPage_ = -1;
  IBaseView* currentView_ = nullptr;
  std::unique_ptr<IBaseView> pages_[kPageCount];
  std::unique_ptr<IResourceMgr, ResourcesRelease> resources_;
  std::wstring installedPath_;
  std::wstring welcomeAddress_;
  std::unique_ptr<COVReportThread> attribution_;
};

#pragma once
#include <windows.h>

#include <string>

#include "pages/cancel_confirm.h"
#include "pages/page_view.h"

class CEditResource;

// The custom install page (page 2): the install folder in a native edit box
// or from the folder dialog, the space the product needs and the space free
// on that folder's drive, the user experience plan, and the ways back to the
// welcome page and on to the install. The page owns the chosen folder; the
// main window reads `installPath` and `joinPlan` when it leaves the page.
class CCustomeView : public CPageView {
 public:
  // Builds the page over the main window (the edit box becomes its child)
  // and reports its view. Throws "create widget error" when the box cannot be
  // made.
  CCustomeView(HWND mainWindow, IResourceMgr* resources);

  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Takes `folder` as the install folder: an invalid one is refused and the
  // box shows the current folder again; otherwise the product sub-folder is
  // appended unless already there (or unless `appendProductFolder` was
  // cleared, once), and the sizes and the box are refreshed.
  void SetInstallPath(const std::wstring& folder);

  std::wstring installPath;
  // The folder's drive has room for the package.
  bool spaceOK = true;
  bool joinPlan = true;
  bool appendProductFolder = true;

 protected:
  void OnWidgetClick(int index, LPARAM position) override;
  // The buttons' looks as on every page, then the install button and the
  // low-space hint after `spaceOK`.
  bool UpdateStates(int target) override;

 private:
  LRESULT OnCommand(WPARAM wParam, LPARAM lParam);
  void Browse();
  void StartInstall();
  // Disables the install button and shows the hint while the drive lacks
  // room, and undoes both once it has; whether anything changed.
  bool ApplySpace();
  void SetText(int id, const std::wstring& text);

  CEditResource* pathBox_ = nullptr;
  CCancelConfirm closeHandler_;
};

#pragma once
#include <windows.h>

#include <memory>

#include "ui/base_view.h"
#include "ui/base_window.h"

// A prompt dialog: a tool window owned by a page's window (no taskbar
// button), hosting one view that paints it as a layered window. Every prompt
// shares this procedure; the nested modal loop that waits for the user's
// choice belongs here too.
class CPromptWindow : public IBaseWindow {
 public:
  // Throws "create window error" like every window.
  CPromptWindow(const wchar_t* className, HWND owner, unsigned width, unsigned height);

  // No background erase; everything else goes to the view, or to the default
  // procedure while there is none.
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  // Takes ownership of the view (made for this window's handle).
  void SetView(std::unique_ptr<IBaseView> view) { view_ = std::move(view); }
  IBaseView* View() const { return view_.get(); }

 private:
  std::unique_ptr<IBaseView> view_;
};

#pragma once
#include <windows.h>

#include <memory>
#include <vector>

#include "ui/widget.h"

class IResourceMgr;

// The content of one window: a flat list of owned widgets, painted in list
// order (first = bottom) and hit-tested with the mouse. A widget's index in
// the list is how the page addresses it in messages.
class IBaseView {
 public:
  // The view draws into `window`, which hosts it; images come from `resources`.
  IBaseView(HWND window, IResourceMgr* resources);
  // Deletes every widget.
  virtual ~IBaseView();
  IBaseView(const IBaseView&) = delete;
  IBaseView& operator=(const IBaseView&) = delete;

  // The page's message handler.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;
  // WM_PAINT of a layered window: every widget into a 32-bit DIB, which
  // becomes the window's content with its per-pixel alpha.
  virtual LRESULT PaintLayered();
  // WM_PAINT of an opaque window: every widget into an off-screen bitmap,
  // copied to the client area except where visible child controls paint
  // themselves; returns what the default procedure returns.
  virtual LRESULT PaintOpaque(UINT message, WPARAM wParam, LPARAM lParam);
  // Shows the window, in the topmost band or not, in the foreground with the
  // keyboard focus. Returns 0.
  virtual LRESULT ShowAndActivate(HWND window, bool topmost);

  // The index of the widget under a mouse position packed as in a mouse
  // message: the first solid widget (in list order, layouts skipped) or the
  // last passive image, whichever is later; 0 over nothing.
  int HitTest(LPARAM position) const;
  // The first widget with the id, or null.
  IBaseResource* FindWidgetById(int id) const;
  // Invalidates the whole client area.
  void Redraw();

  // Takes ownership of a widget and appends it; returns its index.
  int AddWidget(IBaseResource* widget);
  IBaseResource* Widget(int index) const;
  int WidgetCount() const { return static_cast<int>(widgets_.size()); }
  // Every widget, in list order, into the device context.
  void DrawWidgets(HDC dc);

  HWND Window() const { return window_; }
  IResourceMgr* Resources() const { return resources_; }
  int HoverIndex() const { return hoverIndex_; }

 protected:
  // The conventions every page follows: hover and pressed looks, clicks
  // posted as WM_WIDGET_CLICK, the window dragged by anything else. A page's
  // WindowProc hands over what it does not treat itself; `layered` picks the
  // painting path. WM_WIDGET_CLICK goes to OnWidgetClick.
  LRESULT PageProc(UINT message, WPARAM wParam, LPARAM lParam, bool layered);
  // What the page does when the widget at `index` was clicked.
  virtual void OnWidgetClick(int index, LPARAM position);
  // Hover look for the button at `target` (when it is one), normal look for
  // every other button that is not disabled; whether any look changed. Pages
  // with more stateful widgets extend it.
  virtual bool UpdateStates(int target);

  LRESULT OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam);

  HWND window_;
  IResourceMgr* resources_;
  // Whether a press beside the buttons drags the window; prompts stay put
  // and only release the capture.
  bool dragsWindow_ = true;
  std::vector<std::unique_ptr<IBaseResource>> widgets_;
  int hoverIndex_ = -1;
};

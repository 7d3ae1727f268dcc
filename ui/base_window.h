#pragma once
#include <windows.h>

// A borderless popup of the installer, sized from a design size at 100 %
// scale and centred on the work area. Messages reach the derived class's
// WindowProc through the window property "WndClassPtr"; before it is set (during
// creation) and after the object lets go of the window, the default procedure
// handles them.
class IBaseWindow {
 public:
  // Creates the window (hidden). With a parent it is a tool window owned by
  // the parent, without one an app window with a taskbar button. Throws
  // "create window error" when the class or the window cannot be made.
  IBaseWindow(const wchar_t* className, HWND parent, unsigned width, unsigned height);
  // Destroys the window if it still exists.
  virtual ~IBaseWindow();
  IBaseWindow(const IBaseWindow&) = delete;
  IBaseWindow& operator=(const IBaseWindow&) = delete;

  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) = 0;

  // Stores the new design size, then sizes the window to it at the current
  // scale and centres it. False, and nothing moved, without a window.
  bool ResizeAndCentre(unsigned width, unsigned height);

  HWND Handle() const { return window_; }
  unsigned DesignWidth() const { return designWidth_; }
  unsigned DesignHeight() const { return designHeight_; }
  // The desktop work area recorded when the window was last sized.
  const RECT& WorkArea() const { return workArea_; }

 protected:
  HWND window_ = nullptr;
  RECT workArea_ = {};
  unsigned designWidth_;
  unsigned designHeight_;

 private:
  struct ScaledSize {
    double width;
    double height;
  };
  // The design size at the effective scale, which it stores in uiScale;
  // refreshes the work area.
  ScaledSize ComputeScaledSize();
};

// The window property that ties a native window to its IBaseWindow; every
// skinned window carries it while its object lives.
inline constexpr wchar_t kWindowObjectProperty[] = L"WndClassPtr";

// Registers the shared window class once per process; true when it exists.
bool RegisterWindowClass(const wchar_t* className, HINSTANCE instance);

// The display's scale from the two horizontal resolutions and the logical
// pixels per inch: their ratio when the system virtualises DPI (the two
// resolutions differ), otherwise logPixelsX / 96.
double DpiScaleFrom(int desktopHorzRes, int horzRes, int logPixelsX);
// The display's scale, read from the screen once per process.
double DisplayDpiScale();
// The window's centre position on a work area: half its right and bottom
// edges, less half the scaled size.
POINT CentredPosition(const RECT& workArea, double width, double height);

#include "ui/base_window.h"

#include <algorithm>
#include <cmath>

#include "ui/display_scale.h"
#include "ui/gdi_owners.h"

namespace {
constexpr wchar_t kWindowTitle[] = L"Velora视频模板";
constexpr int kIconResource = 102;

LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (auto* owner = static_cast<IBaseWindow*>(GetPropW(window, kWindowObjectProperty)))
    return owner->WindowProc(message, wParam, lParam);
  return DefWindowProcW(window, message, wParam, lParam);
}

int Whole(double value) { return static_cast<int>(value + 0.5); }
}  // namespace

bool RegisterWindowClass(const wchar_t* className, HINSTANCE instance) {
  WNDCLASSEXW known = {};
  known.cbSize = sizeof(known);
  if (GetClassInfoExW(instance, className, &known)) return true;
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof(wc);
  wc.style = CS_HREDRAW | CS_VREDRAW;
  wc.lpfnWndProc = SharedWindowProc;
  wc.hInstance = instance;
  wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(kIconResource));
  wc.hCursor = LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // IDC_ARROW
  wc.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
  wc.lpszClassName = className;
  return RegisterClassExW(&wc) || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

double DpiScaleFrom(int desktopHorzRes, int horzRes, int logPixelsX) {
  const double ratio = horzRes ? static_cast<double>(desktopHorzRes) / horzRes : 1.0;
  if (std::fabs(ratio - 1.0) < 1e-8) return logPixelsX / 0.96 / 100;
  return ratio;
}

double DisplayDpiScale() {
  DisplayScale& scale = GetDisplayScale();
  if (!scale.dpiKnown) {
    WindowDc screen(nullptr);
    scale.dpiScale = DpiScaleFrom(GetDeviceCaps(screen.Get(), DESKTOPHORZRES), GetDeviceCaps(screen.Get(), HORZRES),
                                  GetDeviceCaps(screen.Get(), LOGPIXELSX));
    scale.dpiKnown = true;
  }
  return scale.dpiScale;
}

POINT CentredPosition(const RECT& workArea, double width, double height) {
  return POINT{workArea.right / 2 - static_cast<int>(width * 0.5 + 0.5),
               workArea.bottom / 2 - static_cast<int>(height * 0.5 + 0.5)};
}

IBaseWindow::IBaseWindow(const wchar_t* className, HWND parent, unsigned width, unsigned height)
    : designWidth_(width), designHeight_(height) {
  HINSTANCE instance =
      parent ? reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)) : GetModuleHandleW(nullptr);
  const ScaledSize size = ComputeScaledSize();
  if (!RegisterWindowClass(className, instance)) throw "create window error";
  const POINT at = CentredPosition(workArea_, size.width, size.height);
  window_ = CreateWindowExW(parent ? WS_EX_TOOLWINDOW : WS_EX_APPWINDOW, className, kWindowTitle, WS_POPUP, at.x, at.y,
                            Whole(size.width), Whole(size.height), parent, nullptr, instance, nullptr);
  if (!window_) throw "create window error";
  SetPropW(window_, kWindowObjectProperty, this);
}

IBaseWindow::~IBaseWindow() {
  if (window_ && IsWindow(window_)) {
    // The derived part is gone: whatever destruction sends goes to the
    // default procedure.
    RemovePropW(window_, kWindowObjectProperty);
    DestroyWindow(window_);
  }
}

IBaseWindow::ScaledSize IBaseWindow::ComputeScaledSize() {
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &workArea_, 0)) {
    GetDisplayScale().uiScale = 1.0;
    return ScaledSize{static_cast<double>(designWidth_), static_cast<double>(designHeight_)};
  }
  const double scale = std::max(DisplayDpiScale(), 1.0);
  GetDisplayScale().uiScale = scale;
  return ScaledSize{designWidth_ * scale, designHeight_ * scale};
}

bool IBaseWindow::ResizeAndCentre(unsigned width, unsigned height) {
  designWidth_ = width;
  designHeight_ = height;
  if (!window_ || !IsWindow(window_)) return false;
  const ScaledSize size = ComputeScaledSize();
  const POINT at = CentredPosition(workArea_, size.width, size.height);
  const bool sized = SetWindowPos(window_, nullptr, 0, 0, Whole(size.width), Whole(size.height),
                                  SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  const bool moved = SetWindowPos(window_, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  return sized && moved;
}

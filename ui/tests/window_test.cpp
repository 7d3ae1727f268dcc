// Real windows under Wine: class registration, the shared procedure, sizing
// and centring, the pages' input conventions and opaque painting.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ui/base_view.h"
#include "ui/base_window.h"
#include "ui/button_resource.h"
#include "ui/checkbox_resource.h"
#include "ui/display_scale.h"
#include "ui/ui_messages.h"

namespace {

constexpr wchar_t kClass[] = L"VeloraUiTestWindow";

class RecordingWindow : public IBaseWindow {
 public:
  RecordingWindow(unsigned width, unsigned height) : IBaseWindow(kClass, nullptr, width, height) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    seen.push_back(message);
    return DefWindowProcW(window_, message, wParam, lParam);
  }
  std::vector<UINT> seen;
};

SIZE WindowSize(HWND window) {
  RECT r;
  GetWindowRect(window, &r);
  return SIZE{r.right - r.left, r.bottom - r.top};
}

RECT WorkArea() {
  RECT area;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &area, 0);
  return area;
}

TEST(DpiScale, LogicalPixelsUnlessTheResolutionsDiffer) {
  const struct {
    int desktop, horz, logPixels;
    double scale;
  } cases[] = {
      {1280, 1280, 96, 1.0},
      {1280, 1280, 144, 1.5},
      {1280, 1280, 72, 0.75},
      {1280, 1280, 120, 1.25},
      // A system that virtualises DPI reports a smaller resolution: the ratio counts.
      {1920, 1280, 96, 1.5},
      {2560, 1280, 144, 2.0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(DpiScaleFrom(c.desktop, c.horz, c.logPixels), c.scale)
        << c.desktop << "/" << c.horz << " at " << c.logPixels;
}

TEST(Centring, HalfTheWorkAreasRightAndBottomEdges) {
  const struct {
    RECT area;
    double w, h;
    POINT at;
  } cases[] = {
      {{0, 0, 1280, 800}, 400, 200, {440, 300}},
      {{0, 0, 1280, 800}, 600, 300, {340, 250}},
      {{0, 0, 1280, 800}, 401, 201, {439, 299}},
      // A taskbar on the left shifts the window by half its width.
      {{80, 0, 1280, 800}, 400, 200, {440, 300}},
  };
  for (const auto& c : cases) {
    const POINT at = CentredPosition(c.area, c.w, c.h);
    EXPECT_EQ(at.x, c.at.x);
    EXPECT_EQ(at.y, c.at.y);
  }
}

TEST(WindowClass, RegisteringTwiceSucceeds) {
  HINSTANCE self = GetModuleHandleW(nullptr);
  EXPECT_TRUE(RegisterWindowClass(L"VeloraUiTwice", self));
  EXPECT_TRUE(RegisterWindowClass(L"VeloraUiTwice", self));
  WNDCLASSEXW info = {};
  info.cbSize = sizeof(info);
  ASSERT_TRUE(GetClassInfoExW(self, L"VeloraUiTwice", &info));
  EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW | CS_VREDRAW));
  EXPECT_NE(info.hCursor, nullptr);
}

TEST(Window, CreatedHiddenSizedCentredAndBoundToItsObject) {
  // The bench runs at 96 DPI: the design size is the window size.
  RecordingWindow window(400, 200);
  HWND handle = window.Handle();
  ASSERT_TRUE(IsWindow(handle));
  EXPECT_FALSE(IsWindowVisible(handle));
  EXPECT_EQ(GetPropW(handle, L"WndClassPtr"), &window);
  EXPECT_DOUBLE_EQ(GetDisplayScale().uiScale, 1.0);
  const SIZE size = WindowSize(handle);
  EXPECT_EQ(size.cx, 400);
  EXPECT_EQ(size.cy, 200);
  RECT r;
  GetWindowRect(handle, &r);
  const RECT area = WorkArea();
  EXPECT_EQ(r.left, area.right / 2 - 200);
  EXPECT_EQ(r.top, area.bottom / 2 - 100);
  EXPECT_EQ(GetWindowLongPtrW(handle, GWL_STYLE) & WS_POPUP, WS_POPUP);
  EXPECT_EQ(GetWindowLongPtrW(handle, GWL_EXSTYLE) & WS_EX_APPWINDOW, WS_EX_APPWINDOW);
  wchar_t title[64] = {};
  GetWindowTextW(handle, title, 64);
  EXPECT_STREQ(title, L"Velora视频模板");

  // Creation messages went to the default procedure: the object saw none.
  for (UINT message : {WM_NCCREATE, WM_CREATE, WM_NCCALCSIZE})
    EXPECT_EQ(std::count(window.seen.begin(), window.seen.end(), message), 0) << message;
  SendMessageW(handle, WM_USER + 5, 0, 0);
  ASSERT_FALSE(window.seen.empty());
  EXPECT_EQ(window.seen.back(), static_cast<UINT>(WM_USER + 5));
}

TEST(Window, OwnedWindowIsAToolWindow) {
  RecordingWindow owner(600, 400);
  class Prompt : public IBaseWindow {
   public:
    explicit Prompt(HWND parent) : IBaseWindow(kClass, parent, 400, 200) {}
    LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override { return DefWindowProcW(window_, m, w, l); }
  } prompt(owner.Handle());
  EXPECT_EQ(GetWindowLongPtrW(prompt.Handle(), GWL_EXSTYLE) & WS_EX_TOOLWINDOW, WS_EX_TOOLWINDOW);
  EXPECT_EQ(GetWindow(prompt.Handle(), GW_OWNER), owner.Handle());
}

TEST(Window, ResizeAndCentre) {
  RecordingWindow window(400, 200);
  ASSERT_TRUE(window.ResizeAndCentre(600, 300));
  EXPECT_EQ(window.DesignWidth(), 600u);
  const SIZE size = WindowSize(window.Handle());
  EXPECT_EQ(size.cx, 600);
  EXPECT_EQ(size.cy, 300);
  RECT r;
  GetWindowRect(window.Handle(), &r);
  EXPECT_EQ(r.left, WorkArea().right / 2 - 300);
  EXPECT_EQ(r.top, WorkArea().bottom / 2 - 150);

  DestroyWindow(window.Handle());
  EXPECT_FALSE(window.ResizeAndCentre(400, 200));
  EXPECT_EQ(window.DesignWidth(), 400u);
}

TEST(Window, FailedCreationThrows) {
  const char* thrown = nullptr;
  try {
    class Orphan : public IBaseWindow {
     public:
      Orphan() : IBaseWindow(kClass, reinterpret_cast<HWND>(0x1234), 400, 200) {}
      LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override { return DefWindowProcW(window_, m, w, l); }
    } orphan;
  } catch (const char* text) {
    thrown = text;
  }
  ASSERT_NE(thrown, nullptr);
  EXPECT_STREQ(thrown, "create window error");
}

// A page as the pages will be: widgets, and a dispatcher that records clicks.
class ClickPage : public IBaseView {
 public:
  explicit ClickPage(HWND window) : IBaseView(window, nullptr) {
    Add(new CImageResource(0, nullptr, kKindBackground), {0, 0, 400, 200});  // 0
    Add(new CButtonResource(3, L"立即安装", nullptr), {10, 10, 110, 40});    // 1
    auto* off = Add(new CButtonResource(4, L"off", nullptr), {120, 10, 220, 40});
    static_cast<CButtonResource*>(off)->state = kStateDisabled;                              // 2
    Add(new CImageResource(1, nullptr, kKindImage), {230, 10, 280, 60});                     // 3
    Add(new CCheckboxResource(6, nullptr, L"同意", nullptr, nullptr), {10, 100, 110, 120});  // 4
  }
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    return PageProc(message, wParam, lParam, false);
  }
  int StateOf(int index) const { return static_cast<CImageResource*>(Widget(index))->state; }
  std::vector<int> clicks;

 protected:
  void OnWidgetClick(int index, LPARAM) override { clicks.push_back(index); }

 private:
  IBaseResource* Add(IBaseResource* widget, RECT r) {
    AddWidget(widget);
    widget->SetRect(r.left, r.top, r.right, r.bottom);
    return widget;
  }
};

class PageWindow : public IBaseWindow {
 public:
  PageWindow() : IBaseWindow(kClass, nullptr, 400, 200), page(window_) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    return page.WindowProc(message, wParam, lParam);
  }
  ClickPage page;
};

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

TEST(PageInput, HoverPressAndClickFollowTheConventions) {
  PageWindow window;
  ClickPage& page = window.page;
  HWND handle = window.Handle();
  auto send = [&](UINT message, int x, int y) {
    SendMessageW(handle, message, 0, MAKELPARAM(x, y));
    Pump();
  };
  send(WM_MOUSEMOVE, 20, 20);
  EXPECT_EQ(page.StateOf(1), kStateHover);
  EXPECT_EQ(page.HoverIndex(), 1);
  send(WM_MOUSEMOVE, 150, 20);  // over the disabled button: the others go back to normal
  EXPECT_EQ(page.StateOf(1), kStateNormal);
  EXPECT_EQ(page.StateOf(2), kStateDisabled);
  send(WM_MOUSEMOVE, 20, 20);
  send(WM_MOUSEMOVE, 300, 150);  // back over the background
  EXPECT_EQ(page.StateOf(1), kStateNormal);
  EXPECT_EQ(page.StateOf(2), kStateDisabled);
  EXPECT_EQ(page.HoverIndex(), 0);

  send(WM_LBUTTONDOWN, 20, 20);
  EXPECT_EQ(page.StateOf(1), kStatePressed);
  send(WM_LBUTTONUP, 20, 20);
  send(WM_LBUTTONDOWN, 150, 20);  // a disabled button does not look pressed...
  EXPECT_EQ(page.StateOf(2), kStateDisabled);
  send(WM_LBUTTONUP, 150, 20);   // ...and is not clicked
  send(WM_LBUTTONUP, 240, 20);   // a foreground image is never clicked
  send(WM_LBUTTONUP, 20, 110);   // a checkbox is
  send(WM_LBUTTONUP, 300, 150);  // and so is the background
  EXPECT_EQ(page.clicks, (std::vector<int>{1, 4, 0}));
}

TEST(Paint, OpaquePathCopiesTheWidgetsToTheWindow) {
  PageWindow window;
  ShowWindow(window.Handle(), SW_SHOWNORMAL);
  UpdateWindow(window.Handle());
  HDC dc = GetDC(window.Handle());
  const COLORREF button = GetPixel(dc, 12, 25);
  ReleaseDC(window.Handle(), dc);
  EXPECT_EQ(button, RGB(0x41, 0x97, 0xFF));
}

}  // namespace

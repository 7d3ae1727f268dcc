// The native edit box in a real window: how it is made, placed and drawn, its
// font, its focus and text, and that its client edge is never painted.
#include "ui/edit_resource.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "ui/base_window.h"
#include "ui/tests/canvas.h"

namespace {

using ui_testing::Canvas;
using ui_testing::ScaleScope;

constexpr wchar_t kClass[] = L"VeloraEditTestWindow";

// A plain white host that records the edit box's notifications.
class HostWindow : public IBaseWindow {
 public:
  HostWindow() : IBaseWindow(kClass, nullptr, 300, 120) {}
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
    if (message == WM_COMMAND && LOWORD(wParam) == CEditResource::kControlId) notifications.push_back(HIWORD(wParam));
    if (message == WM_ERASEBKGND) {
      RECT r;
      GetClientRect(window_, &r);
      FillRect(reinterpret_cast<HDC>(wParam), &r, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
      return 1;
    }
    return DefWindowProcW(window_, message, wParam, lParam);
  }
  void Pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
  }
  std::vector<WORD> notifications;
};

TEST(EditResource, NativeControlPlacedAndDrawnByItself) {
  HostWindow host;
  ScaleScope scale(1.5);
  WidgetStyle style;
  style.ForAll([](StateStyle& s) { s.fontSize = 14; });
  CEditResource edit(host.Handle(), &style);
  HWND control = edit.Control();
  ASSERT_TRUE(IsWindow(control));
  EXPECT_EQ(edit.kind, kKindEdit);
  EXPECT_EQ(edit.id, 5);
  EXPECT_EQ(GetDlgCtrlID(control), 5);
  EXPECT_EQ(GetParent(control), host.Handle());
  wchar_t className[16] = {}, text[16] = {};
  GetClassNameW(control, className, 16);
  GetWindowTextW(control, text, 16);
  EXPECT_EQ(std::wstring(className), L"Edit");
  EXPECT_EQ(std::wstring(text), L"C:/");
  EXPECT_EQ(edit.text, L"C:/");
  EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(control, GWL_STYLE)) & 0xFFFF00FF, 0x50A00080u);
  EXPECT_TRUE(GetWindowLongW(control, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
  EXPECT_EQ(GetPropW(control, L"EditClassPtr"), &edit);
  EXPECT_NE(GetWindowLongPtrW(control, GWLP_WNDPROC), GetClassLongPtrW(control, GCLP_WNDPROC));

  // The font of the normal state at the UI scale.
  LOGFONTW font = {};
  ASSERT_TRUE(GetObjectW(reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)), sizeof font, &font));
  EXPECT_EQ(font.lfHeight, -21);
  EXPECT_EQ(font.lfWeight, 0);

  // Placed by the layout like any widget; drawing only shows the control.
  edit.SetRect(20, 30, 220, 60);
  RECT placed;
  GetWindowRect(control, &placed);
  MapWindowPoints(nullptr, host.Handle(), reinterpret_cast<POINT*>(&placed), 2);
  EXPECT_EQ(placed.left, 20);
  EXPECT_EQ(placed.top, 30);
  EXPECT_EQ(placed.right, 220);
  EXPECT_EQ(placed.bottom, 60);
  Canvas canvas(300, 120);
  EXPECT_TRUE(edit.Draw(canvas.Dc()));
  EXPECT_TRUE(canvas.AllUntouched());
  EXPECT_TRUE(IsWindowVisible(control) || !IsWindowVisible(host.Handle()));
}

TEST(EditResource, DefaultLooksWithoutAStyle) {
  HostWindow host;
  CEditResource edit(host.Handle(), nullptr);
  for (const StateStyle& s : edit.style.states) {
    EXPECT_EQ(s.textColour, 0xFF1A1A1Au);
    EXPECT_EQ(s.backgroundColour, 0x00FFFFFFu);
    EXPECT_EQ(s.borderColour, 0x00FFFFFFu);
  }
}

// Focus in, typed text, focus out: the host hears of each, and the text is
// there to read when the focus leaves.
TEST(EditResource, FocusAndText) {
  HostWindow host;
  CEditResource edit(host.Handle(), nullptr);
  edit.SetRect(10, 10, 250, 40);
  ShowWindow(host.Handle(), SW_SHOWNORMAL);
  SetForegroundWindow(host.Handle());
  SetFocus(edit.Control());
  host.Pump();
  EXPECT_EQ(GetFocus(), edit.Control());
  SetWindowTextW(edit.Control(), L"D:\\Apps\\Velora");
  SetFocus(host.Handle());
  host.Pump();
  EXPECT_NE(std::find(host.notifications.begin(), host.notifications.end(), EN_SETFOCUS), host.notifications.end());
  ASSERT_FALSE(host.notifications.empty());
  EXPECT_EQ(host.notifications.back(), EN_KILLFOCUS);
  wchar_t text[260] = {};
  GetWindowTextW(edit.Control(), text, 260);
  EXPECT_EQ(std::wstring(text), L"D:\\Apps\\Velora");
}

// The control keeps its client-edge style, but its frame is never painted:
// what the host drew under it stays.
TEST(EditResource, NoThreeDimensionalEdge) {
  HostWindow host;
  CEditResource edit(host.Handle(), nullptr);
  edit.SetRect(10, 10, 250, 40);
  ShowWindow(host.Handle(), SW_SHOWNORMAL);
  UpdateWindow(host.Handle());
  edit.Draw(nullptr);
  host.Pump();
  RedrawWindow(edit.Control(), nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
  host.Pump();
  EXPECT_EQ(SendMessageW(edit.Control(), WM_NCPAINT, 1, 0), 0);
  // The frame's pixels: the control's outer edge, left and top.
  HDC screen = GetDC(host.Handle());
  EXPECT_EQ(GetPixel(screen, 10, 25) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(GetPixel(screen, 100, 10) & 0xFFFFFF, 0xFFFFFFu);
  ReleaseDC(host.Handle(), screen);
}

}  // namespace

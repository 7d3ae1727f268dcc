#include "ui/base_view.h"

#include "ui/gdi_owners.h"
#include "ui/image_resource.h"
#include "ui/ui_messages.h"

namespace {

// Leaves the client areas of the window's visible child controls out of the
// device context: they paint themselves, and a copy over them would blank
// them until they do.
void ExcludeChildControls(HDC dc, HWND window) {
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    if (!IsWindowVisible(child)) continue;
    RECT area;
    GetClientRect(child, &area);
    MapWindowPoints(child, window, reinterpret_cast<POINT*>(&area), 2);
    ExcludeClipRect(dc, area.left, area.top, area.right, area.bottom);
  }
}

}  // namespace

IBaseView::IBaseView(HWND window, IResourceMgr* resources) : window_(window), resources_(resources) {}

IBaseView::~IBaseView() = default;

int IBaseView::AddWidget(IBaseResource* widget) {
  widgets_.emplace_back(widget);
  return static_cast<int>(widgets_.size()) - 1;
}

IBaseResource* IBaseView::Widget(int index) const {
  return index >= 0 && index < WidgetCount() ? widgets_[index].get() : nullptr;
}

int IBaseView::HitTest(LPARAM position) const {
  const POINT point{static_cast<LONG>(position & 0xFFFF), static_cast<LONG>((position >> 16) & 0xFFFF)};
  int solid = 0, passive = 0;
  for (int i = 0; i < WidgetCount(); ++i) {
    const IBaseResource& widget = *widgets_[i];
    if (widget.kind == kKindLayout || !PtInRect(&widget.rect, point)) continue;
    if (widget.kind == kKindBackground || widget.kind == kKindMovie) {
      passive = i;
      continue;
    }
    solid = i;
    break;
  }
  return solid > passive ? solid : passive;
}

IBaseResource* IBaseView::FindWidgetById(int id) const {
  for (const auto& widget : widgets_)
    if (widget->id == id) return widget.get();
  return nullptr;
}

void IBaseView::Redraw() { InvalidateRect(window_, nullptr, TRUE); }

void IBaseView::DrawWidgets(HDC dc) {
  for (const auto& widget : widgets_) widget->Draw(dc);
}

LRESULT IBaseView::PaintLayered() {
  PaintScope paint(window_);
  const LONG_PTR exStyle = GetWindowLongPtrW(window_, GWL_EXSTYLE);
  if (!(exStyle & WS_EX_LAYERED)) SetWindowLongPtrW(window_, GWL_EXSTYLE, exStyle | WS_EX_LAYERED);
  RECT area;
  GetWindowRect(window_, &area);
  const int width = area.right - area.left, height = area.bottom - area.top;
  MemoryDc memory(paint.Get());
  SetBkMode(memory.Get(), TRANSPARENT);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  info.bmiHeader.biSizeImage = (((width * 32 + 31) >> 3) & ~3) * height;
  void* bits = nullptr;
  GdiObject<HBITMAP> bitmap(CreateDIBSection(memory.Get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (bitmap) {
    SelectedObject selected(memory.Get(), bitmap.Get());
    DrawWidgets(memory.Get());
    WindowDc screen(nullptr);
    POINT at{area.left, area.top}, source{0, 0};
    SIZE size{width, height};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window_, screen.Get(), &at, &size, memory.Get(), &source, 0, &blend, ULW_ALPHA);
  }
  return 0;
}

LRESULT IBaseView::PaintOpaque(UINT message, WPARAM wParam, LPARAM lParam) {
  {
    WindowDc target(window_);
    RECT client;
    GetClientRect(window_, &client);
    MemoryDc memory(target.Get());
    GdiObject<HBITMAP> bitmap(CreateCompatibleBitmap(target.Get(), client.right, client.bottom));
    if (bitmap) {
      SelectedObject selected(memory.Get(), bitmap.Get());
      DrawWidgets(memory.Get());
      ExcludeChildControls(target.Get(), window_);
      BitBlt(target.Get(), 0, 0, client.right, client.bottom, memory.Get(), 0, 0, SRCCOPY);
    }
  }
  return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT IBaseView::ShowAndActivate(HWND window, bool topmost) {
  ShowWindow(window, SW_SHOWNORMAL);
  SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  SetForegroundWindow(window);
  SetFocus(window);
  return 0;
}

bool IBaseView::UpdateStates(int target) {
  bool changed = false;
  for (int i = 0; i < WidgetCount(); ++i) {
    if (widgets_[i]->kind != kKindButton) continue;
    auto& button = static_cast<CImageResource&>(*widgets_[i]);
    if (button.state == kStateDisabled) continue;
    const int wanted = i == target ? kStateHover : kStateNormal;
    if (button.state != wanted) {
      button.state = wanted;
      changed = true;
    }
  }
  return changed;
}

LRESULT IBaseView::OnMouseMove(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
  const int index = HitTest(lParam);
  if (index == hoverIndex_) return result;
  const IBaseResource* widget = Widget(index);
  bool changed = false;
  if (widget && widget->kind == kKindButton) {
    changed = UpdateStates(index);
  } else if (widget && hoverIndex_ != -1 &&
             (widget->kind == kKindBackground || widget->kind == kKindImage || widget->kind == kKindCheckbox ||
              widget->kind == kKindText || widget->kind == kKindSpacer || widget->kind == kKindProgress)) {
    changed = UpdateStates(-1);
  }
  if (changed) Redraw();
  hoverIndex_ = index;
  return result;
}

LRESULT IBaseView::OnLButtonDown(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
  IBaseResource* widget = Widget(HitTest(lParam));
  if (widget && widget->kind == kKindButton) {
    auto& button = static_cast<CImageResource&>(*widget);
    if (button.state != kStateDisabled) {
      button.state = kStatePressed;
      Redraw();
      return result;
    }
  }
  if (widget && widget->kind == kKindCheckbox) return result;
  ReleaseCapture();
  if (!dragsWindow_) return result;
  // Anything else moves the borderless window like a caption would.
  SendMessageW(window_, WM_NCLBUTTONDOWN, HTCAPTION, lParam);
  return result;
}

LRESULT IBaseView::OnLButtonUp(UINT message, WPARAM wParam, LPARAM lParam) {
  const LRESULT result = DefWindowProcW(window_, message, wParam, lParam);
  const int index = HitTest(lParam);
  const IBaseResource* widget = Widget(index);
  if (!widget || widget->kind == kKindImage) return result;
  if (widget->kind == kKindButton && static_cast<const CImageResource*>(widget)->state == kStateDisabled) return result;
  PostMessageW(window_, WM_WIDGET_CLICK, static_cast<WPARAM>(index), lParam);
  return result;
}

void IBaseView::OnWidgetClick(int, LPARAM) {}

LRESULT IBaseView::PageProc(UINT message, WPARAM wParam, LPARAM lParam, bool layered) {
  switch (message) {
    case WM_PAINT: return layered ? PaintLayered() : PaintOpaque(message, wParam, lParam);
    // The widgets cover the whole client area; an erase would paint over them.
    case WM_ERASEBKGND: return 0;
    case WM_MOUSEMOVE: return OnMouseMove(message, wParam, lParam);
    case WM_LBUTTONDOWN: return OnLButtonDown(message, wParam, lParam);
    case WM_LBUTTONUP: return OnLButtonUp(message, wParam, lParam);
    case WM_WIDGET_CLICK: OnWidgetClick(static_cast<int>(wParam), lParam); return 0;
    default: return DefWindowProcW(window_, message, wParam, lParam);
  }
}

#include "ui/edit_resource.h"

namespace {

const wchar_t kWidgetProperty[] = L"EditClassPtr";

// The EDIT class's own procedure; there is only ever one edit box.
WNDPROC g_editClassProc = nullptr;

// The control keeps the client-edge style it was created with, but its sunken
// 3-D frame is never painted: the page draws the box's looks around it.
LRESULT CALLBACK EditSubclassProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (!GetPropW(window, kWidgetProperty) || !g_editClassProc) return DefWindowProcW(window, message, wParam, lParam);
  if (message == WM_NCPAINT && (GetWindowLongW(window, GWL_EXSTYLE) & WS_EX_CLIENTEDGE)) return 0;
  return CallWindowProcW(g_editClassProc, window, message, wParam, lParam);
}

WidgetStyle EditDefaults() {
  WidgetStyle style;
  style.ForAll([](StateStyle& s) {
    s.textColour = 0xFF1A1A1A;
    s.backgroundColour = 0x00FFFFFF;
    s.borderColour = 0x00FFFFFF;
  });
  return style;
}

}  // namespace

CEditResource::CEditResource(HWND parent, const WidgetStyle* style) : CImageResource(kControlId, style, kKindEdit) {
  if (!style) this->style = EditDefaults();
  const DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | ES_AUTOHSCROLL;  // 0x50A00080
  control_ = CreateWindowExW(WS_EX_CLIENTEDGE, L"Edit", text.c_str(), kStyle, 0, 0, 100, 25, parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)),
                             reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
  if (!control_) throw "create widget error";
  g_editClassProc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(control_, GCLP_WNDPROC));
  SetWindowLongPtrW(control_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&EditSubclassProc));
  SetPropW(control_, kWidgetProperty, this);

  const StateStyle& normal = this->style.states[kStateNormal];
  font_ = GdiObject<HFONT>(CreateFontW(-static_cast<int>(WidgetScale() * normal.fontSize), 0, 0, 0, 0, FALSE, FALSE,
                                       FALSE, 0, OUT_TT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH,
                                       normal.fontFamily.c_str()));
  SendMessageW(control_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), FALSE);
}

CEditResource::~CEditResource() {
  // Normally the parent window has destroyed the control already.
  if (IsWindow(control_)) {
    RemovePropW(control_, kWidgetProperty);
    DestroyWindow(control_);
  }
}

bool CEditResource::Draw(HDC) {
  ShowWindow(control_, SW_SHOWNORMAL);
  InvalidateRect(control_, nullptr, TRUE);
  return true;
}

bool CEditResource::SetRect(int left, int top, int right, int bottom) {
  CImageResource::SetRect(left, top, right, bottom);
  SetWindowPos(control_, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  return true;
}

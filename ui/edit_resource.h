#pragma once
#include <windows.h>

#include <string>

#include "ui/gdi_owners.h"
#include "ui/image_resource.h"

// The one native control of the installer: an EDIT child window placed by the
// layout like any widget, painting itself. Its control id is its widget id,
// always 5. The hosting page colours it (WM_CTLCOLOREDIT) and reads its text
// when it loses the focus (EN_KILLFOCUS).
class CEditResource : public CImageResource {
 public:
  static constexpr int kControlId = 5;

  // A null style gives dark text on white with no visible border. Throws
  // "create widget error" when the control cannot be created.
  CEditResource(HWND parent, const WidgetStyle* style);
  ~CEditResource() override;

  // Shows the control and lets it repaint itself; nothing is drawn into `dc`.
  bool Draw(HDC dc) override;
  // Places the widget, then moves and sizes the control to it.
  bool SetRect(int left, int top, int right, int bottom) override;

  HWND Control() const { return control_; }

  // The page's own copy of the path in the box.
  std::wstring text = L"C:/";

 private:
  HWND control_ = nullptr;
  GdiObject<HFONT> font_;
};

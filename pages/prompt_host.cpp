#include "pages/prompt_host.h"

#include "ui/base_window.h"

POINT PromptPosition(const RECT& owner, SIZE size, const RECT& workArea) {
  POINT at{owner.left + (owner.right - owner.left - size.cx) / 2, owner.top + (owner.bottom - owner.top - size.cy) / 2};
  if (at.x < workArea.left) at.x = workArea.left;
  if (at.x + size.cx > workArea.right) at.x = workArea.right - size.cx;
  if (at.y + size.cy > workArea.bottom) at.y = workArea.bottom - size.cy;
  return at;
}

void PlacePrompt(IBaseWindow& prompt, HWND owner) {
  RECT ownerRect, promptRect;
  GetWindowRect(owner, &ownerRect);
  GetWindowRect(prompt.Handle(), &promptRect);
  const SIZE size{promptRect.right - promptRect.left, promptRect.bottom - promptRect.top};
  const POINT at = PromptPosition(ownerRect, size, prompt.WorkArea());
  SetWindowPos(prompt.Handle(), nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  ShowWindow(prompt.Handle(), SW_SHOW);
  UpdateWindow(prompt.Handle());
}

bool RunPromptLoop(HWND prompt, UINT watched) {
  bool seen = false;
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    if (message.hwnd == prompt) {
      TranslateMessage(&message);
      DispatchMessageW(&message);
      if (message.message == watched) seen = true;
    } else if (message.message == WM_PAINT) {
      // An unvalidated paint comes back at once: handling it keeps the owner
      // painted and the loop idle.
      DispatchMessageW(&message);
    }
  }
  return seen;
}

#pragma once
#include <windows.h>

// The private messages of the skinned windows; both are posted, never sent.
enum : UINT {
  WM_WIDGET_CLICK = WM_APP + 107,  // wParam: widget index, lParam: mouse position
  WM_MOVIE_FRAME = WM_APP + 124,   // the animated image asks for a redraw
};

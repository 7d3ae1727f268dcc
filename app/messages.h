#pragma once
#include <windows.h>

#include "ui/ui_messages.h"  // WM_WIDGET_CLICK, WM_MOVIE_FRAME

// Private window messages; all are posted, never sent.
enum : UINT {
  WM_SWITCH_PAGE = WM_APP + 106,
  WM_TRAY_NOTIFY = WM_APP + 110,
  WM_CONFIRM_QUIT = WM_APP + 114,
  WM_RETRY_DOWNLOAD = WM_APP + 115,
  WM_DOWNLOAD_FAILED = WM_APP + 118,
  WM_INSTALL_FAILED = WM_APP + 119,
  WM_PROGRESS_TICK = WM_APP + 123,
  WM_OPEN_WELCOME = WM_APP + 125,
  WM_ACTIVATE_INSTANCE = WM_APP + 255,
};

#pragma once
#include <windows.h>

#include "ui/ui_messages.h"  // WM_WIDGET_CLICK, WM_MOVIE_FRAME

// The private messages between the main window, its pages, the prompts, the
// workers and a second start; all are posted, never sent.
enum : UINT {
  WM_SWITCH_PAGE = WM_APP + 106,  // wParam: page index
  WM_TRAY_NOTIFY = WM_APP + 110,
  WM_CONFIRM_QUIT = WM_APP + 114,
  WM_RETRY_DOWNLOAD = WM_APP + 115,
  WM_DOWNLOAD_FAILED = WM_APP + 118,
  WM_INSTALL_FAILED = WM_APP + 119,
  WM_PROGRESS_TICK = WM_APP + 123,
  WM_OPEN_WELCOME = WM_APP + 125,
  WM_ACTIVATE_INSTANCE = WM_APP + 255,
};

// The main window's page indices.
enum PageIndex : int {
  kPageAlreadyInstalled = 0,
  kPageWelcome = 1,
  kPageCustom = 2,
  kPageProgress = 3,
  kPageFinished = 4,
  kPageCount = 5,
};

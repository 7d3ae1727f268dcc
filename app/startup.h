#pragma once
#include <windows.h>

// The whole run of the installer: start-up, the message loop while a main
// window exists, and shut-down. Always returns 0.
int RunInstaller(HINSTANCE instance);

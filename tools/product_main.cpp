// The demo product: a Velora program file that carries the package version.
// Started, it only says which version it is.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) { return 0; }

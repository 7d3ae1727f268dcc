#include "app/app_context.h"

namespace {
AppContext* g_context = nullptr;
HINSTANCE g_instance = nullptr;
}  // namespace

uint8_t is_first_install = 1;
uint8_t is_reinstall = 0;

AppContext* GetAppContext() { return g_context; }
void SetAppContext(AppContext* context) { g_context = context; }
HINSTANCE GetAppInstance() { return g_instance; }
void SetAppInstance(HINSTANCE instance) { g_instance = instance; }

#include "ui/display_scale.h"

namespace {
DisplayScale g_default;
DisplayScale* g_bound = &g_default;
}  // namespace

DisplayScale& GetDisplayScale() { return *g_bound; }
void BindDisplayScale(DisplayScale* scale) { g_bound = scale ? scale : &g_default; }

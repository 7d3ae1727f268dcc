#pragma once
#include <windows.h>

// GDI+'s headers need the COM declarations before them.
#include <objidl.h>

#include <gdiplus.h>

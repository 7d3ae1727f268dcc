#pragma once
#include <string>

#include "sdk/qmx_api.h"

// Installs the process's unhandled-exception filter: it writes a minidump
// into the library's folder, calls callback(context, dump path), lets the
// last records go out within a short bound, and ends the process.
void EnableCrashReport(QmxCrashCallback callback, void* context);

// Set by the exports: flushes the live handle, at most waitMs.
void SetCrashFlush(void (*flush)(unsigned waitMs));

#pragma once
#include <windows.h>

#include <cstdint>

// The first IPv4 address (network order) that the system resolver gives for
// name; false when it gives none. The system resolver cannot be interrupted
// and waits for a silent name server for many seconds, so with a cancel event
// (manual-reset) the lookup runs on a thread of its own and the call returns
// as soon as the answer or the event comes; a lookup given up on ends by
// itself later and frees what it holds. Without an event the lookup runs on
// the caller's thread.
bool SystemLookup(const char* name, HANDLE cancel, uint32_t* address);

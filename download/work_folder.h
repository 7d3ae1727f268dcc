#pragma once
#include <string>

// This run's own folder on the roomiest writable volume: the best volume root
// plus "VeloraPkg_" and the start time in seconds, ending in '\'. It is made
// before the entry point runs and removed with everything in it after the
// entry point has returned; "" when it could not be made.
const std::wstring& GetWorkFolder();

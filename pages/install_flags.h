#pragma once
#include <cstdint>

// Installer-wide flags sent as event properties by start-up, the pages and
// the finishing steps. Start-up sets them before any page exists.
extern uint8_t is_first_install;  // 1 until the uninstall entry is found
extern uint8_t is_reinstall;      // 1 when the installed version is not older

#include "pages/install_flags.h"

uint8_t is_first_install = 1;
uint8_t is_reinstall = 0;

#pragma once
#include <cstddef>
#include <string>

// The library's one random generator (CTR-DRBG over the system's entropy),
// safe to call from any thread.
bool RandomBytes(unsigned char* out, size_t size);
// 32 lower-case hex digits of fresh random bytes; "" if the generator failed.
std::string RandomHexId();
// The generator in the form mbedtls callbacks take (context ignored).
int RandomForMbedtls(void* context, unsigned char* out, size_t size);

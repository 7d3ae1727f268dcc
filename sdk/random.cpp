#include "sdk/random.h"

#include <mutex>

#include "mbedtls/ctr_drbg.h"
#include "mbedtls/entropy.h"

namespace {

class Generator {
 public:
  Generator() {
    mbedtls_entropy_init(&entropy_);
    mbedtls_ctr_drbg_init(&drbg_);
    static const unsigned char kPersonal[] = "qmx-random";
    ready_ = mbedtls_ctr_drbg_seed(&drbg_, mbedtls_entropy_func, &entropy_, kPersonal, sizeof kPersonal) == 0;
  }
  ~Generator() {
    mbedtls_ctr_drbg_free(&drbg_);
    mbedtls_entropy_free(&entropy_);
  }
  bool Fill(unsigned char* out, size_t size) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!ready_) return false;
    // One request may not exceed the DRBG's maximum; large asks go in pieces.
    while (size > 0) {
      size_t piece = size < MBEDTLS_CTR_DRBG_MAX_REQUEST ? size : MBEDTLS_CTR_DRBG_MAX_REQUEST;
      if (mbedtls_ctr_drbg_random(&drbg_, out, piece) != 0) return false;
      out += piece;
      size -= piece;
    }
    return true;
  }

 private:
  std::mutex lock_;
  mbedtls_entropy_context entropy_;
  mbedtls_ctr_drbg_context drbg_;
  bool ready_ = false;
};

Generator& TheGenerator() {
  static Generator generator;
  return generator;
}

}  // namespace

bool RandomBytes(unsigned char* out, size_t size) { return TheGenerator().Fill(out, size); }

std::string RandomHexId() {
  unsigned char bytes[16];
  if (!RandomBytes(bytes, sizeof bytes)) return std::string();
  static const char kHex[] = "0123456789abcdef";
  std::string id;
  for (unsigned char b : bytes) {
    id += kHex[b >> 4];
    id += kHex[b & 15];
  }
  return id;
}

int RandomForMbedtls(void*, unsigned char* out, size_t size) { return RandomBytes(out, size) ? 0 : -1; }

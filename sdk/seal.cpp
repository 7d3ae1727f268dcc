#include "sdk/seal.h"

#include <mutex>
#include <vector>

#include "mbedtls/base64.h"
#include "mbedtls/gcm.h"
#include "mbedtls/pk.h"
#include "mbedtls/rsa.h"
#include "mbedtls/sha256.h"
#include "sdk/random.h"

namespace {

constexpr unsigned char kVersion = 0x01;
constexpr unsigned char kSignedVersion = 0x02;
constexpr size_t kKeySize = 32;
constexpr size_t kNonceSize = 12;
constexpr size_t kTagSize = 16;

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

// Parses a key and insists on RSA with OAEP over SHA-256.
bool ParseRsa(mbedtls_pk_context* pk, const std::string& der, bool isPrivate) {
  int rc = isPrivate ? mbedtls_pk_parse_key(pk, Bytes(der), der.size(), nullptr, 0)
                     : mbedtls_pk_parse_public_key(pk, Bytes(der), der.size());
  if (rc != 0 || mbedtls_pk_get_type(pk) != MBEDTLS_PK_RSA) return false;
  mbedtls_rsa_context* rsa = mbedtls_pk_rsa(*pk);
  mbedtls_rsa_set_padding(rsa, MBEDTLS_RSA_PKCS_V21, MBEDTLS_MD_SHA256);
  // A modulus too small for OAEP over SHA-256 and a 32-byte key is no use.
  return mbedtls_rsa_get_len(rsa) >= 2 * 32 + 2 + kKeySize;
}

// AES-256-GCM in one go; false when the tag does not match on opening.
bool Gcm(bool seal, const unsigned char* key, const unsigned char* nonce, const std::string& aad,
         const unsigned char* in, size_t size, unsigned char* out, unsigned char* tag) {
  mbedtls_gcm_context gcm;
  mbedtls_gcm_init(&gcm);
  bool ok = mbedtls_gcm_setkey(&gcm, MBEDTLS_CIPHER_ID_AES, key, kKeySize * 8) == 0;
  if (ok && seal)
    ok = mbedtls_gcm_crypt_and_tag(&gcm, MBEDTLS_GCM_ENCRYPT, size, nonce, kNonceSize, Bytes(aad), aad.size(), in, out,
                                   kTagSize, tag) == 0;
  else if (ok)
    ok = mbedtls_gcm_auth_decrypt(&gcm, size, nonce, kNonceSize, Bytes(aad), aad.size(), tag, kTagSize, in, out) == 0;
  mbedtls_gcm_free(&gcm);
  return ok;
}

}  // namespace

std::string Base64Encode(const std::string& bytes) {
  size_t size = 0;
  mbedtls_base64_encode(nullptr, 0, &size, Bytes(bytes), bytes.size());
  std::string text(size, '\0');
  if (mbedtls_base64_encode(reinterpret_cast<unsigned char*>(&text[0]), text.size(), &size, Bytes(bytes),
                            bytes.size()) != 0)
    return std::string();
  text.resize(size);
  return text;
}

std::string Base64Decode(const std::string& text) {
  std::string clean;
  for (char c : text)
    if (c != ' ' && c != '\r' && c != '\n' && c != '\t') clean += c;
  size_t size = 0;
  if (clean.empty() ||
      mbedtls_base64_decode(nullptr, 0, &size, Bytes(clean), clean.size()) == MBEDTLS_ERR_BASE64_INVALID_CHARACTER)
    return std::string();
  std::string bytes(size, '\0');
  if (mbedtls_base64_decode(reinterpret_cast<unsigned char*>(&bytes[0]), bytes.size(), &size, Bytes(clean),
                            clean.size()) != 0)
    return std::string();
  bytes.resize(size);
  return bytes;
}

// One parsed key. The RSA context caches values (and, for private keys, the
// blinding values) while it works, so every use holds the lock.
struct RsaKeyState {
  std::mutex lock;
  mbedtls_pk_context pk;
  RsaKeyState() { mbedtls_pk_init(&pk); }
  ~RsaKeyState() { mbedtls_pk_free(&pk); }
};

struct SealingKey::State : RsaKeyState {};
struct OpeningKey::State : RsaKeyState {};

SealingKey::SealingKey() : state_(new State) {}
SealingKey::~SealingKey() = default;

std::unique_ptr<SealingKey> SealingKey::FromBase64(const std::string& base64) {
  std::unique_ptr<SealingKey> key(new SealingKey);
  if (!ParseRsa(&key->state_->pk, Base64Decode(base64), false)) return nullptr;
  return key;
}

std::string SealingKey::Seal(const std::string& plain) const {
  std::lock_guard<std::mutex> hold(state_->lock);
  mbedtls_rsa_context* rsa = mbedtls_pk_rsa(state_->pk);
  const size_t wrappedSize = mbedtls_rsa_get_len(rsa);
  unsigned char key[kKeySize];
  unsigned char nonce[kNonceSize];
  if (!RandomBytes(key, sizeof key) || !RandomBytes(nonce, sizeof nonce)) return std::string();

  std::string header(1 + wrappedSize, '\0');
  header[0] = static_cast<char>(kVersion);
  unsigned char* wrapped = reinterpret_cast<unsigned char*>(&header[1]);
  if (mbedtls_rsa_rsaes_oaep_encrypt(rsa, RandomForMbedtls, nullptr, MBEDTLS_RSA_PUBLIC, nullptr, 0, kKeySize, key,
                                     wrapped) != 0)
    return std::string();

  std::vector<unsigned char> body(plain.size() + kTagSize);
  bool ok = Gcm(true, key, nonce, header, Bytes(plain), plain.size(), body.data(), body.data() + plain.size());
  mbedtls_platform_zeroize(key, sizeof key);
  if (!ok) return std::string();
  std::string sealed = header;
  sealed.append(reinterpret_cast<const char*>(nonce), kNonceSize);
  sealed.append(reinterpret_cast<const char*>(body.data()), body.size());
  return sealed;
}

bool SealingKey::Verify(const std::string& message, const std::string& signature) const {
  std::lock_guard<std::mutex> hold(state_->lock);
  mbedtls_rsa_context* rsa = mbedtls_pk_rsa(state_->pk);
  if (signature.size() != mbedtls_rsa_get_len(rsa)) return false;
  unsigned char hash[32];
  if (mbedtls_sha256_ret(Bytes(message), message.size(), hash, 0) != 0) return false;
  // The key is set up for OAEP over SHA-256, which makes this PSS over SHA-256.
  return mbedtls_rsa_pkcs1_verify(rsa, nullptr, nullptr, MBEDTLS_RSA_PUBLIC, MBEDTLS_MD_SHA256, sizeof hash, hash,
                                  Bytes(signature)) == 0;
}

size_t SealingKey::SignatureSize() const {
  std::lock_guard<std::mutex> hold(state_->lock);
  return mbedtls_rsa_get_len(mbedtls_pk_rsa(state_->pk));
}

OpeningKey::OpeningKey() : state_(new State) {}
OpeningKey::~OpeningKey() = default;

std::unique_ptr<OpeningKey> OpeningKey::FromBase64(const std::string& base64) {
  std::unique_ptr<OpeningKey> key(new OpeningKey);
  if (!ParseRsa(&key->state_->pk, Base64Decode(base64), true)) return nullptr;
  if (mbedtls_rsa_check_privkey(mbedtls_pk_rsa(key->state_->pk)) != 0) return nullptr;
  return key;
}

bool OpeningKey::Open(const std::string& sealed, std::string* plain) const { return OpenAny(kVersion, sealed, plain); }

bool OpeningKey::OpenSigned(const std::string& sealed, const SealingKey& signer, std::string* nonce,
                            std::string* payload) const {
  std::string plain;
  const size_t signatureSize = signer.SignatureSize();
  if (!OpenAny(kSignedVersion, sealed, &plain) || plain.size() < kNonceTextSize + signatureSize) return false;
  const size_t signedSize = plain.size() - signatureSize;
  if (!signer.Verify(std::string(1, static_cast<char>(kSignedVersion)) + plain.substr(0, signedSize),
                     plain.substr(signedSize)))
    return false;
  *nonce = plain.substr(0, kNonceTextSize);
  *payload = plain.substr(kNonceTextSize, signedSize - kNonceTextSize);
  return true;
}

bool OpeningKey::OpenAny(unsigned char version, const std::string& sealed, std::string* plain) const {
  if (!sealed.empty() && static_cast<unsigned char>(sealed[0]) == version && OpenRaw(version, sealed, plain))
    return true;
  // The services also hand sealed blobs over as Base64 text inside JSON.
  std::string decoded = Base64Decode(sealed);
  return !decoded.empty() && OpenRaw(version, decoded, plain);
}

bool OpeningKey::OpenRaw(unsigned char version, const std::string& sealed, std::string* plain) const {
  std::lock_guard<std::mutex> hold(state_->lock);
  mbedtls_rsa_context* rsa = mbedtls_pk_rsa(state_->pk);
  const size_t wrappedSize = mbedtls_rsa_get_len(rsa);
  const size_t fixed = 1 + wrappedSize + kNonceSize + kTagSize;
  if (sealed.size() < fixed || static_cast<unsigned char>(sealed[0]) != version) return false;

  unsigned char key[kKeySize];
  size_t keySize = 0;
  if (mbedtls_rsa_rsaes_oaep_decrypt(rsa, RandomForMbedtls, nullptr, MBEDTLS_RSA_PRIVATE, nullptr, 0, &keySize,
                                     Bytes(sealed) + 1, key, sizeof key) != 0 ||
      keySize != kKeySize)
    return false;

  const std::string header = sealed.substr(0, 1 + wrappedSize);
  const unsigned char* nonce = Bytes(sealed) + header.size();
  const unsigned char* body = nonce + kNonceSize;
  const size_t size = sealed.size() - fixed;
  std::vector<unsigned char> out(size + 1);
  bool ok = Gcm(false, key, nonce, header, body, size, out.data(), const_cast<unsigned char*>(body + size));
  mbedtls_platform_zeroize(key, sizeof key);
  if (!ok) return false;
  plain->assign(reinterpret_cast<const char*>(out.data()), size);
  return true;
}

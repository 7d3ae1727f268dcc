#include "backend/seal.h"

#include <openssl/evp.h>
#include <openssl/rand.h>
#include <openssl/rsa.h>
#include <openssl/x509.h>

#include <memory>
#include <vector>

namespace {

constexpr unsigned char kVersion = 0x01;
constexpr unsigned char kSignedVersion = 0x02;
constexpr int kKeySize = 32;
constexpr int kNonceSize = 12;
constexpr int kTagSize = 16;

struct PkeyFree {
  void operator()(EVP_PKEY* p) const { EVP_PKEY_free(p); }
};
struct PkeyCtxFree {
  void operator()(EVP_PKEY_CTX* p) const { EVP_PKEY_CTX_free(p); }
};
struct MdCtxFree {
  void operator()(EVP_MD_CTX* p) const { EVP_MD_CTX_free(p); }
};
struct CipherCtxFree {
  void operator()(EVP_CIPHER_CTX* p) const { EVP_CIPHER_CTX_free(p); }
};
using Pkey = std::unique_ptr<EVP_PKEY, PkeyFree>;
using PkeyCtx = std::unique_ptr<EVP_PKEY_CTX, PkeyCtxFree>;
using CipherCtx = std::unique_ptr<EVP_CIPHER_CTX, CipherCtxFree>;
using MdCtx = std::unique_ptr<EVP_MD_CTX, MdCtxFree>;

const unsigned char* Bytes(const std::string& s) { return reinterpret_cast<const unsigned char*>(s.data()); }

Pkey LoadKey(const std::string& base64, bool isPrivate) {
  std::string der = Base64Decode(base64);
  const unsigned char* p = Bytes(der);
  EVP_PKEY* key = isPrivate ? d2i_PrivateKey(EVP_PKEY_RSA, nullptr, &p, static_cast<long>(der.size()))
                            : d2i_PUBKEY(nullptr, &p, static_cast<long>(der.size()));
  if (key && EVP_PKEY_get_base_id(key) != EVP_PKEY_RSA) {
    EVP_PKEY_free(key);
    key = nullptr;
  }
  return Pkey(key);
}

bool SetOaep(EVP_PKEY_CTX* ctx) {
  return EVP_PKEY_CTX_set_rsa_padding(ctx, RSA_PKCS1_OAEP_PADDING) > 0 &&
         EVP_PKEY_CTX_set_rsa_oaep_md(ctx, EVP_sha256()) > 0 && EVP_PKEY_CTX_set_rsa_mgf1_md(ctx, EVP_sha256()) > 0;
}

// RSASSA-PSS over SHA-256 (MGF1-SHA-256, salt as long as the digest).
bool SetPss(EVP_PKEY_CTX* ctx) {
  return EVP_PKEY_CTX_set_rsa_padding(ctx, RSA_PKCS1_PSS_PADDING) > 0 &&
         EVP_PKEY_CTX_set_rsa_mgf1_md(ctx, EVP_sha256()) > 0 &&
         EVP_PKEY_CTX_set_rsa_pss_saltlen(ctx, RSA_PSS_SALTLEN_DIGEST) > 0;
}

std::string Sign(EVP_PKEY* key, const std::string& message) {
  MdCtx md(EVP_MD_CTX_new());
  EVP_PKEY_CTX* ctx = nullptr;
  size_t size = 0;
  if (!md || EVP_DigestSignInit(md.get(), &ctx, EVP_sha256(), nullptr, key) != 1 || !SetPss(ctx) ||
      EVP_DigestSign(md.get(), nullptr, &size, Bytes(message), message.size()) != 1)
    return std::string();
  std::string signature(size, '\0');
  if (EVP_DigestSign(md.get(), reinterpret_cast<unsigned char*>(&signature[0]), &size, Bytes(message),
                     message.size()) != 1)
    return std::string();
  signature.resize(size);
  return signature;
}

bool Verify(EVP_PKEY* key, const std::string& message, const std::string& signature) {
  MdCtx md(EVP_MD_CTX_new());
  EVP_PKEY_CTX* ctx = nullptr;
  return md && EVP_DigestVerifyInit(md.get(), &ctx, EVP_sha256(), nullptr, key) == 1 && SetPss(ctx) &&
         EVP_DigestVerify(md.get(), Bytes(signature), signature.size(), Bytes(message), message.size()) == 1;
}

bool OpenRaw(EVP_PKEY* key, const std::string& sealed, std::string* plain, unsigned char version = kVersion) {
  const size_t wrappedSize = static_cast<size_t>(EVP_PKEY_get_size(key));
  const size_t fixed = 1 + wrappedSize + kNonceSize + kTagSize;
  if (sealed.size() < fixed || static_cast<unsigned char>(sealed[0]) != version) return false;
  PkeyCtx ctx(EVP_PKEY_CTX_new(key, nullptr));
  unsigned char aesKey[512];
  size_t aesSize = sizeof aesKey;
  if (!ctx || EVP_PKEY_decrypt_init(ctx.get()) <= 0 || !SetOaep(ctx.get()) ||
      EVP_PKEY_decrypt(ctx.get(), aesKey, &aesSize, Bytes(sealed) + 1, wrappedSize) <= 0 || aesSize != kKeySize)
    return false;
  const unsigned char* nonce = Bytes(sealed) + 1 + wrappedSize;
  const unsigned char* body = nonce + kNonceSize;
  const int size = static_cast<int>(sealed.size() - fixed);
  std::vector<unsigned char> tag(body + size, body + size + kTagSize);
  CipherCtx cipher(EVP_CIPHER_CTX_new());
  std::vector<unsigned char> out(static_cast<size_t>(size) + 16);
  int n = 0, last = 0;
  bool ok = cipher && EVP_DecryptInit_ex(cipher.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1 &&
            EVP_CIPHER_CTX_ctrl(cipher.get(), EVP_CTRL_GCM_SET_IVLEN, kNonceSize, nullptr) == 1 &&
            EVP_DecryptInit_ex(cipher.get(), nullptr, nullptr, aesKey, nonce) == 1 &&
            EVP_DecryptUpdate(cipher.get(), nullptr, &n, Bytes(sealed), static_cast<int>(1 + wrappedSize)) == 1 &&
            EVP_DecryptUpdate(cipher.get(), out.data(), &n, body, size) == 1 &&
            EVP_CIPHER_CTX_ctrl(cipher.get(), EVP_CTRL_GCM_SET_TAG, kTagSize, tag.data()) == 1 &&
            EVP_DecryptFinal_ex(cipher.get(), out.data() + n, &last) == 1;
  OPENSSL_cleanse(aesKey, sizeof aesKey);
  if (!ok) return false;
  plain->assign(reinterpret_cast<const char*>(out.data()), static_cast<size_t>(n + last));
  return true;
}

std::string SealVersion(const std::string& publicKeyBase64, const std::string& plain, unsigned char version) {
  Pkey key = LoadKey(publicKeyBase64, false);
  if (!key) return std::string();
  unsigned char aesKey[kKeySize], nonce[kNonceSize];
  if (RAND_bytes(aesKey, kKeySize) != 1 || RAND_bytes(nonce, kNonceSize) != 1) return std::string();
  PkeyCtx ctx(EVP_PKEY_CTX_new(key.get(), nullptr));
  std::string header(1 + static_cast<size_t>(EVP_PKEY_get_size(key.get())), '\0');
  header[0] = static_cast<char>(version);
  size_t wrapped = header.size() - 1;
  if (!ctx || EVP_PKEY_encrypt_init(ctx.get()) <= 0 || !SetOaep(ctx.get()) ||
      EVP_PKEY_encrypt(ctx.get(), reinterpret_cast<unsigned char*>(&header[1]), &wrapped, aesKey, kKeySize) <= 0)
    return std::string();
  CipherCtx cipher(EVP_CIPHER_CTX_new());
  std::vector<unsigned char> out(plain.size() + 16);
  unsigned char tag[kTagSize];
  int n = 0, last = 0;
  bool ok = cipher && EVP_EncryptInit_ex(cipher.get(), EVP_aes_256_gcm(), nullptr, nullptr, nullptr) == 1 &&
            EVP_CIPHER_CTX_ctrl(cipher.get(), EVP_CTRL_GCM_SET_IVLEN, kNonceSize, nullptr) == 1 &&
            EVP_EncryptInit_ex(cipher.get(), nullptr, nullptr, aesKey, nonce) == 1 &&
            EVP_EncryptUpdate(cipher.get(), nullptr, &n, Bytes(header), static_cast<int>(header.size())) == 1 &&
            EVP_EncryptUpdate(cipher.get(), out.data(), &n, Bytes(plain), static_cast<int>(plain.size())) == 1 &&
            EVP_EncryptFinal_ex(cipher.get(), out.data() + n, &last) == 1 &&
            EVP_CIPHER_CTX_ctrl(cipher.get(), EVP_CTRL_GCM_GET_TAG, kTagSize, tag) == 1;
  OPENSSL_cleanse(aesKey, sizeof aesKey);
  if (!ok) return std::string();
  return header + std::string(reinterpret_cast<const char*>(nonce), kNonceSize) +
         std::string(reinterpret_cast<const char*>(out.data()), static_cast<size_t>(n + last)) +
         std::string(reinterpret_cast<const char*>(tag), kTagSize);
}

}  // namespace

std::string Base64Encode(const std::string& bytes) {
  std::vector<unsigned char> out(4 * ((bytes.size() + 2) / 3) + 1);
  int n = EVP_EncodeBlock(out.data(), Bytes(bytes), static_cast<int>(bytes.size()));
  return std::string(reinterpret_cast<const char*>(out.data()), static_cast<size_t>(n));
}

std::string Base64Decode(const std::string& text) {
  std::string clean;
  for (char c : text)
    if (c != ' ' && c != '\r' && c != '\n' && c != '\t') clean += c;
  if (clean.empty() || clean.size() % 4 != 0) return std::string();
  std::vector<unsigned char> out(clean.size() / 4 * 3 + 1);
  int n = EVP_DecodeBlock(out.data(), Bytes(clean), static_cast<int>(clean.size()));
  if (n < 0) return std::string();
  // EVP_DecodeBlock counts the padding as zero bytes.
  if (clean.back() == '=') --n;
  if (clean.size() > 1 && clean[clean.size() - 2] == '=') --n;
  return std::string(reinterpret_cast<const char*>(out.data()), static_cast<size_t>(n));
}

std::string SealTo(const std::string& publicKeyBase64, const std::string& plain) {
  return SealVersion(publicKeyBase64, plain, kVersion);
}

bool OpenWith(const std::string& privateKeyBase64, const std::string& sealed, std::string* plain) {
  Pkey key = LoadKey(privateKeyBase64, true);
  if (!key) return false;
  if (!sealed.empty() && static_cast<unsigned char>(sealed[0]) == kVersion && OpenRaw(key.get(), sealed, plain))
    return true;
  std::string decoded = Base64Decode(sealed);
  return !decoded.empty() && OpenRaw(key.get(), decoded, plain);
}

std::string SealSignedAnswer(const std::string& clientPublicKeyBase64, const std::string& servicePrivateKeyBase64,
                             const std::string& nonce, const std::string& payload) {
  Pkey key = LoadKey(servicePrivateKeyBase64, true);
  if (!key || nonce.size() != kAnswerNonceSize) return std::string();
  std::string signature = Sign(key.get(), std::string(1, static_cast<char>(kSignedVersion)) + nonce + payload);
  if (signature.empty()) return std::string();
  return SealVersion(clientPublicKeyBase64, nonce + payload + signature, kSignedVersion);
}

bool OpenSignedAnswer(const std::string& clientPrivateKeyBase64, const std::string& servicePublicKeyBase64,
                      const std::string& sealed, std::string* nonce, std::string* payload) {
  Pkey key = LoadKey(clientPrivateKeyBase64, true);
  Pkey signer = LoadKey(servicePublicKeyBase64, false);
  if (!key || !signer) return false;
  std::string plain;
  if (!OpenRaw(key.get(), sealed, &plain, kSignedVersion)) {
    std::string decoded = Base64Decode(sealed);
    if (decoded.empty() || !OpenRaw(key.get(), decoded, &plain, kSignedVersion)) return false;
  }
  const size_t signatureSize = static_cast<size_t>(EVP_PKEY_get_size(signer.get()));
  if (plain.size() < kAnswerNonceSize + signatureSize) return false;
  const size_t signedSize = plain.size() - signatureSize;
  if (!Verify(signer.get(), std::string(1, static_cast<char>(kSignedVersion)) + plain.substr(0, signedSize),
              plain.substr(signedSize)))
    return false;
  *nonce = plain.substr(0, kAnswerNonceSize);
  *payload = plain.substr(kAnswerNonceSize, signedSize - kAnswerNonceSize);
  return true;
}

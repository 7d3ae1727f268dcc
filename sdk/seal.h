#pragma once
#include <memory>
#include <string>

// Sealed blobs: version byte 0x01, the fresh AES-256 key wrapped with
// RSA-OAEP (SHA-256, MGF1-SHA-256, no label) to the receiver's key, a 12-byte
// nonce, the AES-256-GCM ciphertext and its 16-byte tag. The version byte and
// the wrapped key are the GCM's additional data.

// Base64 with the standard alphabet and padding.
std::string Base64Encode(const std::string& bytes);
// "" for text that is not Base64 (white space is ignored).
std::string Base64Decode(const std::string& text);

// The receiver's public key, from Base64 of a DER SubjectPublicKeyInfo.
class SealingKey {
 public:
  // Null when the text is not an RSA public key.
  static std::unique_ptr<SealingKey> FromBase64(const std::string& base64);
  ~SealingKey();
  // The sealed blob; "" on failure.
  std::string Seal(const std::string& plain) const;

 private:
  SealingKey();
  struct State;
  std::unique_ptr<State> state_;
};

// The own private key, from Base64 of a DER PKCS#1 RSA private key.
class OpeningKey {
 public:
  // Null when the text is not an RSA private key.
  static std::unique_ptr<OpeningKey> FromBase64(const std::string& base64);
  ~OpeningKey();
  // The plain bytes of a sealed blob, or of the Base64 text of one. False for
  // anything else: tampered, truncated, sealed to another key, empty.
  bool Open(const std::string& sealed, std::string* plain) const;

 private:
  OpeningKey();
  bool OpenRaw(const std::string& sealed, std::string* plain) const;
  struct State;
  std::unique_ptr<State> state_;
};

#pragma once
#include <memory>
#include <string>

// Sealed blobs: version byte 0x01, the fresh AES-256 key wrapped with
// RSA-OAEP (SHA-256, MGF1-SHA-256, no label) to the receiver's key, a 12-byte
// nonce, the AES-256-GCM ciphertext and its 16-byte tag. The version byte and
// the wrapped key are the GCM's additional data.
//
// Signed answers are sealed the same way with version byte 0x02; their plain
// bytes are the request's 32-character nonce text, the payload, and the
// service's RSASSA-PSS signature (SHA-256, MGF1-SHA-256) over the version
// byte, the nonce and the payload (docs/analytics-wire.md).

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
  // Whether signature is this key's owner's RSASSA-PSS signature of message.
  bool Verify(const std::string& message, const std::string& signature) const;
  size_t SignatureSize() const;

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
  // A signed answer (or the Base64 text of one): its nonce text and payload
  // once it opens and signer's signature holds; false for anything else,
  // among it an unsigned blob.
  bool OpenSigned(const std::string& sealed, const SealingKey& signer, std::string* nonce, std::string* payload) const;

  // The length of the nonce text of a signed answer.
  static constexpr size_t kNonceTextSize = 32;

 private:
  OpeningKey();
  bool OpenAny(unsigned char version, const std::string& sealed, std::string* plain) const;
  bool OpenRaw(unsigned char version, const std::string& sealed, std::string* plain) const;
  struct State;
  std::unique_ptr<State> state_;
};

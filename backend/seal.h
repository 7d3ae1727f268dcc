#pragma once
#include <cstddef>
#include <string>

// The service's side of the SDK's sealed blobs (docs/analytics-wire.md):
// version byte 0x01, the AES-256 key wrapped with RSA-OAEP (SHA-256, MGF1
// SHA-256), a 12-byte nonce, the AES-256-GCM ciphertext and its 16-byte tag.

std::string Base64Encode(const std::string& bytes);
// "" for text that is not Base64 (white space ignored).
std::string Base64Decode(const std::string& text);

// Seals plain to the public key (Base64 of a DER SubjectPublicKeyInfo); ""
// on failure.
std::string SealTo(const std::string& publicKeyBase64, const std::string& plain);
// A signed answer (docs/analytics-wire.md): the request's nonce text and
// the payload, signed with the service's private key (Base64 of a DER PKCS#1
// RSA private key) and sealed to the client's public key as a blob of
// version 0x02; "" on failure.
std::string SealSignedAnswer(const std::string& clientPublicKeyBase64, const std::string& servicePrivateKeyBase64,
                             const std::string& nonce, const std::string& payload);
// Opens a signed answer (or its Base64 text) with the client's private key
// and checks the signature with the service's public key; false for anything
// else, among it an unsigned blob.
bool OpenSignedAnswer(const std::string& clientPrivateKeyBase64, const std::string& servicePublicKeyBase64,
                      const std::string& sealed, std::string* nonce, std::string* payload);

// The length of a signed answer's nonce text.
constexpr size_t kAnswerNonceSize = 32;

// Opens a blob (or the Base64 text of one) with the private key (Base64 of a
// DER PKCS#1 RSA private key); false for anything that does not open.
bool OpenWith(const std::string& privateKeyBase64, const std::string& sealed, std::string* plain);

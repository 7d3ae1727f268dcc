#pragma once
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
// Opens a blob (or the Base64 text of one) with the private key (Base64 of a
// DER PKCS#1 RSA private key); false for anything that does not open.
bool OpenWith(const std::string& privateKeyBase64, const std::string& sealed, std::string* plain);

#pragma once
// The cryptography the SDK needs and nothing more: RSA-OAEP with SHA-256,
// AES-256-GCM, the key parsers, Base64 and a CTR-DRBG seeded from the system.

#define MBEDTLS_HAVE_ASM
#define MBEDTLS_HAVE_TIME
#define MBEDTLS_AES_FEWER_TABLES
#define MBEDTLS_CIPHER_MODE_CTR
#define MBEDTLS_PKCS1_V21
#define MBEDTLS_ENTROPY_FORCE_SHA256
#define MBEDTLS_DEPRECATED_REMOVED

#define MBEDTLS_AES_C
#define MBEDTLS_ASN1_PARSE_C
#define MBEDTLS_BASE64_C
#define MBEDTLS_BIGNUM_C
#define MBEDTLS_CIPHER_C
#define MBEDTLS_CTR_DRBG_C
#define MBEDTLS_ENTROPY_C
#define MBEDTLS_GCM_C
#define MBEDTLS_MD_C
#define MBEDTLS_OID_C
#define MBEDTLS_PK_C
#define MBEDTLS_PK_PARSE_C
#define MBEDTLS_PLATFORM_C
#define MBEDTLS_RSA_C
#define MBEDTLS_SHA256_C

#include "mbedtls/check_config.h"

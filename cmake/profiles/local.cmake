# The local profile: every endpoint is served by the bench's stack on loopback.
set(VELORA_PKG_HOST        "pkg.velora.test")
set(VELORA_PKG_IP          "127.0.0.10")
set(VELORA_PKG_FALLBACK_IP "127.0.0.11")
set(VELORA_GATEWAY_HOST    "gw.velora.test")
set(VELORA_GATEWAY_IP      "127.0.0.20")
set(VELORA_CDN_HOST        "cdn.velora.test")
set(VELORA_CDN_IP          "127.0.0.30")
set(VELORA_WEB_ROOT        "https://www.velora.test/")
set(VELORA_WEB_HOST        "www.velora.test")
set(VELORA_WEB_IP          "127.0.0.40")
set(VELORA_OV_HOST         "ov.velora.test")
set(VELORA_OV_IP           "127.0.0.50")
set(VELORA_PROXY_IP        "127.0.0.60")
set(VELORA_PROXY_PORT      "8080")
set(VELORA_SYSTEM_DNS      "127.0.0.53")
# Stand-ins for the public resolvers, in the installer's order: 114DNS primary
# and secondary, AliDNS primary and secondary, Google primary and secondary.
set(VELORA_PUBLIC_DNS      "127.0.0.114;127.0.0.115;127.0.0.223;127.0.0.224;127.0.0.8;127.0.0.9")
# Bench only, for the network tests: a proxy that asks for credentials, a host
# that the bench's resolver places where nothing listens but the proxy reaches
# on the CDN, names that only the "public" resolvers know (one plain, one alias
# of the CDN, one with 25 addresses under the prefix), and the address of the
# tests' own in-process servers.
set(VELORA_AUTH_PROXY_IP   "127.0.0.61")
set(VELORA_FAR_HOST        "far.velora.test")
set(VELORA_FAR_DIRECT_IP   "127.0.0.31")
set(VELORA_PUBLIC_ONLY_HOST "public-only.velora.test")
set(VELORA_ALIAS_HOST      "alias.velora.test")
set(VELORA_MANY_HOST       "many.velora.test")
set(VELORA_MANY_PREFIX     "127.0.1.")
set(VELORA_TEST_SERVER_IP  "127.0.0.70")
# Analytics SDK keys; the bench generates its own key pairs.
set(VELORA_SDK_APP_KEY     "local-app-key")
# Code signing: a self-signed test certificate made by the build.
set(VELORA_SIGN_MODE       "test")

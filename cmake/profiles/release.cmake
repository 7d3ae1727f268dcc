# The release profile: the maker's endpoints. Never built or run on the bench.
# Fill in the real values before a release build (see README.md).
set(VELORA_PKG_HOST        "pkg.velora.example")
set(VELORA_PKG_IP          "")
set(VELORA_PKG_FALLBACK_IP "192.0.2.11")
set(VELORA_GATEWAY_HOST    "gw.velora.example")
set(VELORA_GATEWAY_IP      "")
set(VELORA_CDN_HOST        "cdn.velora.example")
set(VELORA_CDN_IP          "")
set(VELORA_WEB_ROOT        "https://www.velora.example/")
set(VELORA_WEB_HOST        "www.velora.example")
set(VELORA_WEB_IP          "")
set(VELORA_OV_HOST         "ov.velora.example")
set(VELORA_OV_IP           "")
set(VELORA_PROXY_IP        "")
set(VELORA_PROXY_PORT      "")
set(VELORA_SYSTEM_DNS      "")
# Bench-only values of the network tests; unused here.
set(VELORA_AUTH_PROXY_IP   "")
set(VELORA_FAR_HOST        "")
set(VELORA_FAR_DIRECT_IP   "")
set(VELORA_PUBLIC_ONLY_HOST "")
set(VELORA_ALIAS_HOST      "")
set(VELORA_MANY_HOST       "")
set(VELORA_MANY_PREFIX     "")
set(VELORA_TEST_SERVER_IP  "")
set(VELORA_CDN_ALT_PORT    "")
set(VELORA_ORIGIN_IP       "")
# The six public resolvers as the services publish them, in the installer's order.
set(VELORA_PUBLIC_DNS      "114.114.114.114;114.114.115.115;223.5.5.5;223.6.6.6;8.8.8.8;8.8.4.4")
set(VELORA_SDK_APP_KEY     "RELEASE_APP_KEY")
# The maker's SDK keys: Base64 of the service's DER SubjectPublicKeyInfo and of
# the client's DER PKCS#1 private key. The service halves never enter a build.
set(VELORA_SDK_PUBLIC_KEY  "RELEASE_PUBLIC_KEY")
set(VELORA_SDK_PRIVATE_KEY "RELEASE_PRIVATE_KEY")
set(VELORA_STACK_SERVICE_PRIVATE_KEY "")
set(VELORA_STACK_CLIENT_PUBLIC_KEY   "")
# Signing with the maker's certificate: VELORA_SIGN_PKCS12 and the password in
# the environment variable VELORA_SIGN_PASSWORD.
set(VELORA_SIGN_MODE       "pkcs12")
set(VELORA_SIGN_PKCS12     "" CACHE FILEPATH "The maker's code-signing certificate (.pfx)")
set(VELORA_SIGN_TIMESTAMP_URL "http://timestamp.velora.example/" CACHE STRING "RFC 3161 time-stamp server")

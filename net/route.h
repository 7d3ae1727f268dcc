#pragma once
#include <cstdint>

// Values of the network route kept in AppContext and copied into each
// connection.
enum ProxyKind : int32_t { PROXY_NONE = 0, PROXY_HTTP = 1 };
enum DnsKind : int32_t { DNS_SYSTEM = 0, DNS_OWN = 1 };

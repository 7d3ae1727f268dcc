#pragma once
#include <cstdint>
#include <string>

// Looks for an HTTP proxy for url in the current user's Internet settings:
// the auto-configuration script when one is set, else the manual proxy list.
// proxyType is PROXY_NONE unless a usable HTTP proxy was found, in which case
// all three fields are set.
void DiscoverProxy(const std::string& url, int32_t& proxyType, std::string& proxyHost, uint16_t& proxyPort);

// Reads a proxy list ("http=host:port;https=host:port", or a bare
// "host:port"): the last entry for the scheme http or without a scheme wins;
// other schemes are ignored. Leaves the fields alone when none qualifies.
void ParseProxyList(const std::string& list, int32_t& proxyType, std::string& proxyHost, uint16_t& proxyPort);

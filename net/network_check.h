#pragma once
#include <cstdint>
#include <string>

class ILoggerServer;

// After a fallback worked, makes its setting the process's network route
// (every time) and reports it as "vNetworkCheck" (the first time in the
// process for each kind). Both hold the route holder's lock while the event
// is written, so the logger's own lock is taken inside it.
void ProxyNetworkCheck(int32_t proxyType, const std::string& proxyHost, uint16_t proxyPort);
void DnsNetworkCheck(int32_t dnsMode, const std::string& dnsServer);

// Where the checks write their event: GetLogger() unless replaced (a test
// installs a recorder here). Null restores GetLogger().
void SetNetworkCheckLogger(ILoggerServer* logger);

#pragma once
#include <string>

#include "analytics/logger.h"
#include "services/pkg_info.h"
#include "services/stop_signal.h"

// The request document: app_id, seed (four empty texts) and version, written
// by the styled writer with the members in key order.
std::string BuildIndexDocument(const std::string& version);
// The complete sealed HTTP request for the index path; "" when the SDK
// cannot seal.
std::string BuildIndexRequest(ILoggerServer& logger, const std::string& version);

// A response body as a record; throws "Json parse error", "member doesn't
// exit", "decrypt data empty", "parse decrypt data error" or "member not
// exist". Sizes that are missing or read as 0 keep their defaults.
PackageRecord DecodeIndexResponse(const std::string& body, ILoggerServer& logger);

struct IndexEndpoints {
  std::string host;        // the package host (also the SDK's analytics host)
  std::string fallbackIp;  // asked after an empty answer from the host
};
IndexEndpoints InstallerIndexEndpoints();

// The fetch: asks the host and then the fallback address, every 300 ms,
// until an answer comes or the stop; then decodes it into info. Ends with
// info's status 1 or 2 (2 also for "build send data error" and "user
// cancel"); never throws.
void ReadPackageIndex(CPkgInfo& info, StopSignal& stop, ILoggerServer& logger, const IndexEndpoints& endpoints,
                      const std::string& version);

#include "platform/text.h"
#include "services/app_info.h"
#include "services/service_call.h"

std::string InstallerVersion() {
  std::string version = WideToUtf8(GetAppInfo()->GetProductVersion(L""));
  return version.empty() ? "0.9.0.1" : version;
}

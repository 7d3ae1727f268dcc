#include "download/download_env.h"

#include "velora_profile.h"

std::string DefaultPackageUrl() {
  return std::string("http://") + profile::kCdnHost + "/application/soft_package/pc/57203816/software/install.exe";
}

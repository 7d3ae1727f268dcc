#include "download/download_env.h"

#include "common/product.h"
#include "velora_profile.h"

std::string DefaultPackageUrl() {
  return std::string("http://") + profile::kCdnHost + "/application/soft_package/pc/" + product::kAppId +
         "/software/install.exe";
}

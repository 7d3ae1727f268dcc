// Qmx.dll as the installer meets it: loaded by name, every export found by
// its undecorated name, the configuration results of the contract.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/handle.h"
#include "sdk/qmx_api.h"
#include "velora_profile.h"

namespace {

class Exports : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { qmx_ = new LoadedLibrary(L"Qmx.dll"); }
  template <typename F>
  F Find(const char* name) {
    return qmx_->Find<F>(name);
  }
  static LoadedLibrary* qmx_;
};
LoadedLibrary* Exports::qmx_ = nullptr;

TEST_F(Exports, EveryExportByItsUndecoratedName) {
  ASSERT_TRUE(qmx_->Get());
  for (const char* name : {"qmxCreate",
                           "qmxSetApplyKey",
                           "qmxSetAppInfo",
                           "qmxSetHostInfo",
                           "qmxSetSensorUrl",
                           "qmxSetMidVersion",
                           "qmxSetPubCertificate",
                           "qmxSetPriCcertificate",
                           "qmxEnableCrashReport",
                           "qmxFree",
                           "qmxEnableSandbox",
                           "qmxSetNetProtocol",
                           "qmxSetURLVersion",
                           "qmxCLTCreate",
                           "qmxCLTSensorWriteEvent",
                           "qmxCLTSensorWriteIntProperties",
                           "qmxCLTSensorWriteBoolProperties",
                           "qmxCLTSensorWriteStringProperties",
                           "qmxCLTWriteInt",
                           "qmxCLTWriteData",
                           "qmxCLTCommit",
                           "qmxCLTFree",
                           "qmxBuildHttpData",
                           "qmxDecryptData",
                           "qmxDataFree",
                           "qmxMid",
                           "qmxMidEx",
                           "qmxOpenUrl"})
    EXPECT_TRUE(Find<void*>(name)) << name;
}

TEST_F(Exports, ConfigurationResults) {
  auto create = Find<qmxCreateFn>("qmxCreate");
  auto key = Find<qmxSetApplyKeyFn>("qmxSetApplyKey");
  auto info = Find<qmxSetAppInfoFn>("qmxSetAppInfo");
  auto host = Find<qmxSetHostInfoFn>("qmxSetHostInfo");
  auto sensor = Find<qmxSetSensorUrlFn>("qmxSetSensorUrl");
  auto pub = Find<qmxSetCertificateFn>("qmxSetPubCertificate");
  auto pri = Find<qmxSetCertificateFn>("qmxSetPriCcertificate");
  auto free = Find<qmxFreeFn>("qmxFree");
  auto record = Find<qmxCLTCreateFn>("qmxCLTCreate");
  EXPECT_NE(create(nullptr), 0);
  void* handle = nullptr;
  ASSERT_EQ(create(&handle), 0);
  ASSERT_TRUE(handle);
  EXPECT_EQ(key("57203816", profile::kSdkAppKey), 0);
  EXPECT_NE(key("57203816", ""), 0);
  EXPECT_NE(key(nullptr, profile::kSdkAppKey), 0);
  EXPECT_EQ(info("win_installer", 0, 0), 0);
  EXPECT_EQ(host(profile::kAnalyticsHost, 80), 0);
  EXPECT_NE(host("", 80), 0);
  EXPECT_NE(host(profile::kAnalyticsHost, 0), 0);
  EXPECT_EQ(sensor("/sa?project=production"), 0);
  EXPECT_NE(sensor(""), 0);
  EXPECT_EQ(pub(profile::kSdkPublicKey), 0);
  EXPECT_EQ(pri(profile::kSdkPrivateKey), 0);
  EXPECT_NE(pub("AAAA"), 0) << "an unusable certificate";
  EXPECT_NE(pub(profile::kSdkPrivateKey), 0) << "a private key is no public key";
  EXPECT_NE(pri(profile::kSdkPublicKey), 0);
  EXPECT_NE(pri(nullptr), 0);

  void* r = nullptr;
  EXPECT_NE(record(nullptr, 6, &r), 0) << "a null handle";
  EXPECT_FALSE(r);
  EXPECT_NE(free(nullptr), 0);
  EXPECT_EQ(free(handle), 0);
  EXPECT_NE(record(handle, 6, &r), 0) << "a freed handle";
  EXPECT_NE(free(handle), 0) << "freed twice";
}

TEST_F(Exports, MachineIdIsStable32HexDigits) {
  auto mid = Find<qmxMidFn>("qmxMid");
  auto midEx = Find<qmxMidExFn>("qmxMidEx");
  std::string id = mid();
  ASSERT_EQ(id.size(), 32u);
  EXPECT_EQ(id.find_first_not_of("0123456789abcdef"), std::string::npos);
  EXPECT_EQ(id, mid());
  EXPECT_EQ(std::string(midEx(0)), id);
  EXPECT_EQ(std::string(midEx(1)).size(), 32u);
  EXPECT_NE(std::string(midEx(1)), id);
}

TEST_F(Exports, DataCallsRefuseBadInput) {
  auto build = Find<qmxBuildHttpDataFn>("qmxBuildHttpData");
  auto decrypt = Find<qmxDecryptDataFn>("qmxDecryptData");
  int size = 7;
  EXPECT_FALSE(build("/p", "", 0, &size, 0, "/v1.1"));
  EXPECT_EQ(size, 0);
  EXPECT_FALSE(build(nullptr, "x", 1, &size, 0, "/v1.1"));
  EXPECT_FALSE(decrypt(nullptr, 0, &size));
  EXPECT_FALSE(decrypt("x", 1, &size));
  EXPECT_FALSE(decrypt("x", 1, nullptr));
}

}  // namespace

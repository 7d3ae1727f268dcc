// The logger with the SDK the build packs, loaded as the installer loads it,
// and with the loading failures that leave it inert.
#include <gtest/gtest.h>
#include <windows.h>

#include "analytics/events.h"
#include "analytics/logger_server.h"
#include "platform/tests/temp_folder.h"

namespace {

// The installer's source over a work folder of the tests' own, with an SDK
// folder that is fresh for each test.
SdkSource TestSource(const wchar_t* name) {
  static testing_files::TempFolder work;
  return InstallerSdkSource(work.Path(), work.Path() + name + L"\\");
}

TEST(EventId, SecondTimesHundredPlusCounterModHundred) {
  struct Case {
    int64_t now;
    int32_t counter;
    int32_t id;
  } cases[] = {
      {1700000000, 0, 0 * 100 + 0},  // 1700000000 mod 10^7 is 0
      {1700000001, 5, 100 + 5},
      {1765432109, 42, 5432109 * 100 + 42},
      {1765432109, 142, 5432109 * 100 + 42},  // the hundredth after repeats the id
      {1765432109, 43, 5432109 * 100 + 43},   // the next differs in the last two digits
  };
  for (const Case& c : cases) EXPECT_EQ(EventIdFor(c.now, c.counter), c.id) << c.now << " " << c.counter;
}

TEST(Logger, LoadedWritesAndSealsAndAfterReleaseOnlySeals) {
  CLoggerServer logger(TestSource(L"loaded"));
  logger.ClearProperties();
  logger.SetStringProperty(prop::kEventName, "test");
  EXPECT_TRUE(logger.WriteEvent("vLoggerTest"));
  EXPECT_TRUE(logger.WriteActionRecord(page::kWelcome, action::kWelcomeClose, ""));
  EXPECT_TRUE(logger.WriteLaunchRecord(record::kLaunch, "", "", ""));
  EXPECT_EQ(logger.GetMachineId().size(), 32u);
  EXPECT_EQ(logger.GetMachineIdEx(1).size(), 32u);
  std::string sealed = logger.SealData("/installer/package/index", "{\"a\":1}");
  EXPECT_EQ(sealed.rfind("POST /installer/package/index HTTP/1.1\r\n", 0), 0u);
  EXPECT_TRUE(logger.UnsealData("not sealed").empty());

  EXPECT_TRUE(logger.Release());
  EXPECT_FALSE(logger.WriteEvent("vLoggerTest"));
  EXPECT_FALSE(logger.WriteReportRecord(4, "0001", "0002", "", "", {}));
  EXPECT_FALSE(logger.SealData("/installer/package/index", "{\"a\":1}").empty()) << "sealing outlives Release";
  EXPECT_EQ(logger.GetMachineId().size(), 32u);
}

// Every way loading can fail leaves the same inert logger.
TEST(Logger, InertAfterAnyLoadingFailure) {
  SdkSource noResource = TestSource(L"no-resource");
  noResource.module = GetModuleHandleW(L"kernel32.dll");
  SdkSource otherLibrary = TestSource(L"other-library");
  otherLibrary.expectedMd5 = "0123456789abcdef0123456789abcdef";
  SdkSource noWorkFolder = TestSource(L"no-work-folder");
  noWorkFolder.workFolder = L"Q:\\missing\\";
  SdkSource emptyWorkFolder = TestSource(L"empty-work-folder");
  emptyWorkFolder.workFolder = L"";
  SdkSource noSdkFolder = TestSource(L"no-sdk-folder");
  noSdkFolder.sdkFolder = L"Q:\\missing\\Qmx\\";
  struct Case {
    const char* name;
    SdkSource source;
  } cases[] = {{"resource 105 missing", noResource},
               {"library digest differs", otherLibrary},
               {"archive cannot be saved", noWorkFolder},
               {"no work folder", emptyWorkFolder},
               {"SDK folder cannot be made", noSdkFolder}};
  for (const Case& c : cases) {
    CLoggerServer logger(c.source);
    logger.ClearProperties();
    logger.SetBoolProperty(prop::kIsFirstInstall, true);
    EXPECT_FALSE(logger.WriteEvent(event::kSoftInstall)) << c.name;
    EXPECT_FALSE(logger.WriteLaunchRecord(1, "", "", "")) << c.name;
    EXPECT_FALSE(logger.WriteReportRecord(4, "0001", "0001", "x", "", {})) << c.name;
    EXPECT_FALSE(logger.WriteActionRecord("0001", "0001", "")) << c.name;
    EXPECT_TRUE(logger.SealData("/installer/package/index", "{}").empty()) << c.name;
    EXPECT_TRUE(logger.UnsealData("x").empty()) << c.name;
    EXPECT_TRUE(logger.GetMachineId().empty()) << c.name;
    EXPECT_FALSE(logger.OpenUrl("http://www.velora.test/")) << c.name;
    EXPECT_TRUE(logger.Release()) << c.name;
  }
}

}  // namespace

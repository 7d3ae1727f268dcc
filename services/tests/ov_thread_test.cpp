// The attribution report as the main window starts it: what this machine and
// the channel answer give, sent only when OVUID.dll is in the SDK folder.
#include <gtest/gtest.h>

#include "analytics/logger.h"
#include "services/ov_report_thread.h"
#include "services/read_server_info_thread.h"
#include "services/tests/services_fixture.h"
#include "services/tests/stack_admin.h"
#include "velora_profile.h"

namespace {

constexpr char kReportPath[] = "/v1/install/orvane";

void RunReport() {
  COVReportThread report;
  for (int waited = 0; report.IsRunning() && waited < int(kHangBoundMs); waited += 50) Sleep(50);
}

TEST(AttributionThread, ReportsOnlyWithTheLibraryInTheSdkFolder) {
  TestChannel channel("ab12cd34");
  ASSERT_FALSE(GetLogger()->GetMachineId().empty()) << "the SDK folder is made as the logger loads";
  IServerInfo* server = GetServerInfo();
  ASSERT_EQ(AwaitStatus(*server, kHangBoundMs), 1);
  const std::wstring library = GetSdkFolder() + kOvuidLibrary;
  DeleteFileW(library.c_str());
  stack_admin::Reset(profile::bench::kOvIp);

  RunReport();
  EXPECT_EQ(stack_admin::RequestCount(profile::bench::kOvIp, kReportPath), 0) << "no library, no report";

  ASSERT_TRUE(CopyFileW(OvuidFixture().c_str(), library.c_str(), FALSE));
  RunReport();
  EXPECT_EQ(stack_admin::RequestCount(profile::bench::kOvIp, kReportPath), 1);
  std::vector<std::string> reports = stack_admin::Reports(profile::bench::kOvIp);
  ASSERT_FALSE(reports.empty());
  const std::string& report = reports.back();
  EXPECT_NE(report.find("\"url_channel\":\"ab12cd34\""), std::string::npos) << report;
  EXPECT_NE(report.find("\"product_name\":\"" + server->GetAppName() + "\""), std::string::npos) << report;
  EXPECT_NE(report.find("\"mid\":\"" + GetLogger()->GetMachineId() + "\""), std::string::npos) << report;
  EXPECT_NE(report.find("\"uid\":\"ovuid-fixture-"), std::string::npos) << report;

  DeleteFileW(library.c_str());
}

}  // namespace

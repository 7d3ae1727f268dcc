// The attribution report: the UID library's call, the form, and reports sent
// to the bench's attribution service.
#include <gtest/gtest.h>

#include "services/ov_report.h"
#include "services/tests/services_fixture.h"
#include "services/tests/stack_admin.h"
#include "velora_profile.h"

namespace {

constexpr char kReportPath[] = "/v1/install/orvane";
constexpr char kFixtureUid[] = "ovuid-fixture-7d3f09a2c4b1e856";

ReportInputs SampleInputs() {
  ReportInputs in;
  in.channel = "ab12cd34";
  in.uid = ReadOvuid(OvuidFixture());
  in.appName = "Velora";
  in.macText = "AC-DE-48-00-11-22";
  in.machineId = "0123456789abcdef0123456789abcdef";
  in.version = "3.5.0.2";
  return in;
}

std::string Body(MultipartForm& form) {
  std::string body;
  if (!form.Prepare()) return body;
  for (auto s = form.NextSegment(); s.first; s = form.NextSegment()) body.append(s.first, s.second);
  return body;
}

TEST(OvuidLibrary, UidOnlyFromALibraryWithTheExport) {
  EXPECT_EQ(ReadOvuid(OvuidFixture()), kFixtureUid);
  EXPECT_EQ(ReadOvuid(TestFolder() + L"missing\\OVUID.dll"), "");
  EXPECT_EQ(ReadOvuid(TestFolder() + L"ovuid"), "") << "a folder";
  wchar_t system[MAX_PATH] = {};
  GetSystemDirectoryW(system, MAX_PATH);
  EXPECT_EQ(ReadOvuid(std::wstring(system) + L"\\version.dll"), "") << "no GetOVUID export";
}

TEST(ReportForm, SevenFieldsInNameOrder) {
  MultipartForm form;
  BuildReportForm(SampleInputs(), form);
  const std::string body = Body(form);
  const char* names[] = {"app_id", "app_version", "cam", "mid", "product_name", "uid", "url_channel"};
  size_t last = 0;
  for (const char* name : names) {
    size_t at = body.find(std::string("name=\"") + name + "\"");
    ASSERT_NE(at, std::string::npos) << name;
    EXPECT_GT(at, last) << name;
    last = at;
  }
  EXPECT_NE(body.find("\r\n\r\n57203816\r\n"), std::string::npos);
  EXPECT_NE(body.find(kFixtureUid), std::string::npos);
}

TEST(ReportForm, NoFormWithoutUidOrAppName) {
  ReportInputs noUid = SampleInputs(), noName = SampleInputs();
  noUid.uid.clear();
  noName.appName.clear();
  for (const ReportInputs& in : {noUid, noName}) {
    MultipartForm form;
    EXPECT_EQ(Thrown([&] { BuildReportForm(in, form); }), "get uid or product_name failed");
    EXPECT_FALSE(form.Prepare()) << "no field was added";
  }
}

class AttributionTest : public ::testing::Test {
 protected:
  void SetUp() override { stack_admin::Reset(profile::bench::kOvIp); }
  void TearDown() override { stack_admin::Reset(profile::bench::kOvIp); }
  unsigned Send(const ReportInputs& in) { return SendReport(in, stop_, profile::kAttributionHost); }
  static int Requests() { return stack_admin::RequestCount(profile::bench::kOvIp, kReportPath); }

  StopSignal stop_;
};

TEST_F(AttributionTest, ServiceReceivesTheSevenFieldsInNameOrder) {
  const size_t before = stack_admin::Reports(profile::bench::kOvIp).size();
  EXPECT_EQ(Send(SampleInputs()), 0u);
  std::vector<std::string> reports = stack_admin::Reports(profile::bench::kOvIp);
  ASSERT_EQ(reports.size(), before + 1);
  const std::string& report = reports.back();
  EXPECT_NE(report.find("\"order\":[\"app_id\",\"app_version\",\"cam\",\"mid\",\"product_name\",\"uid\","
                        "\"url_channel\"]"),
            std::string::npos)
      << report;
  EXPECT_NE(report.find(std::string("\"uid\":\"") + kFixtureUid + "\""), std::string::npos) << report;
  EXPECT_NE(report.find("\"url_channel\":\"ab12cd34\""), std::string::npos) << report;
  EXPECT_NE(report.find("\"app_version\":\"3.5.0.2\""), std::string::npos) << report;
  EXPECT_EQ(Requests(), 1);
}

TEST_F(AttributionTest, NothingIsSentWithoutUidOrAppName) {
  ReportInputs noUid = SampleInputs(), noName = SampleInputs();
  noUid.uid = ReadOvuid(TestFolder() + L"missing\\OVUID.dll");
  noName.appName.clear();
  EXPECT_EQ(Send(noUid), 1u);
  EXPECT_EQ(Send(noName), 1u);
  EXPECT_EQ(Requests(), 0);
}

TEST_F(AttributionTest, AnswerThatIsNotJsonIsNotRetried) {
  stack_admin::ScopedFault notJson({profile::bench::kOvIp}, "notjson");
  EXPECT_EQ(Send(SampleInputs()), 1u);
  EXPECT_EQ(Requests(), 1);
}

TEST_F(AttributionTest, NotFoundPageIsAnAnswerAndNotRetried) {
  stack_admin::ScopedFault notFound({profile::bench::kOvIp}, "404");
  EXPECT_EQ(Send(SampleInputs()), 1u) << "the 404 page is not JSON";
  EXPECT_EQ(Requests(), 1) << "a post's answer counts whatever its status";
}

}  // namespace

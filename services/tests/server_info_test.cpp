// The channel welcome answer: the JSON rules, and fetches against the
// bench's gateway and its faults.
#include <gtest/gtest.h>

#include "services/server_info.h"
#include "services/tests/services_fixture.h"
#include "services/tests/stack_admin.h"
#include "velora_profile.h"

namespace {

constexpr char kWelcomePath[] = "/applicationService/channel/welcome";

TEST(ChannelAnswer, JsonRules) {
  struct Case {
    const char* body;
    const char* thrown;
    const char* appId;
    bool ocpc;
  } cases[] = {
      {"", "parse decrypt data error", "", false},
      {"not json", "parse decrypt data error", "", false},
      {"[1]", "parse decrypt data error", "", false},
      {"{\"code\":\"server.success\",\"data\":{\"appId\":\"57\"}}", "", "57", false},
      {"{\"code\":\"server.success\",\"data\":{\"appId\":\"57\",\"orvaneOcpc\":true}}", "", "57", true},
      {"{\"code\":\"Server.Success\",\"data\":{\"appId\":\"57\"}}", "", "", false},
      {"{\"code\":\"server.success\"}", "", "", false},
      {"{\"data\":{\"appId\":\"57\"}}", "", "", false},
      {"{\"code\":0,\"data\":{\"appId\":\"57\"}}", "member type error", "", false},
      {"{\"code\":\"server.success\",\"data\":\"57\"}", "member type error", "", false},
      {"{\"code\":\"server.success\",\"data\":{\"appId\":57}}", "", "57", false},
      {"{\"code\":\"server.success\",\"data\":{\"appId\":[57]}}", "(other exception)", "", false},
      {"{\"code\":\"server.success\",\"data\":{\"orvaneOcpc\":\"yes\"}}", "(other exception)", "", false},
  };
  for (const Case& c : cases) {
    ChannelInfo info;
    EXPECT_EQ(Thrown([&] { info = DecodeChannelAnswer(c.body); }), c.thrown) << c.body;
    EXPECT_EQ(info.appId, c.appId) << c.body;
    EXPECT_EQ(info.ocpc, c.ocpc) << c.body;
    EXPECT_EQ(info.appName, "") << c.body;
  }
}

class GatewayTest : public ::testing::Test {
 protected:
  void SetUp() override { stack_admin::Reset(profile::bench::kGatewayIp); }
  void TearDown() override { stack_admin::Reset(profile::bench::kGatewayIp); }
  void Fetch(const std::string& channel) { ReadChannelInfo(info_, stop_, channel, profile::kGatewayHost); }
  static int Requests() { return stack_admin::RequestCount(profile::bench::kGatewayIp, kWelcomePath); }

  CServerInfo info_;
  StopSignal stop_;
};

TEST_F(GatewayTest, KnownChannelGivesEveryField) {
  Fetch("ab12cd34");
  ASSERT_EQ(info_.GetStatus(), 1);
  EXPECT_EQ(info_.GetAppId(), "57203816");
  EXPECT_EQ(info_.GetAppName(), "Velora\xe8\xa7\x86\xe9\xa2\x91\xe6\xa8\xa1\xe6\x9d\xbf");
  EXPECT_TRUE(info_.GetOcpcFlag());
  EXPECT_EQ(info_.GetWelcomeUrl(), std::string("http://") + profile::bench::kWebHost + "/welcome?from=ab12cd34");
  EXPECT_EQ(info_.GetAdvertisingAccount(), "velora-ads-ab12");
  info_.ClearWelcomeUrl();
  EXPECT_EQ(info_.GetWelcomeUrl(), "");
  EXPECT_EQ(Requests(), 1);
}

TEST_F(GatewayTest, PartialAndUnknownChannelsAreDoneWithWhatTheySay) {
  Fetch("idonly01");
  EXPECT_EQ(info_.GetStatus(), 1);
  EXPECT_EQ(info_.GetAppId(), "57203816");
  EXPECT_EQ(info_.GetAppName(), "");
  EXPECT_FALSE(info_.GetOcpcFlag());
  CServerInfo unknown;
  ReadChannelInfo(unknown, stop_, "zz999999", profile::kGatewayHost);
  EXPECT_EQ(unknown.GetStatus(), 1);
  EXPECT_EQ(unknown.GetAppId(), "");
}

TEST_F(GatewayTest, EmptyChannelIsDoneWithoutAnyRequest) {
  Fetch("");
  EXPECT_EQ(info_.GetStatus(), 1);
  EXPECT_EQ(info_.GetAppId(), "");
  EXPECT_EQ(Requests(), 0);
}

TEST_F(GatewayTest, SlowAnswerWithinTheTimeOutCounts) {
  stack_admin::ScopedFault slow({profile::bench::kGatewayIp}, "slow:1000");
  Fetch("ab12cd34");
  EXPECT_EQ(info_.GetStatus(), 1);
  EXPECT_EQ(Requests(), 1);
}

TEST_F(GatewayTest, NotFoundThreeTimesFails) {
  stack_admin::ScopedFault notFound({profile::bench::kGatewayIp}, "404");
  Fetch("ab12cd34");
  EXPECT_EQ(info_.GetStatus(), 2);
  EXPECT_EQ(Requests(), 3);
}

TEST_F(GatewayTest, NumericCodeAndNotJsonFailAtOnce) {
  {
    stack_admin::ScopedFault codeOne({profile::bench::kGatewayIp}, "code1");
    Fetch("ab12cd34");
    EXPECT_EQ(info_.GetStatus(), 2) << "a numeric code is of an unexpected type";
  }
  stack_admin::Reset(profile::bench::kGatewayIp);
  stack_admin::ScopedFault notJson({profile::bench::kGatewayIp}, "notjson");
  CServerInfo info;
  ReadChannelInfo(info, stop_, "ab12cd34", profile::kGatewayHost);
  EXPECT_EQ(info.GetStatus(), 2);
  EXPECT_EQ(Requests(), 1);
}

TEST_F(GatewayTest, StopBetweenAttemptsEndsTheFetch) {
  stack_admin::ScopedFault silent({profile::bench::kGatewayIp}, "silent");
  BodyThread fetch([this] { Fetch("ab12cd34"); });
  EXPECT_FALSE(fetch.Ended(1000));
  stop_.Stop();
  EXPECT_TRUE(fetch.Ended(kHangBoundMs));
  EXPECT_EQ(info_.GetStatus(), 2);
}

}  // namespace

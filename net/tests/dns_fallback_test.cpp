#include <gtest/gtest.h>

#include <string>

#include "net/route.h"
#include "net/tcp_http.h"
#include "net/tests/net_fixture.h"
#include "velora_profile.h"

namespace {

using DnsFallbackTest = NetTest;

// The only test of this program whose own-resolver fallback succeeds: the
// event of the process is written here.
TEST_F(DnsFallbackTest, HostKnownOnlyToThePublicResolver) {
  const std::string expected = CdnFile("/net/small.txt");
  ASSERT_FALSE(expected.empty());
  {
    CTCPHttp http(profile::bench::kPublicOnlyHost, 80);
    EXPECT_EQ(http.Host(), profile::bench::kCdnIp);  // the dotted address from now on
    EXPECT_EQ(http.DnsMode(), DNS_OWN);
    EXPECT_EQ(http.DnsServer(), profile::k114DnsPrimary);
    EXPECT_EQ(http.Get("/net/small.txt", profile::bench::kPublicOnlyHost), expected);
  }
  std::vector<RecordingLogger::Event> events = Logger().Events("vNetworkCheck");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].strings["network_type"], "DNS\xe8\xa7\xa3\xe6\x9e\x90");  // DNS解析
  EXPECT_EQ(events[0].ints["conn_type"], DNS_OWN);
  EXPECT_EQ(events[0].strings["host_name"], profile::k114DnsPrimary);
  EXPECT_EQ(route_->dnsMode, DNS_OWN);
  EXPECT_EQ(route_->dnsServer, profile::k114DnsPrimary);

  // The next owner starts from the own resolver.
  {
    CTCPHttp http(profile::bench::kPublicOnlyHost, 80);
    EXPECT_EQ(http.Host(), profile::bench::kCdnIp);
  }

  // A second fallback in the run stores the route again but writes no event.
  route_->dnsMode = DNS_SYSTEM;
  route_->dnsServer.clear();
  {
    CTCPHttp http(profile::bench::kPublicOnlyHost, 80);
    EXPECT_EQ(http.DnsMode(), DNS_OWN);
  }
  EXPECT_EQ(Logger().Events("vNetworkCheck").size(), 1u);
  EXPECT_EQ(route_->dnsMode, DNS_OWN);
  EXPECT_EQ(route_->dnsServer, profile::k114DnsPrimary);
}

TEST_F(DnsFallbackTest, HostNoResolverKnows) {
  EXPECT_EQ(Thrown([] { CTCPHttp http("nowhere.velora.test", 80); }), "Can't resolve host name");
  EXPECT_EQ(route_->dnsMode, DNS_SYSTEM);
}

}  // namespace

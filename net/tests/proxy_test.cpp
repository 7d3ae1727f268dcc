#include "net/proxy_discovery.h"

#include <gtest/gtest.h>

#include <string>

#include "net/route.h"
#include "net/tcp_http.h"
#include "net/tests/net_fixture.h"
#include "net/tests/test_servers.h"
#include "velora_profile.h"

namespace {

struct Found {
  int32_t type;
  std::string host;
  uint16_t port;
};

bool operator==(const Found& a, const Found& b) {
  return a.type == b.type && (a.type == PROXY_NONE || (a.host == b.host && a.port == b.port));
}
std::ostream& operator<<(std::ostream& out, const Found& f) { return out << f.type << " " << f.host << ":" << f.port; }

TEST(ProxyList, Parsing) {
  const struct {
    const char* list;
    Found found;
  } cases[] = {
      {"http=p1:8080;https=p2:8443", {PROXY_HTTP, "p1", 8080}},
      {"p3:3128", {PROXY_HTTP, "p3", 3128}},
      {"socks=s1:1080", {PROXY_NONE, "", 0}},
      {"https=p2:8443;ftp=p4:21", {PROXY_NONE, "", 0}},
      {"HTTP=p1:8080", {PROXY_NONE, "", 0}},   // the scheme is case-sensitive
      {"a:1;http=b:2", {PROXY_HTTP, "b", 2}},  // the last qualifying entry wins
      {"http=b:2;socks=s1:1080;c:3", {PROXY_HTTP, "c", 3}},
      {"http=:8080", {PROXY_NONE, "", 0}},  // no host
      {"http=p5", {PROXY_HTTP, "p5", 0}},
      {"http=p6:port", {PROXY_HTTP, "p6", 0}},
      {"http=p7:70000", {PROXY_HTTP, "p7", 0}},
      {"http=p8:8080; https=p9:1", {PROXY_HTTP, "p8", 8080}},
      {"", {PROXY_NONE, "", 0}},
  };
  for (const auto& c : cases) {
    Found found = {PROXY_NONE, "", 0};
    ParseProxyList(c.list, found.type, found.host, found.port);
    EXPECT_EQ(found, c.found) << c.list;
  }
}

using ProxyTest = NetTest;

std::string Url(const char* host, const char* path) { return std::string("http://") + host + path; }

// What WinHTTP under Wine makes of the user's settings.
TEST_F(ProxyTest, DiscoveryFromTheUsersSettings) {
  const std::string proxy = profile::bench::kProxyIp;
  const uint16_t port = uint16_t(atoi(profile::bench::kProxyPort));
  const struct {
    const char* what;
    DWORD flags;
    std::string list;
    std::string script;
    Found found;
  } cases[] = {
      {"a manual list",
       InternetSettings::kProxy,
       "http=" + proxy + ":8080;https=127.0.0.62:8443",
       "",
       {PROXY_HTTP, proxy, 8080}},
      {"a manual list of only socks", InternetSettings::kProxy, "socks=127.0.0.62:1080", "", {PROXY_NONE, "", 0}},
      {"a script naming the proxy",
       InternetSettings::kAutoConfigUrl,
       "",
       Url(profile::bench::kCdnIp, "/proxy.pac"),
       {PROXY_HTTP, proxy, port}},
      {"a script answering DIRECT",
       InternetSettings::kAutoConfigUrl,
       "",
       Url(profile::bench::kCdnIp, "/direct.pac"),
       {PROXY_NONE, "", 0}},
      {"a script that is not there",
       InternetSettings::kAutoConfigUrl,
       "",
       Url(profile::bench::kCdnIp, "/missing.pac"),
       {PROXY_NONE, "", 0}},
      {"a script before the manual list",
       InternetSettings::kProxy | InternetSettings::kAutoConfigUrl,
       "http=127.0.0.62:1",
       Url(profile::bench::kCdnIp, "/direct.pac"),
       {PROXY_NONE, "", 0}},
  };
  for (const auto& c : cases) {
    InternetSettings settings(c.flags, c.list, c.script);
    Found found = {PROXY_HTTP, "stale", 1};
    DiscoverProxy(Url(profile::bench::kFarHost, ""), found.type, found.host, found.port);
    EXPECT_EQ(found, c.found) << c.what;
  }
  Found none = {PROXY_HTTP, "stale", 1};
  DiscoverProxy(Url(profile::bench::kFarHost, ""), none.type, none.host, none.port);
  EXPECT_EQ(none.type, PROXY_NONE) << "no settings at all";
}

// A direct connection that is refused, and a proxy that does not help: the
// retry's failure reaches the caller and nothing becomes process-wide.
TEST_F(ProxyTest, FailedFallbacks) {
  TestTcpServer shortReply("HTTP/1.1 2");
  const std::string proxyPort = profile::bench::kProxyPort;
  const struct {
    const char* what;
    std::string list;  // empty: no settings
    const char* failure;
  } cases[] = {
      {"no proxy configured", "", "Connect failed"},
      {"a proxy asking for credentials (407)", std::string("http=") + profile::bench::kAuthProxyIp + ":" + proxyPort,
       "Proxy failed"},
      {"a proxy reply of 11 characters or fewer",
       std::string(profile::bench::kTestServerIp) + ":" + std::to_string(shortReply.Port()), "Proxy failed"},
      {"a proxy host that does not resolve", "http=no-proxy.velora.test:8080", "Can't connect proxy server"},
      {"a proxy address where nothing listens", std::string(profile::bench::kFarDirectIp) + ":8080",
       "Can't connect proxy server"},
  };
  for (const auto& c : cases) {
    std::unique_ptr<InternetSettings> settings;
    if (!c.list.empty()) settings = std::make_unique<InternetSettings>(InternetSettings::kProxy, c.list, "");
    CTCPHttp http(profile::bench::kFarHost, 80);
    EXPECT_EQ(http.Host(), profile::bench::kFarHost);
    EXPECT_EQ(Thrown([&] { http.Get("/net/small.txt", profile::bench::kFarHost); }), c.failure) << c.what;
    EXPECT_EQ(http.ConnectFailures(), 1) << c.what;
    EXPECT_EQ(http.ProxyType(), c.list.empty() ? PROXY_NONE : PROXY_HTTP) << c.what;
    // The second failure of a first attempt retries directly.
    EXPECT_EQ(Thrown([&] { http.Get("/net/small.txt", profile::bench::kFarHost); }), "Connect failed") << c.what;
    EXPECT_EQ(http.ConnectFailures(), 2) << c.what;
    EXPECT_EQ(http.ProxyType(), PROXY_NONE) << c.what;
  }
  ASSERT_EQ(shortReply.Requests().size(), 1u);
  EXPECT_EQ(shortReply.Requests()[0], std::string("CONNECT ") + profile::bench::kFarHost + ":80 HTTP/1.1\r\n\r\n");
  EXPECT_EQ(route_->proxyType, PROXY_NONE);
  EXPECT_EQ(Logger().Events("vNetworkCheck").size(), 0u);
}

// The only test of this program whose proxy fallback succeeds: the event of
// the process is written here.
TEST_F(ProxyTest, FallbackThroughTheUsersProxy) {
  const std::string proxy = profile::bench::kProxyIp;
  const uint16_t port = uint16_t(atoi(profile::bench::kProxyPort));
  const std::string expected = CdnFile("/net/small.txt");
  ASSERT_FALSE(expected.empty());
  InternetSettings settings(
      InternetSettings::kProxy,
      "http=" + proxy + ":" + profile::bench::kProxyPort + ";https=" + profile::bench::kAuthProxyIp + ":8443", "");
  {
    CTCPHttp http(profile::bench::kFarHost, 80);
    EXPECT_EQ(http.Get("/net/small.txt", profile::bench::kFarHost), expected);
    EXPECT_EQ(http.ConnectFailures(), 1);
  }
  std::vector<RecordingLogger::Event> events = Logger().Events("vNetworkCheck");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_EQ(events[0].strings["network_type"], "\xe7\xbd\x91\xe7\xbb\x9c\xe4\xbb\xa3\xe7\x90\x86");  // 网络代理
  EXPECT_EQ(events[0].ints["conn_type"], PROXY_HTTP);
  EXPECT_EQ(events[0].strings["host_name"], proxy);
  EXPECT_EQ(route_->proxyType, PROXY_HTTP);
  EXPECT_EQ(route_->proxyHost, proxy);
  EXPECT_EQ(route_->proxyPort, port);

  // Later connections start from that route: a HEAD of the CDN goes through the proxy at once.
  {
    CTCPHttp http(profile::kCdnHost, 80);
    EXPECT_EQ(http.Head(profile::kCdnHost, "/net/small.txt").status, "200");
    EXPECT_EQ(http.ConnectFailures(), 0);
    EXPECT_EQ(http.ProxyType(), PROXY_HTTP);
  }

  // A second successful fallback in the run stores its route but writes no event.
  route_->proxyType = PROXY_NONE;
  route_->proxyHost.clear();
  route_->proxyPort = 0;
  {
    CTCPHttp http(profile::bench::kFarHost, 80);
    EXPECT_EQ(http.Get("/net/small.txt", profile::bench::kFarHost), expected);
  }
  EXPECT_EQ(Logger().Events("vNetworkCheck").size(), 1u);
  EXPECT_EQ(route_->proxyType, PROXY_HTTP);
  EXPECT_EQ(route_->proxyHost, proxy);
}

}  // namespace

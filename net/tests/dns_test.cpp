#include "net/dns_resolver.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <atomic>
#include <set>
#include <string>
#include <thread>

#include "net/tests/net_fixture.h"
#include "net/tests/test_servers.h"
#include "platform/handle.h"
#include "velora_profile.h"

namespace {

std::string Dotted(uint32_t address) {
  char text[16];
  return FormatIPv4(address, text, sizeof text) ? text : "";
}

TEST(DnsText, IsDottedIPv4) {
  const struct {
    const char* text;
    bool dotted;
  } cases[] = {
      {"127.0.0.114", true}, {"0.0.0.0", true},   {"255.255.255.255", true}, {"001.02.3.004", true},
      {"256.1.1.1", false},  {"1.2.3", false},    {"1.2.3.4.5", false},      {"1..2.3", false},
      {"1.2.3.4.", false},   {".1.2.3", false},   {"1.2.3.a", false},        {"cdn.velora.test", false},
      {"", false},           {"1.2.3.-4", false}, {" 1.2.3.4", false},       {"1.2.3.0000000000255", true},
  };
  for (const auto& c : cases) EXPECT_EQ(IsDottedIPv4(c.text), c.dotted) << c.text;
  EXPECT_FALSE(IsDottedIPv4(nullptr));
}

TEST(DnsText, FormatIPv4) {
  char text[16];
  EXPECT_TRUE(FormatIPv4(inet_addr("10.0.200.7"), text, sizeof text));
  EXPECT_STREQ(text, "10.0.200.7");
  EXPECT_TRUE(FormatIPv4(inet_addr("255.255.255.255"), text, sizeof text));
  EXPECT_STREQ(text, "255.255.255.255");
  EXPECT_FALSE(FormatIPv4(0, text, 15));
}

TEST(DnsQuery, LabelFormAndHeader) {
  const uint8_t expected[] = {0x34, 0x12, 0x01, 0x00, 0, 1,   0,   0,   0,   0,   0,   0,  //
                              3,    'c',  'd',  'n',  6, 'v', 'e', 'l', 'o', 'r', 'a', 4,
                              't',  'e',  's',  't',  0, 0,   1,   0,   1};
  std::vector<uint8_t> query = BuildDnsQuery("cdn.velora.test", 0x1234);
  EXPECT_EQ(query, std::vector<uint8_t>(expected, expected + sizeof expected));
  EXPECT_EQ(query.size(), std::string("cdn.velora.test").size() + 1 + 17);  // n + 17
  EXPECT_TRUE(BuildDnsQuery("a..b", 1).empty());
  EXPECT_TRUE(BuildDnsQuery(std::string(64, 'x') + ".test", 1).empty());
}

// Against the bench's stand-ins of the public resolvers (dnsmasq).
TEST(ResolveA, PublicResolverAnswers) {
  DnsResult result;
  ASSERT_EQ(ResolveA(profile::k114DnsPrimary, profile::bench::kPublicOnlyHost, &result), 0);
  ASSERT_EQ(result.count, 1);
  EXPECT_EQ(Dotted(result.addresses[0]), profile::bench::kCdnIp);

  // A CNAME record followed by the A record of its target.
  ASSERT_EQ(ResolveA(profile::kPublicDns[1], profile::bench::kAliasHost, &result), 0);
  ASSERT_EQ(result.count, 1);
  EXPECT_EQ(Dotted(result.addresses[0]), profile::bench::kCdnIp);

  // 25 A records: the first 20 are kept.
  ASSERT_EQ(ResolveA(profile::k114DnsPrimary, profile::bench::kManyHost, &result), 0);
  ASSERT_EQ(result.count, 20);
  std::set<std::string> distinct;
  for (int i = 0; i < result.count; ++i) {
    std::string address = Dotted(result.addresses[i]);
    EXPECT_EQ(address.rfind(profile::bench::kManyPrefix, 0), 0u) << address;
    distinct.insert(address);
  }
  EXPECT_EQ(distinct.size(), 20u);

  EXPECT_EQ(ResolveA(profile::k114DnsPrimary, "unknown.velora.test", &result), -1);
  EXPECT_EQ(result.count, 0);
  EXPECT_EQ(ResolveA(profile::k114DnsPrimary, nullptr, &result), -1);
  EXPECT_EQ(ResolveA(profile::k114DnsPrimary, profile::bench::kPublicOnlyHost, nullptr), -1);
}

TEST(ResolveA, ServerThatIsNoAddressMeansTheSystemServers) {
  // The bench's own resolver knows the CDN but not the public-only name.
  DnsResult result;
  ASSERT_EQ(ResolveA(profile::kCdnHost, profile::kCdnHost, &result), 0);
  EXPECT_EQ(Dotted(result.addresses[0]), profile::bench::kCdnIp);
  ASSERT_EQ(ResolveA(nullptr, profile::kCdnHost, &result), 0);
  EXPECT_EQ(Dotted(result.addresses[0]), profile::bench::kCdnIp);
  EXPECT_EQ(ResolveA("not.an.address", profile::bench::kPublicOnlyHost, &result), -1);
}

// Replies made from the query: the header with the given answer count, the
// question as asked, then the answer bytes.
std::vector<uint8_t> Reply(const std::vector<uint8_t>& query, uint16_t answers, const std::vector<uint8_t>& rest) {
  std::vector<uint8_t> reply(query);
  reply[2] = 0x81;
  reply[3] = 0x80;
  reply[6] = uint8_t(answers >> 8);
  reply[7] = uint8_t(answers);
  reply.insert(reply.end(), rest.begin(), rest.end());
  return reply;
}

TEST(ResolveA, FaultyReplies) {
  // The answers start at 31, after the question for "x.velora.test". A
  // well-formed A record's owner name points at the question (offset 12).
  const std::vector<uint8_t> good = {0xC0, 0x0C, 0, 1, 0, 1, 0, 0, 0, 60, 0, 4, 10, 1, 2, 3};
  const struct {
    const char* what;
    uint16_t answers;
    std::vector<uint8_t> rest;
    bool sameId;
    int expected;
  } cases[] = {
      {"a well-formed answer", 1, good, true, 0},
      {"a compression pointer to itself", 1, {0xC0, 0x1F, 0, 1, 0, 1, 0, 0, 0, 60, 0, 4, 1, 2, 3, 4}, true, -1},
      {"a pointer past the end", 1, {0xC0, 0xFF, 0, 1, 0, 1, 0, 0, 0, 60, 0, 4, 1, 2, 3, 4}, true, -1},
      {"a record shorter than its data length", 1, {0xC0, 0x0C, 0, 1, 0, 1, 0, 0, 0, 60, 0, 4, 1, 2}, true, -1},
      {"a record cut inside its fixed fields", 1, {0xC0, 0x0C, 0, 1, 0, 1}, true, -1},
      {"a label running past the end", 1, {0x3F, 'a', 'b'}, true, -1},
      {"more answers counted than sent", 2, good, true, -1},
      {"a reply to another query", 1, good, false, -1},
      {"no answers", 0, {}, true, -1},
  };
  for (const auto& c : cases) {
    TestDnsServer server([&c](const std::vector<uint8_t>& query) {
      std::vector<uint8_t> reply = Reply(query, c.answers, c.rest);
      if (!c.sameId) reply[0] ^= 0xFF;
      return reply;
    });
    ASSERT_TRUE(server.Listening());
    // The wait that a cancel event can end reads the same replies.
    UniqueHandle cancel(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    for (HANDLE event : {HANDLE(nullptr), cancel.Get()}) {
      DnsResult result;
      EXPECT_EQ(ResolveA(profile::bench::kTestServerIp, "x.velora.test", &result, event), c.expected)
          << c.what << (event ? " (cancellable)" : "");
      if (c.expected == 0) {
        EXPECT_EQ(Dotted(result.addresses[0]), "10.1.2.3");
      }
    }
  }
}

TEST(ResolveA, NoReplyWithinThreeSeconds) {
  TestDnsServer silent([](const std::vector<uint8_t>&) { return std::vector<uint8_t>(); });
  ASSERT_TRUE(silent.Listening());
  DnsResult result;
  EXPECT_EQ(ResolveA(profile::bench::kTestServerIp, "x.velora.test", &result), -1);
}

// An owner that stops does not wait out a silent server: the cancel event
// ends the wait for the reply, and a set event asks nothing at all. (How
// much sooner the stop ends it is the installer bench's figure, with every
// service silent.)
TEST(ResolveA, CancelEndsTheWaitForASilentServer) {
  std::atomic<int> queries{0};
  TestDnsServer silent([&queries](const std::vector<uint8_t>&) {
    ++queries;
    return std::vector<uint8_t>();
  });
  ASSERT_TRUE(silent.Listening());
  UniqueHandle cancel(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  std::thread stopper([&cancel] {
    Sleep(100);
    SetEvent(cancel.Get());
  });
  DnsResult result;
  EXPECT_EQ(ResolveA(profile::bench::kTestServerIp, "x.velora.test", &result, cancel.Get()), -1);
  stopper.join();
  EXPECT_EQ(ResolveA(profile::bench::kTestServerIp, "x.velora.test", &result, cancel.Get()), -1);
  EXPECT_EQ(queries, 1);
}

}  // namespace

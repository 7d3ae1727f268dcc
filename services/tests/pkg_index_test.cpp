// The package index: the request document, every decoding failure, the rank
// order, and whole fetches against the bench's package service and its
// fallback address, with the faults that service can be told to make.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

#include "analytics/logger.h"
#include "platform/digest.h"
#include "services/pkg_index.h"
#include "services/service_call.h"
#include "services/tests/services_fixture.h"
#include "services/tests/stack_admin.h"
#include "velora_profile.h"

namespace {

constexpr char kIndexPath[] = "/installer/package/index";

TEST(IndexRequest, StyledDocumentWithMembersInKeyOrder) {
  EXPECT_EQ(BuildIndexDocument("3.5.0.2"),
            "{\n"
            "   \"app_id\" : \"57203816\",\n"
            "   \"seed\" : {\n"
            "      \"dependency\" : \"\",\n"
            "      \"hardware\" : \"\",\n"
            "      \"network\" : \"\",\n"
            "      \"system\" : \"\"\n"
            "   },\n"
            "   \"version\" : \"3.5.0.2\"\n"
            "}\n");
  RecordingLogger inert;  // seals nothing, as a logger without its SDK
  EXPECT_EQ(BuildIndexRequest(inert, "3.5.0.2"), "");
  EXPECT_EQ(InstallerVersion(), "0.9.0.1") << "the test program has no version block";
}

TEST(IndexDecoding, EveryFailureHasItsText) {
  TableLogger logger;
  logger.Add("not-json", "{{");
  logger.Add("no-info", "{\"urls\":[]}");
  logger.Add("no-urls", "{\"info\":{}}");
  struct Case {
    const char* body;
    const char* thrown;
  } cases[] = {
      {"", "Json parse error"},
      {"<html>", "Json parse error"},
      {"{\"data\":\"x\"}", "member doesn't exit"},
      {"{\"code\":0}", "member doesn't exit"},
      {"{\"code\":1,\"data\":\"x\"}", "member doesn't exit"},
      {"{\"code\":\"0\",\"data\":\"x\"}", "member doesn't exit"},
      {"{\"code\":0,\"data\":\"does-not-open\"}", "decrypt data empty"},
      {"{\"code\":0,\"data\":\"not-json\"}", "parse decrypt data error"},
      {"{\"code\":0,\"data\":\"no-info\"}", "member not exist"},
      {"{\"code\":0,\"data\":\"no-urls\"}", "member not exist"},
  };
  for (const Case& c : cases) EXPECT_EQ(Thrown([&] { DecodeIndexResponse(c.body, logger); }), c.thrown) << c.body;
}

TEST(IndexDecoding, SizesDefaultWhenZeroOrAbsentAndMissingTextsStayEmpty) {
  TableLogger logger;
  logger.Add("zero", "{\"info\":{\"size\":\"0\",\"version\":\"3.6.0.1\"},\"urls\":[]}");
  logger.Add("given", "{\"info\":{\"size\":\"123\",\"origin_size\":\"456\",\"md5\":\"ab\"},\"urls\":[]}");
  PackageRecord zero = DecodeIndexResponse("{\"code\":0,\"data\":\"zero\"}", logger);
  EXPECT_EQ(zero.size, 72011776);
  EXPECT_EQ(zero.originSize, 178917376);
  EXPECT_EQ(zero.version, "3.6.0.1");
  PackageRecord given = DecodeIndexResponse("{\"code\":0,\"data\":\"given\"}", logger);
  EXPECT_EQ(given.size, 123);
  EXPECT_EQ(given.originSize, 456);

  CPkgInfo info;
  info.Complete(zero);
  EXPECT_EQ(info.GetStatus(), 1);
  EXPECT_EQ(info.GetMd5(), nullptr);
  EXPECT_EQ(info.GetUrl(0), nullptr);
  info.Reset();
  EXPECT_EQ(info.GetVersion(), nullptr);
  EXPECT_EQ(info.GetSize(), 0);
}

TEST(IndexRanks, HighestFirstAndEqualRanksInServerOrder) {
  std::vector<PackageUrl> urls = {{1, "a", 1}, {2, "b", 5}, {3, "c", 5}, {4, "d", 3}};
  SortUrlsByRank(urls);
  std::vector<int> ids;
  for (const PackageUrl& u : urls) ids.push_back(u.id);
  EXPECT_EQ(ids, (std::vector<int>{2, 3, 4, 1}));
}

std::string BenchFile(const std::string& path) {
  const char* bench = getenv("VELORA_BENCH_DIR");
  std::ifstream file(std::string("Z:") + (bench ? bench : "") + path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

// Each case starts with both package services without faults and counts.
class PackageServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* ip : {profile::bench::kPkgIp, profile::kPkgFallbackIp}) stack_admin::Reset(ip);
  }
  void TearDown() override {
    for (const char* ip : {profile::bench::kPkgIp, profile::kPkgFallbackIp}) stack_admin::Reset(ip);
  }
  void Fetch() { ReadPackageIndex(info_, stop_, *GetLogger(), InstallerIndexEndpoints(), "3.5.0.2"); }
  static int Requests(const char* ip) { return stack_admin::RequestCount(ip, kIndexPath); }

  CPkgInfo info_;
  StopSignal stop_;
};

TEST_F(PackageServiceTest, IndexOfTheCatalogWithSizeAndDigestOfTheServedFile) {
  Fetch();
  ASSERT_EQ(info_.GetStatus(), 1);
  ASSERT_NE(info_.GetVersion(), nullptr);
  EXPECT_STREQ(info_.GetVersion(), "3.6.0.1");
  const std::string package = BenchFile("/cdn/application/soft_package/pc/57203816/software/install.exe");
  ASSERT_FALSE(package.empty());
  EXPECT_EQ(info_.GetSize(), static_cast<int64_t>(package.size()));
  EXPECT_EQ(info_.GetOriginSize(), 178917376);
  ASSERT_NE(info_.GetMd5(), nullptr);
  EXPECT_EQ(info_.GetMd5(), Md5OfBuffer(package.data(), static_cast<int32_t>(package.size())));
  // The catalog lists ranks 1, 5, 5, 3.
  ASSERT_EQ(info_.GetUrlCount(), 4);
  const char* mirrors[] = {"?mirror=first", "?mirror=second", "?mirror=middle", "?mirror=low"};
  for (int i = 0; i < 4; ++i) EXPECT_NE(std::string(info_.GetUrl(i)).find(mirrors[i]), std::string::npos) << i;
  EXPECT_EQ(Requests(profile::bench::kPkgIp), 1);
  EXPECT_EQ(Requests(profile::kPkgFallbackIp), 0);
}

// Answers that arrive but do not decode end the fetch at once: no retry, no
// fallback.
TEST_F(PackageServiceTest, AnswersThatDoNotDecodeFailWithoutRetry) {
  for (const char* fault : {"code1", "badseal", "notjson", "404"}) {
    stack_admin::Reset(profile::bench::kPkgIp);
    stack_admin::ScopedFault faulty({profile::bench::kPkgIp}, fault);
    CPkgInfo info;
    ReadPackageIndex(info, stop_, *GetLogger(), InstallerIndexEndpoints(), "3.5.0.2");
    EXPECT_EQ(info.GetStatus(), 2) << fault;
    EXPECT_EQ(Requests(profile::bench::kPkgIp), 1) << fault;
    EXPECT_EQ(Requests(profile::kPkgFallbackIp), 0) << fault;
  }
}

// Neither address answers: the fetch keeps trying with status 0, and a stop
// ends it long before the 5 s receive time-out it is waiting in.
TEST_F(PackageServiceTest, NeverAnsweredStaysPendingUntilTheStopWhichEndsItPromptly) {
  stack_admin::ScopedFault silent({profile::bench::kPkgIp, profile::kPkgFallbackIp}, "silent");
  BodyThread fetch([this] { Fetch(); });
  EXPECT_FALSE(fetch.Ended(1500));
  EXPECT_EQ(info_.GetStatus(), 0);
  stop_.Stop();
  EXPECT_TRUE(fetch.Ended(kHangBoundMs)) << "the stop did not interrupt the receive";
  EXPECT_EQ(info_.GetStatus(), 2) << "user cancel";
}

// Run by the ctest "services_fallback" with the package host stopped.
TEST_F(PackageServiceTest, FallbackAddressServesWhenTheHostIsDown) {
  if (!getenv("VELORA_PKG_HOST_DOWN")) GTEST_SKIP() << "needs the package host stopped";
  Fetch();
  EXPECT_EQ(info_.GetStatus(), 1);
  EXPECT_EQ(info_.GetUrlCount(), 4);
  EXPECT_EQ(Requests(profile::kPkgFallbackIp), 1);
}

}  // namespace

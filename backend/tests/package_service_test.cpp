#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "backend/faults.h"
#include "backend/package_service.h"
#include "backend/seal.h"
#include "backend/sqlite_util.h"
#include "common/md5.h"

namespace {

const char kNonce[] = "0123456789abcdef0123456789abcdef";

const char kRequest[] =
    "{\"app_id\":\"57203816\",\"seed\":{\"dependency\":\"\",\"hardware\":\"\",\"network\":\"\",\"system\":\"\"},"
    "\"version\":\"3.5.0.2\"}";

class PackageServiceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::string base = testing::TempDir() + "pkg_" + std::to_string(getpid());
    file_ = base + ".bin";
    catalog_ = base + ".json";
    std::ofstream(file_, std::ios::binary) << std::string(100000, 'v') << "end";
    std::ofstream(catalog_) << "{\"package_name\":\"p\",\"version\":\"3.6.0.1\",\"file\":\"" << file_
                            << "\",\"origin_size\":\"9\",\"urls\":[{\"id\":1,\"rank\":2,\"url\":\"http://a/\"}]}";
  }
  void TearDown() override {
    unlink(file_.c_str());
    unlink(catalog_.c_str());
  }
  // The answer's data, opened and checked as the installer does it: sealed
  // to the client, signed by the service, for this nonce.
  static Json::Value Opened(const PackageService::Answer& answer, const std::string& nonce = kNonce) {
    Json::Value body, plain;
    std::string text, answered;
    if (!ParseJson(answer.body, &body) ||
        !OpenSignedAnswer(CLIENT_PRIVATE_KEY, SERVICE_PUBLIC_KEY, body["data"].asString(), &answered, &text) ||
        answered != nonce)
      return plain;
    ParseJson(text, &plain);
    return plain;
  }

  std::string file_, catalog_;
};

TEST_F(PackageServiceTest, SizeAndDigestComeFromTheFile) {
  PackageService service(catalog_, SERVICE_PRIVATE_KEY, CLIENT_PUBLIC_KEY);
  PackageService::Answer answer = service.HandleIndex(SealTo(SERVICE_PUBLIC_KEY, kRequest), kNonce, Fault::kNone);
  ASSERT_EQ(answer.status, 200);
  Json::Value plain = Opened(answer);
  EXPECT_EQ(plain["info"]["size"].asString(), "100003");
  const std::string bytes = std::string(100000, 'v') + "end";
  Md5 md5;
  md5.Update(bytes.data(), bytes.size());
  uint8_t digest[16];
  md5.Final(digest);
  EXPECT_EQ(plain["info"]["md5"].asString(), Md5Hex(digest));
  EXPECT_EQ(plain["info"]["version"].asString(), "3.6.0.1");
  EXPECT_EQ(plain["urls"][0]["rank"].asInt(), 2);
}

TEST_F(PackageServiceTest, RefusesRequestsThatDoNotOpenOrDoNotCheck) {
  PackageService service(catalog_, SERVICE_PRIVATE_KEY, CLIENT_PUBLIC_KEY);
  EXPECT_EQ(service.HandleIndex(kRequest, kNonce, Fault::kNone).status, 400) << "not sealed";
  for (const char* request : {"[]", "{\"app_id\":\"1\",\"version\":\"1\",\"seed\":{}}",
                              "{\"app_id\":\"57203816\",\"version\":\"\",\"seed\":{}}",
                              "{\"app_id\":\"57203816\",\"version\":\"1\",\"seed\":{\"system\":\"\"}}"}) {
    EXPECT_FALSE(CheckIndexRequest(request).empty()) << request;
    EXPECT_EQ(service.HandleIndex(SealTo(SERVICE_PUBLIC_KEY, request), kNonce, Fault::kNone).status, 400) << request;
  }
  EXPECT_EQ(CheckIndexRequest(kRequest), "");
}

TEST_F(PackageServiceTest, FaultsChangeTheAnswer) {
  PackageService service(catalog_, SERVICE_PRIVATE_KEY, CLIENT_PUBLIC_KEY);
  const std::string request = SealTo(SERVICE_PUBLIC_KEY, kRequest);
  EXPECT_EQ(service.HandleIndex(request, kNonce, Fault::kNotFound).status, 404);
  Json::Value v;
  EXPECT_FALSE(ParseJson(service.HandleIndex(request, kNonce, Fault::kNotJson).body, &v));
  ASSERT_TRUE(ParseJson(service.HandleIndex(request, kNonce, Fault::kCodeOne).body, &v));
  EXPECT_EQ(v["code"].asInt(), 1);
  PackageService::Answer badSeal = service.HandleIndex(request, kNonce, Fault::kBadSeal);
  ASSERT_TRUE(ParseJson(badSeal.body, &v));
  EXPECT_EQ(v["code"].asInt(), 0);
  EXPECT_TRUE(Opened(badSeal).isNull()) << "the data must not open";
}

TEST_F(PackageServiceTest, AnswersAreSignedForTheirRequestOnly) {
  PackageService service(catalog_, SERVICE_PRIVATE_KEY, CLIENT_PUBLIC_KEY);
  const std::string request = SealTo(SERVICE_PUBLIC_KEY, kRequest);
  for (const char* nonce : {"", "0123", "0123456789ABCDEF0123456789ABCDEF"})
    EXPECT_EQ(service.HandleIndex(request, nonce, Fault::kNone).status, 400) << nonce;
  PackageService::Answer answer = service.HandleIndex(request, kNonce, Fault::kNone);
  EXPECT_FALSE(Opened(answer).isNull());
  EXPECT_TRUE(Opened(answer, "fedcba9876543210fedcba9876543210").isNull()) << "another request's answer";
  Json::Value body;
  ASSERT_TRUE(ParseJson(answer.body, &body));
  std::string sealed = Base64Decode(body["data"].asString()), nonce, payload;
  std::string altered = sealed;
  altered[altered.size() - 20] ^= 1;
  EXPECT_FALSE(OpenSignedAnswer(CLIENT_PRIVATE_KEY, SERVICE_PUBLIC_KEY, altered, &nonce, &payload)) << "altered";
  // Sealed to the client but unsigned, or signed by another key.
  const std::string plain = Compact(service.Plain());
  EXPECT_FALSE(OpenSignedAnswer(CLIENT_PRIVATE_KEY, SERVICE_PUBLIC_KEY, SealTo(CLIENT_PUBLIC_KEY, kNonce + plain),
                                &nonce, &payload))
      << "unsigned";
  EXPECT_FALSE(OpenSignedAnswer(CLIENT_PRIVATE_KEY, SERVICE_PUBLIC_KEY,
                                SealSignedAnswer(CLIENT_PUBLIC_KEY, CLIENT_PRIVATE_KEY, kNonce, plain), &nonce,
                                &payload))
      << "signed by another key";
}

TEST(PackageCatalog, MissingFileStopsTheStart) {
  const std::string catalog = testing::TempDir() + "pkg_missing.json";
  std::ofstream(catalog) << "{\"file\":\"/nonexistent/package.exe\",\"urls\":[]}";
  EXPECT_THROW(PackageService(catalog, SERVICE_PRIVATE_KEY, CLIENT_PUBLIC_KEY), std::runtime_error);
  unlink(catalog.c_str());
}

TEST(FaultSwitch, ModesAndDelays) {
  FaultSwitch faults;
  EXPECT_EQ(faults.Describe(), "none:2000");
  EXPECT_TRUE(faults.Set("slow:150\n"));
  EXPECT_EQ(faults.Get(), Fault::kSlow);
  EXPECT_EQ(faults.Describe(), "slow:150");
  for (const char* bad : {"loud", "slow:x", "slow:-1", ""}) EXPECT_FALSE(faults.Set(bad)) << bad;
  EXPECT_EQ(faults.Get(), Fault::kSlow) << "a refused mode changes nothing";
  EXPECT_TRUE(faults.Set("404"));
  EXPECT_TRUE(faults.Delay()) << "answers at once";
}

}  // namespace

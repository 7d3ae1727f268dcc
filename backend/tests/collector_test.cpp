#include <gtest/gtest.h>
#include <unistd.h>

#include "backend/collector.h"
#include "backend/seal.h"

namespace {

std::string RecordJson(const std::string& id, const std::string& event) {
  return "{\"id\":\"" + id + "\",\"type\":6,\"time\":1700000000,\"app_id\":\"57203816\",\"mid\":\"m\",\"event\":{" +
         "\"name\":\"" + event + "\",\"id\":12},\"properties\":{\"is_first_install\":true,\"download_time\":0}," +
         "\"fields\":[]}";
}

std::string Batch(const std::string& appKey, const std::string& records) {
  return SealTo(SERVICE_PUBLIC_KEY,
                "{\"app_id\":\"57203816\",\"app_key\":\"" + appKey + "\",\"records\":[" + records + "]}");
}

class CollectorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = testing::TempDir() + "collector_" + std::to_string(getpid()) + ".db";
    store_.reset(new EventStore(path_));
    collector_.reset(new Collector(*store_, SERVICE_PRIVATE_KEY, "app-key"));
  }
  void TearDown() override {
    collector_.reset();
    store_.reset();
    for (const char* suffix : {"", "-wal", "-shm"}) unlink((path_ + suffix).c_str());
  }
  std::string path_;
  std::unique_ptr<EventStore> store_;
  std::unique_ptr<Collector> collector_;
};

const std::string kA(32, 'a'), kB(32, 'b');

TEST_F(CollectorTest, StoresEachRecordOnceWhateverTimesItComes) {
  auto first = collector_->HandleBatch(Batch("app-key", RecordJson(kA, "pSoftInstall")));
  EXPECT_EQ(first.status, 200);
  EXPECT_NE(first.body.find("\"code\":0"), std::string::npos);
  auto again =
      collector_->HandleBatch(Batch("app-key", RecordJson(kA, "pSoftInstall") + "," + RecordJson(kB, "vSoftQuit")));
  EXPECT_EQ(again.status, 200);
  EXPECT_NE(again.body.find("\"duplicates\":1"), std::string::npos) << again.body;
  auto rows = store_->Query(6, "");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0]["name"].asString(), "pSoftInstall");
  EXPECT_TRUE(rows[0]["properties"]["is_first_install"].asBool());
  EXPECT_EQ(store_->Query(6, "vSoftQuit").size(), 1u);
}

TEST_F(CollectorTest, RefusesWhatIsNotASoundBatch) {
  struct Case {
    const char* name;
    std::string body;
    int status;
  } cases[] = {
      {"empty", "", 400},
      {"plain JSON", "{\"records\":[]}", 400},
      {"sealed to another key", SealTo(CLIENT_PUBLIC_KEY, "{\"records\":[]}"), 400},
      {"sealed non-JSON", SealTo(SERVICE_PUBLIC_KEY, "not json"), 400},
      {"wrong application key", Batch("other", RecordJson(kA, "x")), 403},
  };
  for (const Case& c : cases) EXPECT_EQ(collector_->HandleBatch(c.body).status, c.status) << c.name;
  EXPECT_TRUE(store_->Query(0, "").empty());
  auto partly = collector_->HandleBatch(Batch("app-key", RecordJson("short", "x") + "," + RecordJson(kB, "y")));
  EXPECT_EQ(partly.status, 200);
  EXPECT_NE(partly.body.find("\"invalid\":1"), std::string::npos) << partly.body;
}

TEST(Seal, NativeRoundTripAndBase64Text) {
  std::string sealed = SealTo(CLIENT_PUBLIC_KEY, "hello");
  std::string plain;
  ASSERT_TRUE(OpenWith(CLIENT_PRIVATE_KEY, sealed, &plain));
  EXPECT_EQ(plain, "hello");
  ASSERT_TRUE(OpenWith(CLIENT_PRIVATE_KEY, Base64Encode(sealed), &plain));
  EXPECT_FALSE(OpenWith(SERVICE_PRIVATE_KEY, sealed, &plain));
  EXPECT_EQ(Base64Decode(Base64Encode("ab")), "ab");
}

}  // namespace

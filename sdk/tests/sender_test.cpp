#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <mutex>
#include <set>
#include <thread>

#include "sdk/config.h"
#include "sdk/record.h"
#include "sdk/sender.h"
#include "sdk/spool.h"

namespace {

enum class Mode { kDown, kUp, kReject, kStuck };

// Stands in for the network and the collector: opens each sealed batch with
// the service's key and remembers the record ids it acknowledged.
struct FakeCollector {
  std::mutex lock;
  Mode mode = Mode::kUp;
  std::multiset<std::string> stored;
  int posts = 0;
  std::atomic<bool> release{false};
  std::unique_ptr<OpeningKey> key = OpeningKey::FromBase64(SERVICE_PRIVATE_KEY);
};

class FakeTransport : public Transport {
 public:
  explicit FakeTransport(std::shared_ptr<FakeCollector> c) : c_(std::move(c)) {}
  bool Exchange(const std::string&, int, const std::string& request, int, std::string* response) override {
    Mode mode;
    {
      std::lock_guard<std::mutex> hold(c_->lock);
      mode = c_->mode;
      ++c_->posts;
    }
    if (mode == Mode::kDown) return false;
    if (mode == Mode::kStuck) {
      while (!c_->release) Sleep(5);
      return false;
    }
    if (mode == Mode::kReject) {
      *response = "HTTP/1.1 400 Bad Request\r\nContent-Length: 10\r\n\r\n{\"code\":2}";
      return true;
    }
    std::string plain;
    if (!c_->key->Open(request.substr(request.find("\r\n\r\n") + 4), &plain)) return false;
    std::lock_guard<std::mutex> hold(c_->lock);
    for (size_t at = plain.find("{\"id\":\""); at != std::string::npos; at = plain.find("{\"id\":\"", at + 1))
      c_->stored.insert(plain.substr(at + 7, 32));
    *response = "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n{\"code\":0}";
    return true;
  }

 private:
  std::shared_ptr<FakeCollector> c_;
};

class SenderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    spool_ = std::wstring(temp) + L"qmx_sender_test_" + std::to_wstring(GetCurrentProcessId()) + L".dat";
    DeleteFileW(spool_.c_str());
    UpdateConfig([](SdkConfig& c) {
      c.appId = "57203816";
      c.appKey = "key";
      c.host = "collector.test";
      c.port = 80;
      c.sensorPath = "/sa?project=production";
      c.sealing = SealingKey::FromBase64(SERVICE_PUBLIC_KEY);
    });
    collector_ = std::make_shared<FakeCollector>();
  }
  void TearDown() override { DeleteFileW(spool_.c_str()); }

  std::unique_ptr<Sender> NewSender() {
    return std::unique_ptr<Sender>(new Sender(spool_, std::unique_ptr<Transport>(new FakeTransport(collector_))));
  }
  std::string NewRecord(int n) {
    std::string id = std::string(30, '0') + char('0' + n / 10) + char('0' + n % 10);
    return Record(6, 1700000000, id).ToJson("57203816", "mid");
  }
  void SetMode(Mode mode) {
    std::lock_guard<std::mutex> hold(collector_->lock);
    collector_->mode = mode;
  }

  std::wstring spool_;
  std::shared_ptr<FakeCollector> collector_;
};

TEST_F(SenderTest, RecordsOfARunWithTheCollectorDownArriveWithTheNextRunOnce) {
  SetMode(Mode::kDown);
  auto first = NewSender();
  for (int i = 0; i < 3; ++i) ASSERT_TRUE(first->Enqueue(NewRecord(i)));
  first->Stop(300);
  EXPECT_EQ(ReadSpool(spool_).size(), 3u);
  EXPECT_TRUE(collector_->stored.empty());

  SetMode(Mode::kUp);
  auto second = NewSender();
  ASSERT_TRUE(second->Enqueue(NewRecord(3)));
  second->Stop(2000);
  EXPECT_EQ(collector_->stored.size(), 4u);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(collector_->stored.count(NewRecord(i).substr(7, 32)), 1u);
  EXPECT_TRUE(ReadSpool(spool_).empty()) << "acknowledged records leave the spool";
  EXPECT_FALSE(second->Enqueue(NewRecord(4))) << "a stopped sender takes nothing";
}

TEST_F(SenderTest, ABatchTheCollectorRejectsIsDroppedNotRetried) {
  SetMode(Mode::kReject);
  auto sender = NewSender();
  ASSERT_TRUE(sender->Enqueue(NewRecord(1)));
  sender->Stop(2000);
  EXPECT_EQ(collector_->posts, 1);
  EXPECT_TRUE(ReadSpool(spool_).empty());
}

TEST_F(SenderTest, StopReturnsWhileTheNetworkHangsAndKeepsTheRecords) {
  SetMode(Mode::kStuck);
  auto sender = NewSender();
  ASSERT_TRUE(sender->Enqueue(NewRecord(1)));
  while (collector_->posts == 0) Sleep(5);
  ASSERT_TRUE(sender->Enqueue(NewRecord(2)));
  sender->Stop(100);
  EXPECT_EQ(ReadSpool(spool_).size(), 2u);
  collector_->release = true;
}

TEST_F(SenderTest, ADamagedSpoolIsSkippedAndNewRecordsStillGo) {
  HANDLE file = CreateFileW(spool_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  std::string garbage = EncodeSpoolEntry(NewRecord(7)) + "QSP1\xff\xff\xff\x7fgarbage";
  DWORD written;
  WriteFile(file, garbage.data(), static_cast<DWORD>(garbage.size()), &written, nullptr);
  CloseHandle(file);
  auto sender = NewSender();
  ASSERT_TRUE(sender->Enqueue(NewRecord(8)));
  sender->Stop(2000);
  EXPECT_EQ(collector_->stored.size(), 2u);
  EXPECT_TRUE(ReadSpool(spool_).empty());
}

}  // namespace

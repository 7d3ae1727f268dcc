// The banner: where its configuration sends it, the real gateway's animation
// after the first paint, and every way to fail ending on the fallback image.
#include "ui/movie_resource.h"

#include <winsock2.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "net/tests/test_servers.h"
#include "platform/text.h"
#include "services/tests/stack_admin.h"
#include "ui/banner_source.h"
#include "ui/tests/canvas.h"
#include "ui/ui_messages.h"
#include "velora_profile.h"

namespace {

using ui_testing::Canvas;
using ui_testing::SolidImage;

const char kConfigPath[] = "/applicationService/app/installerConfig?appId=57203816";
const uint32_t kFallbackRed = 0xFFE02020;

class WinsockEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    WSADATA data;
    WSAStartup(MAKEWORD(2, 2), &data);
  }
  void TearDown() override { WSACleanup(); }
};
const auto* const kWinsock = ::testing::AddGlobalTestEnvironment(new WinsockEnvironment);

std::string HttpReply(const std::string& status, const std::string& body) {
  return "HTTP/1.1 " + status + "\r\nContent-Length: " + std::to_string(body.size()) + "\r\nConnection: close\r\n\r\n" +
         body;
}

std::string Configuration(const std::string& gifUrl) {
  return R"({"code":"server.success","data":{"appId":"57203816","ProductsShow":{"gif_url":")" + gifUrl + R"("}}})";
}

// A 1 x 1 GIF of one frame with a delay.
const std::string kOneFrameGif(
    "GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\xFF\xFF\x00\x00\x00\x21\xF9\x04\x01\x0A\x00\x00\x00\x2C\x00\x00\x00\x00"
    "\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00\x3B",
    43);

// Where the redraw requests go: a message-only window of the test's thread.
class NotifyWindow {
 public:
  NotifyWindow()
      : window_(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr)) {}
  ~NotifyWindow() { DestroyWindow(window_); }
  HWND Handle() const { return window_; }
  // The redraw requests that arrive within `ms`.
  int RedrawsWithin(DWORD ms) {
    int count = 0;
    const DWORD start = GetTickCount();
    do {
      MSG msg;
      while (PeekMessageW(&msg, nullptr, WM_MOVIE_FRAME, WM_MOVIE_FRAME, PM_REMOVE)) count += msg.hwnd == window_;
      Sleep(10);
    } while (GetTickCount() - start < ms);
    return count;
  }

 private:
  HWND window_;
};

// A banner of 200 x 100 with a red fallback.
struct Banner {
  Banner(const std::string& host, uint16_t port, const std::string& path = kConfigPath)
      : fallback(SolidImage(40, 20, kFallbackRed)),
        movie(std::make_unique<CMovieResource>(notify.Handle(), host, port, path, fallback.get(), 3, nullptr)) {
    movie->SetRect(0, 0, 200, 100);
  }
  // The colour at the centre after a paint.
  uint32_t Paint() {
    Canvas canvas(200, 100);
    movie->Draw(canvas.Dc());
    return canvas.Pixel(100, 50);
  }
  bool WaitUntil(const std::function<bool()>& done) {
    for (int i = 0; i < 600 && !done(); ++i) Sleep(50);  // only against a hang
    return done();
  }

  NotifyWindow notify;
  std::unique_ptr<Gdiplus::Bitmap> fallback;
  std::unique_ptr<CMovieResource> movie;
};

TEST(BannerSource, AddressOfTheConfiguration) {
  const struct {
    std::string body;
    const char* address;
  } cases[] = {
      {Configuration("http://gw.velora.test/static/banner.gif"), "http://gw.velora.test/static/banner.gif"},
      {R"({"code":"server.fail","data":{"ProductsShow":{"gif_url":"http://a/b.gif"}}})", ""},
      {R"({"code":1,"data":{"ProductsShow":{"gif_url":"http://a/b.gif"}}})", ""},
      {R"({"code":"server.success"})", ""},
      {R"({"code":"server.success","data":{}})", ""},
      {R"({"code":"server.success","data":{"ProductsShow":{}}})", ""},
      {R"({"code":"server.success","data":{"ProductsShow":"http://a/b.gif"}})", ""},
      {R"({"code":"server.success","data":{"ProductsShow":{"gif_url":7}}})", ""},
      {R"([1,2])", ""},
      {"<html>resting</html>", ""},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(BannerGifAddress(c.body), c.address) << c.body;
}

TEST(BannerSource, SplittingTheGifAddress) {
  const struct {
    const char* address;
    bool splits;
    const char* host;
    uint16_t port;
    const char* path;
  } cases[] = {
      {"http://host:8080/a/b.gif", true, "host", 8080, "/a/b.gif"},
      {"http://host/b.gif", true, "host", 80, "/b.gif"},
      {"https://host/b.gif", true, "host", 80, "/b.gif"},  // always plain HTTP
      {"http://host//a//b.gif/", true, "host", 80, "/a/b.gif"},
      {"http://host/b.gif?v=2&x=1", true, "host", 80, "/b.gif?v=2&x=1"},
      {"//host/b.gif", false, "", 0, ""},  // too few pieces once empty ones are dropped
      {"http://host", false, "", 0, ""},
      {"banner.gif", false, "", 0, ""},
      {"http://host:80:81/b.gif", false, "", 0, ""},
      {"http://host:0/b.gif", false, "", 0, ""},
      {"http://host:70000/b.gif", false, "", 0, ""},
      {"http://host:web/b.gif", false, "", 0, ""},
      {"", false, "", 0, ""},
  };
  for (const auto& c : cases) {
    std::string host = "unset", path = "unset";
    uint16_t port = 1;
    ASSERT_EQ(SplitGifAddress(c.address, &host, &port, &path), c.splits) << c.address;
    if (!c.splits) continue;
    EXPECT_EQ(host, c.host);
    EXPECT_EQ(port, c.port);
    EXPECT_EQ(path, c.path);
  }
}

// The bench's gateway names its own animation; nothing is asked before the
// banner has been painted, then the frames play, and a pause keeps them
// advancing without redraw requests.
TEST(MovieResource, GatewayAnimationAfterTheFirstPaint) {
  const std::string gateway = profile::bench::kGatewayIp;
  stack_admin::Reset(gateway);
  Banner banner(profile::kGatewayHost, 80);
  Sleep(1000);
  EXPECT_EQ(stack_admin::RequestCount(gateway, "/applicationService/app/installerConfig"), 0);
  EXPECT_EQ(banner.Paint(), kFallbackRed);

  ASSERT_TRUE(banner.WaitUntil([&] { return banner.movie->HasAnimation(); }));
  EXPECT_EQ(stack_admin::RequestCount(gateway, "/applicationService/app/installerConfig"), 1);
  EXPECT_EQ(stack_admin::RequestCount(gateway, "/static/banner.gif"), 1);
  EXPECT_NE(banner.Paint(), kFallbackRed);
  EXPECT_GE(banner.notify.RedrawsWithin(2500), 3);
  const int first = banner.movie->CurrentFrame();
  const uint32_t firstColour = banner.Paint();
  ASSERT_TRUE(banner.WaitUntil([&] { return banner.movie->CurrentFrame() != first; }));
  EXPECT_NE(banner.Paint(), firstColour) << "another frame looks different";

  banner.movie->SetPaused(true);
  banner.notify.RedrawsWithin(100);  // requests of frames before the pause
  const int paused = banner.movie->CurrentFrame();
  // Two or three of the four frames' delays (350 to 600 ms) pass.
  EXPECT_EQ(banner.notify.RedrawsWithin(1000), 0);
  EXPECT_NE(banner.movie->CurrentFrame(), paused);
  banner.movie->SetPaused(false);
  EXPECT_GE(banner.notify.RedrawsWithin(1500), 1);
}

// A one-frame GIF from a port the address names: shown after one redraw
// request, and the worker ends.
TEST(MovieResource, OneFrameFromANamedPort) {
  TestTcpServer gif(HttpReply("200 OK", kOneFrameGif));
  const std::string ip = profile::bench::kTestServerIp;
  TestTcpServer config(
      HttpReply("200 OK", Configuration("http://" + ip + ":" + std::to_string(gif.Port()) + "/a//b.gif?v=1")));
  Banner banner(ip, config.Port());
  banner.Paint();
  ASSERT_TRUE(banner.WaitUntil([&] { return !banner.movie->IsRunning(); }));
  EXPECT_TRUE(banner.movie->HasAnimation());
  EXPECT_EQ(banner.notify.RedrawsWithin(300), 1);
  ASSERT_EQ(config.Requests().size(), 1u);
  EXPECT_EQ(config.Requests()[0].substr(0, config.Requests()[0].find("\r\n")),
            std::string("GET ") + kConfigPath + " HTTP/1.1");
  ASSERT_EQ(gif.Requests().size(), 1u);
  EXPECT_EQ(gif.Requests()[0].substr(0, gif.Requests()[0].find("\r\n")), "GET /a/b.gif?v=1 HTTP/1.1");
  EXPECT_NE(banner.Paint(), kFallbackRed);
}

// Every failure on the way leaves the fallback and ends the worker.
TEST(MovieResource, FailuresKeepTheFallback) {
  const std::string ip = profile::bench::kTestServerIp;
  TestTcpServer notGif(HttpReply("200 OK", "GIF89a but not really"));
  TestTcpServer gifMissing(HttpReply("404 Not Found", ""));
  const auto gifAt = [&](const TestTcpServer& server) {
    return "http://" + ip + ":" + std::to_string(server.Port()) + "/banner.gif";
  };
  const struct {
    const char* what;
    std::string reply;
  } cases[] = {
      {"configuration missing", HttpReply("404 Not Found", "")},
      {"configuration not JSON", HttpReply("200 OK", "<html>resting</html>")},
      {"another code",
       HttpReply("200 OK", R"({"code":"server.fail","data":{"ProductsShow":{"gif_url":")" + gifAt(notGif) + R"("}}})")},
      {"no address", HttpReply("200 OK", R"({"code":"server.success","data":{"ProductsShow":{}}})")},
      {"address that does not split", HttpReply("200 OK", Configuration("banner.gif"))},
      {"GIF missing", HttpReply("200 OK", Configuration(gifAt(gifMissing)))},
      {"GIF undecodable", HttpReply("200 OK", Configuration(gifAt(notGif)))},
      {"GIF host unreachable", HttpReply("200 OK", Configuration("http://" + ip + ":1/banner.gif"))},
  };
  for (const auto& c : cases) {
    TestTcpServer config(c.reply);
    Banner banner(ip, config.Port());
    banner.Paint();
    ASSERT_TRUE(banner.WaitUntil([&] { return !banner.movie->IsRunning(); })) << c.what;
    EXPECT_FALSE(banner.movie->HasAnimation()) << c.what;
    EXPECT_EQ(banner.Paint(), kFallbackRed) << c.what;
    EXPECT_EQ(banner.notify.RedrawsWithin(100), 0) << c.what;
    EXPECT_EQ(config.Requests().size(), 1u) << c.what;
  }
  // No gateway listening at all, and no host.
  for (const std::string& host : {ip, std::string()}) {
    Banner banner(host, 1);
    banner.Paint();
    ASSERT_TRUE(banner.WaitUntil([&] { return !banner.movie->IsRunning(); }));
    EXPECT_EQ(banner.Paint(), kFallbackRed);
  }
}

// Destroying a banner whose gateway never answers does not wait for it.
TEST(MovieResource, DestroyedWhileTheGatewayIsSilent) {
  TestTcpServer silent("");
  Banner banner(profile::bench::kTestServerIp, silent.Port());
  banner.Paint();
  ASSERT_TRUE(banner.WaitUntil([&] { return silent.Requests().size() == 1; }));
  banner.movie.reset();  // returns within the request's time-out at most
}

}  // namespace

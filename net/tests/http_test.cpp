#include "net/tcp_http.h"

#include <gtest/gtest.h>

#include <string>

#include "net/multipart_form.h"
#include "net/tests/net_fixture.h"
#include "net/tests/test_servers.h"
#include "velora_profile.h"

namespace {

using HttpTest = NetTest;

const char kOk[] = "HTTP/1.1 200 OK\r\n";

TEST_F(HttpTest, RequestTextsOnTheWire) {
  TestTcpServer server(std::string(kOk) + "Content-Length: 2\r\n\r\nok");
  CTCPHttp http(profile::bench::kTestServerIp, server.Port());
  EXPECT_EQ(http.Get("/a?b=1", "gw.velora.test"), "ok");
  EXPECT_EQ(http.Get("/c", ""), "ok");
  HttpHeaders head = http.Head("cdn.velora.test", "/d/e.exe");
  EXPECT_EQ(http.SendRequest("PUT /raw HTTP/1.0\r\n\r\n"), "ok");
  EXPECT_EQ(head.status, "200");
  EXPECT_EQ(head.contentLength, 2);
  EXPECT_EQ(head.lines, (std::vector<std::string>{"HTTP/1.1 200 OK", "Content-Length: 2"}));

  std::vector<std::string> requests = server.Requests();
  ASSERT_EQ(requests.size(), 4u);
  EXPECT_EQ(requests[0], "GET /a?b=1 HTTP/1.1\r\nHost: gw.velora.test\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(requests[1], "GET /c HTTP/1.1\r\nConnection: close\r\n\r\n");
  EXPECT_EQ(requests[2],
            "HEAD /d/e.exe HTTP/1.1\r\nHost:cdn.velora.test\r\nAccept:*/*\r\n"
            "User-Agent:Mozilla/4.0 (compatible; MSIE 5.00; Windows 98)\r\nConnection:close\r\n\r\n");
  EXPECT_EQ(requests[3], "PUT /raw HTTP/1.0\r\n\r\n");
}

TEST_F(HttpTest, MultipartBodyByteForByte) {
  TestTcpServer server("HTTP/1.1 500 Busy\r\nContent-Length: 4\r\n\r\nbusy");
  MultipartForm form;
  form.AddField("channel", "old");
  form.AddField("version", "3.5.0.2");
  form.AddField("app_id", "57203816");
  form.AddField("channel", "ab12cd34");  // replaces the value; still one part
  CTCPHttp http(profile::bench::kTestServerIp, server.Port());
  EXPECT_EQ(http.PostForm("ov.velora.test", "/v1/install/orvane", form), "busy");  // status not examined

  const std::string dashes(29, '-');
  const std::string body =
      dashes + "7da1f4c300560\r\n" + "Content-Disposition: form-data; name=\"app_id\"\r\n\r\n57203816\r\n" + dashes +
      "7da1f4c300560\r\n" + "Content-Disposition: form-data; name=\"channel\"\r\n\r\nab12cd34\r\n" + dashes +
      "7da1f4c300560\r\n" + "Content-Disposition: form-data; name=\"version\"\r\n\r\n3.5.0.2\r\n" + dashes +
      "7da1f4c300560--\r\n";
  const std::string head = "POST /v1/install/orvane HTTP/1.1\r\nHost: ov.velora.test\r\n" +
                           std::string("Content-Type: multipart/form-data; boundary=") + std::string(27, '-') +
                           "7da1f4c300560\r\nContent-Length: " + std::to_string(body.size()) +
                           "\r\nConnection: close\r\n\r\n";
  ASSERT_EQ(server.Requests().size(), 1u);
  EXPECT_EQ(server.Requests()[0], head + body);
  EXPECT_EQ(form.Total(), int64_t(body.size()));

  MultipartForm empty;
  EXPECT_FALSE(empty.Prepare());
  EXPECT_EQ(empty.NextSegment().first, nullptr);
}

TEST_F(HttpTest, ReplyBodiesAndFaults) {
  const std::string longLine = "X-Pad: " + std::string(4096, 'p') + "\r\n";
  const struct {
    const char* what;
    std::string reply;
    const char* body;
    const char* failure;
  } cases[] = {
      {"a sized body", std::string(kOk) + "Content-Length: 5\r\n\r\nhello", "hello", ""},
      {"one chunk", std::string(kOk) + "Transfer-Encoding: chunked\r\n\r\n5\r\nhello\r\n0\r\n\r\n", "hello", ""},
      {"two chunks, hex sizes", std::string(kOk) + "\r\n5\r\nhello\r\nB\r\n, chunked!!\r\n0\r\n\r\n",
       "hello, chunked!!", ""},
      {"another status", "HTTP/1.1 404 Not Found\r\nContent-Length: 4\r\n\r\ngone", "", ""},
      {"a status line shorter than 12 characters", "HTTP/1.1 20\r\n\r\n", "", ""},
      {"Content-Length 0 and a close", std::string(kOk) + "Content-Length: 0\r\n\r\n", "", "Server can't send data"},
      {"a server that closes early", std::string(kOk) + "Content-Length: 100\r\n\r\nshort", "",
       "Server can't send data"},
      {"a chunk size without CR LF within 10 bytes", std::string(kOk) + "\r\n00000000005\r\nhello\r\n0\r\n\r\n", "",
       "Read body stream error"},
      {"a chunk size of 2^31", std::string(kOk) + "\r\n80000000\r\nhello\r\n0\r\n\r\n", "", "Read body stream error"},
      {"a chunk size of 2^31-1 and a close", std::string(kOk) + "\r\n7fffffff\r\nhello", "", "Server can't send data"},
      {"a Content-Length beyond 32 bits", std::string(kOk) + "Content-Length: 4294967301\r\n\r\nhello", "",
       "Read body stream error"},
      // A line over the bound makes no answer rather than one cut short.
      {"a header line longer than 4096 bytes", std::string(kOk) + longLine + "Content-Length: 5\r\n\r\nhello", "",
       "Read header error"},
      {"field names in lower case", std::string(kOk) + "content-length: 5\r\n\r\nhello", "hello", ""},
      {"a Content-Length that is no number", std::string(kOk) + "Content-Length: 5x\r\n\r\nhello", "",
       "Read body stream error"},
      {"a negative Content-Length", std::string(kOk) + "Content-Length: -5\r\n\r\nhello", "", "Read body stream error"},
  };
  for (const auto& c : cases) {
    TestTcpServer server(c.reply);
    CTCPHttp http(profile::bench::kTestServerIp, server.Port());
    std::string body;
    EXPECT_EQ(Thrown([&] { body = http.Get("/", "t"); }), c.failure) << c.what;
    EXPECT_EQ(body, c.body) << c.what;
  }
}

TEST_F(HttpTest, TimeoutsAppliedOnceConnected) {
  TestTcpServer silent("");
  CTCPHttp http(profile::bench::kTestServerIp, silent.Port());
  http.SetTimeouts(300, 300);
  EXPECT_EQ(Thrown([&] { http.Get("/", "t"); }), "socket recv failed");
  EXPECT_EQ(Thrown([&] { http.SendAll(""); }), "");
}

// The bench's CDN (nginx) with a real file.
TEST_F(HttpTest, GetAndHeadOfACdnFile) {
  const std::string expected = CdnFile("/net/sample.bin");
  ASSERT_EQ(expected.size(), 300000u);
  CTCPHttp http(profile::kCdnHost, 80);
  EXPECT_EQ(http.Host(), profile::kCdnHost);
  EXPECT_TRUE(http.Get("/net/sample.bin", profile::kCdnHost) == expected);
  HttpHeaders head = http.Head(profile::kCdnHost, "/net/sample.bin");
  EXPECT_EQ(head.status, "200");
  EXPECT_EQ(head.contentLength, 300000);
  EXPECT_EQ(http.Get("/net/missing.bin", profile::kCdnHost), "");
  EXPECT_EQ(Logger().Events("vNetworkCheck").size(), 0u);
}

}  // namespace

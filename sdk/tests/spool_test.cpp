#include <gtest/gtest.h>

#include "sdk/http_post.h"
#include "sdk/spool.h"

namespace {

TEST(Spool, KeepsEntriesUpToTheFirstDamagedOne) {
  const std::string a = EncodeSpoolEntry("{\"id\":\"a\"}");
  const std::string b = EncodeSpoolEntry("{\"id\":\"b\"}");
  std::string flipped = b;
  flipped[flipped.size() - 2] ^= 1;
  std::string badLength = b;
  badLength[4] = '\x7f';
  struct Case {
    const char* name;
    std::string bytes;
    size_t entries;
  } cases[] = {
      {"empty", "", 0},
      {"two sound entries", a + b, 2},
      {"cut in the second entry", a + b.substr(0, b.size() - 3), 1},
      {"cut in the header", a + b.substr(0, 7), 1},
      {"payload byte flipped", a + flipped, 1},
      {"impossible length", a + badLength, 1},
      {"garbage first", "garbage" + a, 0},
      {"garbage after", a + "garbage", 1},
      {"zeros", std::string(64, '\0'), 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ParseSpool(c.bytes).size(), c.entries) << c.name;
  EXPECT_EQ(ParseSpool(a + b)[1], "{\"id\":\"b\"}");
}

TEST(HttpResponse, StatusAndBody) {
  int status = 0;
  std::string body;
  ASSERT_TRUE(ParseHttpResponse("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n{\"code\":0}extra", &status, &body));
  EXPECT_EQ(status, 200);
  EXPECT_EQ(body, "{\"code\":0}");
  ASSERT_TRUE(ParseHttpResponse("HTTP/1.0 503 Busy\r\n\r\nlater", &status, &body));
  EXPECT_EQ(status, 503);
  EXPECT_EQ(body, "later");
  for (const char* bad : {"", "HTTP/1.1 200 OK\r\n", "SSH-2.0-x\r\n\r\n", "HTTP/1.1 abc\r\n\r\n"})
    EXPECT_FALSE(ParseHttpResponse(bad, &status, &body)) << bad;
}

}  // namespace

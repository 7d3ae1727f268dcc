// JSON numbers as the installer's jsoncpp reads and writes them (it is built
// with string streams of its own, see cmake/jsoncpp/).
#include <gtest/gtest.h>
#include <json/json.h>

#include <cmath>
#include <memory>
#include <string>

namespace {

bool Parse(const std::string& text, Json::Value* root, std::string* errors) {
  Json::CharReaderBuilder builder;
  std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
  return reader->parse(text.data(), text.data() + text.size(), root, errors);
}

TEST(JsonNumbers, ReadAsTheStandardExtractionReadsThem) {
  struct Case {
    const char* text;
    bool ok;
    double value;
  } cases[] = {
      {"[1.5e3]", true, 1500.0},
      {"[-0.25]", true, -0.25},
      {"[12345678901234567890]", true, 1.2345678901234567e19},
      {"[1e-400]", true, 0.0},
      {"[1e400]", false, 0.0},
      {"[-1e400]", false, 0.0},
      {"[3.000000001]", true, 3.000000001},
  };
  for (const Case& c : cases) {
    Json::Value root;
    std::string errors;
    EXPECT_EQ(Parse(c.text, &root, &errors), c.ok) << c.text << " " << errors;
    if (c.ok) EXPECT_DOUBLE_EQ(root[0].asDouble(), c.value) << c.text;
  }
}

TEST(JsonNumbers, WrittenAndErrorTextsComeOut) {
  Json::Value root;
  root["size"] = 1.5;
  root["name"] = "安装";
  Json::StyledWriter writer;
  EXPECT_EQ(writer.write(root), "{\n   \"name\" : \"\\u5b89\\u88c5\",\n   \"size\" : 1.5\n}\n");
  // The stream writer, through the string stream of the build.
  EXPECT_EQ(root.toStyledString(), "{\n\t\"name\" : \"\\u5b89\\u88c5\",\n\t\"size\" : 1.5\n}\n");
  try {
    Json::Value("text").asInt();
    ADD_FAILURE() << "a text is no int";
  } catch (const Json::LogicError& e) {
    EXPECT_NE(std::string(e.what()).find("Value is not convertible to Int"), std::string::npos) << e.what();
  }
}

}  // namespace

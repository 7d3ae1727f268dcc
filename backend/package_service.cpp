#include "backend/package_service.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

#include "backend/seal.h"
#include "backend/sqlite_util.h"
#include "common/md5.h"
#include "common/product.h"

namespace {

// Size and MD5 of a whole file; throws when it cannot be read.
void DescribeFile(const std::string& path, long long* size, std::string* md5) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("catalog file missing: " + path);
  Md5 digest;
  char buffer[65536];
  *size = 0;
  while (in) {
    in.read(buffer, sizeof buffer);
    std::streamsize got = in.gcount();
    digest.Update(buffer, static_cast<size_t>(got));
    *size += got;
  }
  uint8_t bytes[16];
  digest.Final(bytes);
  *md5 = Md5Hex(bytes);
}

PackageService::Answer JsonAnswer(int status, const Json::Value& v) { return {status, Compact(v)}; }

PackageService::Answer Refuse(int code, const std::string& message) {
  Json::Value v;
  v["code"] = code;
  v["message"] = message;
  return JsonAnswer(400, v);
}

}  // namespace

std::string CheckIndexRequest(const std::string& plain) {
  Json::Value request;
  if (!ParseJson(plain, &request) || !request.isObject()) return "request is not a JSON object";
  if (!request["app_id"].isString() || request["app_id"].asString() != product::kAppId) return "unknown app_id";
  if (!request["version"].isString() || request["version"].asString().empty()) return "version missing";
  const Json::Value& seed = request["seed"];
  if (!seed.isObject()) return "seed missing";
  for (const char* member : {"system", "hardware", "network", "dependency"})
    if (!seed[member].isString()) return std::string("seed.") + member + " missing";
  return std::string();
}

PackageService::PackageService(const std::string& catalogPath, std::string servicePrivateKey,
                               std::string clientPublicKey)
    : servicePrivateKey_(std::move(servicePrivateKey)), clientPublicKey_(std::move(clientPublicKey)) {
  std::ifstream in(catalogPath, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  Json::Value catalog;
  if (!in || !ParseJson(text.str(), &catalog) || !catalog.isObject() || !catalog["urls"].isArray())
    throw std::runtime_error("catalog unreadable: " + catalogPath);
  long long size = 0;
  std::string md5;
  DescribeFile(catalog["file"].asString(), &size, &md5);
  Json::Value& info = plain_["info"];
  info["package_name"] = catalog["package_name"].asString();
  info["version"] = catalog["version"].asString();
  info["size"] = std::to_string(size);
  info["origin_size"] = catalog["origin_size"].asString();
  info["md5"] = md5;
  plain_["urls"] = Json::Value(Json::arrayValue);
  for (const Json::Value& u : catalog["urls"]) {
    Json::Value url;
    url["id"] = u["id"].asInt();
    url["rank"] = u["rank"].asInt();
    url["url"] = u["url"].asString();
    plain_["urls"].append(url);
  }
}

PackageService::Answer PackageService::HandleIndex(const std::string& body, const std::string& nonce,
                                                   Fault fault) const {
  if (fault == Fault::kNotFound) return {404, "not found"};
  if (fault == Fault::kNotJson) return {200, "<html>the package service is resting</html>"};
  std::string plain;
  if (!OpenWith(servicePrivateKey_, body, &plain)) return Refuse(1, "request does not open");
  std::string problem = CheckIndexRequest(plain);
  if (!problem.empty()) return Refuse(2, problem);
  if (nonce.size() != kAnswerNonceSize || nonce.find_first_not_of("0123456789abcdef") != std::string::npos)
    return Refuse(3, "nonce missing");
  Json::Value v;
  if (fault == Fault::kCodeOne) {
    v["code"] = 1;
    v["data"] = "";
    return JsonAnswer(200, v);
  }
  // A bad seal has the blob's version and length but no key of the
  // client's behind it, so it never opens.
  std::string sealed = fault == Fault::kBadSeal
                           ? "\x02" + std::string(320, 'Z')
                           : SealSignedAnswer(clientPublicKey_, servicePrivateKey_, nonce, Compact(plain_));
  v["code"] = 0;
  v["data"] = Base64Encode(sealed);
  return JsonAnswer(200, v);
}

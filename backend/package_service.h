#pragma once
#include <string>

#include <json/json.h>

#include "backend/faults.h"

// The package service: opens the installer's sealed index request and
// answers with the catalog, signed with the service's key for the request's
// nonce and sealed to the client's key.
class PackageService {
 public:
  // Reads the catalog (JSON: package_name, version, file, origin_size, urls)
  // and computes size and md5 from the file it names, so that they always
  // describe the file the CDN serves. Throws std::runtime_error when the
  // catalog or its file cannot be read.
  PackageService(const std::string& catalogPath, std::string servicePrivateKey, std::string clientPublicKey);

  struct Answer {
    int status;
    std::string body;
  };
  // One POST body of the index path with its X-Qmx-Nonce under the given
  // fault (kCodeOne, kNotJson, kNotFound and kBadSeal change the answer). A
  // nonce that is not 32 lower-case hex digits is refused.
  Answer HandleIndex(const std::string& body, const std::string& nonce, Fault fault) const;

  // The plain answer the service seals: {"info": {...}, "urls": [...]}.
  const Json::Value& Plain() const { return plain_; }

 private:
  Json::Value plain_;
  std::string servicePrivateKey_;
  std::string clientPublicKey_;
};

// The checks of an opened request: app_id "57203816", a non-empty version
// text, and a seed object with the four text members. "" when sound, else
// what is wrong.
std::string CheckIndexRequest(const std::string& plain);

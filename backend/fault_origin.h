#pragma once
#include <cstdint>
#include <string>

// A file server for the download tests that misbehaves on request. The first
// path piece after "/fault/" names the faults, comma-separated:
//   drop=N     close the connection after N body bytes
//   stall=MS   after `at` body bytes (at=N, default 0) go silent for MS, then close
//   norange    ignore Range and answer 200 with the whole file
//   length=T   announce the text T as Content-Length
//   drip=MS    after `at` body bytes send the rest one byte every MS
//   driphead=MS  send the header one byte every MS
//   name=T     a Content-Disposition with filename="T"
//   location=U answer 302 with "Location: U"
//   pad=N      a header line of N bytes before Content-Length
//   lower      field names in lower case
//   shift=N    answer a range N bytes before the one asked (Content-Range says so)
//   status=C   answer C with a short text body
//   flip=N     send byte N of the file with its bits inverted
//   times=K    only the first K matching GETs of this path are faulty
//   min=N      only GETs whose range starts at N or later match
//   any        HEADs count towards times as GETs do
// Without "any", a HEAD is faulty only when neither times nor min is given.
// Text values (T, U) are percent-decoded.
// The rest of the path names the file under the root. Paths without
// "/fault/" are served plainly.
struct FaultSpec {
  int64_t drop = -1;
  int64_t stallMs = -1;
  int64_t stallAt = 0;
  bool noRange = false;
  std::string length;
  int64_t dripMs = -1;
  int64_t dripHeadMs = -1;
  bool named = false;
  std::string name;
  std::string location;
  int64_t pad = 0;
  bool lower = false;
  int64_t shift = 0;
  bool any = false;
  int status = 0;
  int64_t flip = -1;
  int64_t times = -1;
  int64_t min = 0;
};

// Splits "/fault/FAULTS/rest" into the faults and "/rest"; a path without the
// prefix gives no faults and itself.
FaultSpec ParseFaultPath(const std::string& path, std::string* filePath);

// Serves root on ip:port until killed; each request is logged to logPath as
// "METHOD PATH RANGE" (RANGE "-" when absent).
int RunFaultOrigin(const std::string& ip, int port, const std::string& root, const std::string& logPath);

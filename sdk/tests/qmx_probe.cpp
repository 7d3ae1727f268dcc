// Drives Qmx.dll from the command line for the two-sided sealing check:
//   qmx_probe seal IN OUT   writes the sealed request for IN's bytes to OUT
//   qmx_probe open IN OUT   writes the opened bytes of IN to OUT
//   qmx_probe exchange IN REQUEST ANSWER OUT
//                           writes the sealed request for IN's bytes to
//                           REQUEST, waits (at most 60 s) for ANSWER to
//                           appear and writes its opened bytes to OUT
// The library is configured as the installer configures it. Exit 0 on
// success, 3 when the library returns nothing.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/handle.h"
#include "sdk/qmx_api.h"
#include "velora_profile.h"

namespace {

std::string ReadAll(const wchar_t* path) {
  std::string bytes;
  if (FILE* f = _wfopen(path, L"rb")) {
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, f)) > 0) bytes.append(buffer, n);
    fclose(f);
  }
  return bytes;
}

bool WriteAll(const wchar_t* path, const char* data, int size) {
  FILE* f = _wfopen(path, L"wb");
  if (!f) return false;
  bool ok = fwrite(data, 1, size, f) == static_cast<size_t>(size);
  return fclose(f) == 0 && ok;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 4 && argc != 6) return 2;
  LoadedLibrary qmx(L"Qmx.dll");
  auto create = qmx.Find<qmxCreateFn>("qmxCreate");
  auto host = qmx.Find<qmxSetHostInfoFn>("qmxSetHostInfo");
  auto pub = qmx.Find<qmxSetCertificateFn>("qmxSetPubCertificate");
  auto pri = qmx.Find<qmxSetCertificateFn>("qmxSetPriCcertificate");
  auto build = qmx.Find<qmxBuildHttpDataFn>("qmxBuildHttpData");
  auto decrypt = qmx.Find<qmxDecryptDataFn>("qmxDecryptData");
  auto release = qmx.Find<qmxDataFreeFn>("qmxDataFree");
  if (!create || !host || !pub || !pri || !build || !decrypt || !release) return 2;
  void* handle = nullptr;
  if (create(&handle) != 0 || host(profile::kAnalyticsHost, 80) != 0 || pub(profile::kSdkPublicKey) != 0 ||
      pri(profile::kSdkPrivateKey) != 0)
    return 2;

  const std::wstring command = argv[1];
  const std::string in = ReadAll(argv[2]);
  int size = 0;
  if (command == L"exchange") {
    char* request = build("/installer/package/index", in.data(), static_cast<int>(in.size()), &size, 0, "/v1.1");
    if (!request || !WriteAll(argv[3], request, size)) return 2;
    release(request);
    std::string answer;
    for (int i = 0; i < 600 && answer.empty(); ++i, Sleep(100)) answer = ReadAll(argv[4]);
    char* out = decrypt(answer.data(), static_cast<int>(answer.size()), &size);
    if (!out || size <= 0) return 3;
    bool written = WriteAll(argv[5], out, size);
    release(out);
    return written ? 0 : 2;
  }
  char* out = command == L"seal"
                  ? build("/installer/package/index", in.data(), static_cast<int>(in.size()), &size, 0, "/v1.1")
                  : decrypt(in.data(), static_cast<int>(in.size()), &size);
  if (!out || size <= 0) return 3;
  bool written = WriteAll(argv[3], out, size);
  release(out);
  return written ? 0 : 2;
}

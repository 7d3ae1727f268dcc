// Throughput of the package digest: Md5OfFile, and Md5OfStream over an open
// handle as the download's check uses it, best and median of five runs each.
//   bench_md5_file [MIB [PATH]]
// hashes PATH (MIB is then its size) or a temporary file of MIB MiB (default
// 256).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "platform/digest.h"
#include "platform/file_stream.h"

int main(int argc, char** argv) {
  int mib = argc > 1 ? atoi(argv[1]) : 256;
  const bool given = argc > 2;
  wchar_t dir[MAX_PATH], name[MAX_PATH];
  if (given) {
    MultiByteToWideChar(CP_ACP, 0, argv[2], -1, name, MAX_PATH);
  } else {
    GetTempPathW(MAX_PATH, dir);
    GetTempFileNameW(dir, L"bmd", 0, name);
    FILE* file = _wfopen(name, L"wb");
    std::vector<char> block(1 << 20);
    for (size_t i = 0; i < block.size(); ++i) block[i] = char(i * 2654435761u >> 13);
    for (int i = 0; i < mib; ++i) fwrite(block.data(), 1, block.size(), file);
    fclose(file);
  }

  std::string digest;
  auto measure = [&](const char* what, const std::function<std::string()>& hash) {
    std::vector<double> seconds;
    for (int run = 0; run < 5; ++run) {
      LARGE_INTEGER frequency, start, end;
      QueryPerformanceFrequency(&frequency);
      QueryPerformanceCounter(&start);
      digest = hash();
      QueryPerformanceCounter(&end);
      seconds.push_back(double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
    }
    std::sort(seconds.begin(), seconds.end());
    printf("%s %d MiB: best %.0f MiB/s, median %.0f MiB/s (%s)\n", what, mib, mib / seconds.front(), mib / seconds[2],
           digest.c_str());
  };
  measure("Md5OfFile", [&] { return Md5OfFile(name); });
  measure("Md5OfStream", [&] {
    CFileStream stream(OpenFileHandle(ModeRead | ShareDenyWrite, name));
    return Md5OfStream(stream);
  });
  if (!given) DeleteFileW(name);
  return digest.size() == 32 ? 0 : 1;
}

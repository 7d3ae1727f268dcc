// Throughput of the package digest: Md5OfFile over a file of the given size
// (MiB, default 256), best and median of five runs.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/digest.h"

int main(int argc, char** argv) {
  int mib = argc > 1 ? atoi(argv[1]) : 256;
  wchar_t dir[MAX_PATH], name[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  GetTempFileNameW(dir, L"bmd", 0, name);
  FILE* file = _wfopen(name, L"wb");
  std::vector<char> block(1 << 20);
  for (size_t i = 0; i < block.size(); ++i) block[i] = char(i * 2654435761u >> 13);
  for (int i = 0; i < mib; ++i) fwrite(block.data(), 1, block.size(), file);
  fclose(file);

  std::vector<double> seconds;
  std::string digest;
  for (int run = 0; run < 5; ++run) {
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&start);
    digest = Md5OfFile(name);
    QueryPerformanceCounter(&end);
    seconds.push_back(double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  }
  DeleteFileW(name);
  std::sort(seconds.begin(), seconds.end());
  printf("Md5OfFile %d MiB: best %.0f MiB/s, median %.0f MiB/s (%s)\n", mib, mib / seconds.front(), mib / seconds[2],
         digest.c_str());
  return digest.size() == 32 ? 0 : 1;
}

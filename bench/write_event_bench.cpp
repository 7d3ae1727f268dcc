// The cost of WriteEvent on the caller's thread: N events shaped like
// pSoftInstall, each timed alone; prints the median and the worst in
// microseconds. The collector's state (fast, slow, down) is the driver's
// business (bench/write_event.sh).
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "download/cache_location.h"

int wmain(int argc, wchar_t** argv) {
  const int count = argc > 1 ? _wtoi(argv[1]) : 1000;
  const wchar_t* label = argc > 2 ? argv[2] : L"";
  HandFoldersToLogger();
  ILoggerServer* logger = GetLogger();
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> micros;
  micros.reserve(count);
  int failed = 0;
  for (int i = 0; i < count; ++i) {
    logger->ClearProperties();
    logger->SetBoolProperty(prop::kIsFirstInstall, true);
    logger->SetStringProperty(prop::kSoftPackageName, "velora_setup_ab12cd34ef");
    logger->SetIntProperty(prop::kDownloadTime, 0);
    logger->SetStringProperty(prop::kParentAppName, "explorer.exe");
    logger->SetStringProperty(prop::kInstallType, value::kInstallTypeInstaller);
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    if (!logger->WriteEvent("vBenchEvent")) ++failed;
    QueryPerformanceCounter(&end);
    micros.push_back(1e6 * static_cast<double>(end.QuadPart - start.QuadPart) /
                     static_cast<double>(frequency.QuadPart));
    // A pace closer to an installer's than a tight loop, so the sender works
    // while events are written.
    if (i % 50 == 49) Sleep(1);
  }
  std::vector<double> sorted = micros;
  std::sort(sorted.begin(), sorted.end());
  std::printf("%-6ls events %d  median %.1f us  p99 %.1f us  worst %.1f us  failed %d\n", label, count,
              sorted[sorted.size() / 2], sorted[sorted.size() * 99 / 100], sorted.back(), failed);
  LARGE_INTEGER exitStart, exitEnd;
  QueryPerformanceCounter(&exitStart);
  logger->Release();
  QueryPerformanceCounter(&exitEnd);
  std::printf(
      "%-6ls release (flush) %.0f ms\n", label,
      1e3 * static_cast<double>(exitEnd.QuadPart - exitStart.QuadPart) / static_cast<double>(frequency.QuadPart));
  return failed ? 1 : 0;
}

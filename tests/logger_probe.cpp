// Writes events through the installer's logger for the collector checks:
//   logger_probe ids N        N events "vIdProbe" in a row, no properties
//   logger_probe first        "vFirstProbe" with every key set twice
//   logger_probe threads      two threads writing "vThreadProbe" at once
//   logger_probe crash        "vCrashProbe", then an access violation
#include <windows.h>

#include <string>
#include <thread>

#include "analytics/logger.h"
#include "download/cache_location.h"

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  HandFoldersToLogger();
  ILoggerServer* logger = GetLogger();
  const std::wstring command = argv[1];
  if (command == L"ids") {
    int count = argc > 2 ? _wtoi(argv[2]) : 2;
    for (int i = 0; i < count; ++i) {
      logger->ClearProperties();
      if (!logger->WriteEvent("vIdProbe")) return 1;
    }
  } else if (command == L"first") {
    logger->ClearProperties();
    logger->SetStringProperty("event_name", "first");
    logger->SetStringProperty("event_name", "second");
    logger->SetIntProperty("download_time", 1);
    logger->SetIntProperty("download_time", 2);
    logger->SetBoolProperty("is_reinstall", true);
    logger->SetBoolProperty("is_reinstall", false);
    if (!logger->WriteEvent("vFirstProbe")) return 1;
  } else if (command == L"threads") {
    auto writer = [logger](const char* who) {
      for (int i = 0; i < 50; ++i) {
        logger->ClearProperties();
        logger->SetStringProperty("host_name", who);
        logger->WriteEvent("vThreadProbe");
      }
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
  } else if (command == L"crash") {
    logger->ClearProperties();
    logger->WriteEvent("vCrashProbe");
    volatile int* nowhere = nullptr;
    *nowhere = 1;
  } else {
    return 2;
  }
  return 0;
}

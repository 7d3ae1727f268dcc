// Prints what the system queries answer in a fresh process, one "key=value"
// line each, for the tests that change the machine between runs:
//   mac          the hardware identity, its MD5 and the hypervisor check
//   mac-threads  the hardware identity asked by two threads at once
//   adapters     the IP Helper adapters as "adapter=NAME ADDRESS"
//   version      the Windows version code
//   wait         sleeps for up to a minute (a child for the process tests)
// clang-format off
#include <winsock2.h>
#include <windows.h>
#include <iphlpapi.h>
// clang-format on

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/digest.h"
#include "platform/hardware_id.h"
#include "platform/network_adapters.h"
#include "platform/system_info.h"

namespace {

void PrintMac() {
  std::string mac = MachineMacAddress();
  printf("mac=%s\n", mac.c_str());
  printf("cam=%s\n", Md5OfBuffer(mac.data(), int32_t(mac.size())).c_str());
  printf("vm=%d\n", RunsInVirtualMachine() ? 1 : 0);
}

void PrintMacFromTwoThreads() {
  std::string first, second;
  std::thread a([&] { first = MachineMacAddress(); });
  std::thread b([&] { second = MachineMacAddress(); });
  a.join();
  b.join();
  printf("mac1=%s\nmac2=%s\n", first.c_str(), second.c_str());
}

void PrintAdapters() {
  ULONG size = 0;
  GetAdaptersInfo(nullptr, &size);
  if (size == 0) return;
  std::vector<BYTE> storage(size);
  auto* chain = reinterpret_cast<IP_ADAPTER_INFO*>(storage.data());
  if (GetAdaptersInfo(chain, &size) != ERROR_SUCCESS) return;
  for (const IP_ADAPTER_INFO* adapter = chain; adapter; adapter = adapter->Next)
    printf("adapter=%s %s\n", adapter->AdapterName, FormatMacAddress(adapter->Address).c_str());
}

}  // namespace

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "mac")
    PrintMac();
  else if (mode == "mac-threads")
    PrintMacFromTwoThreads();
  else if (mode == "adapters")
    PrintAdapters();
  else if (mode == "version")
    printf("version_code=%d\n", static_cast<int>(WindowsVersionCode()));
  else if (mode == "wait")
    Sleep(60000);
  else
    return 2;
  fflush(stdout);
  return 0;
}

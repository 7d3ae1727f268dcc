#include "net/host_lookup.h"

#include <process.h>
#include <winsock2.h>

#include <atomic>
#include <cstring>
#include <string>

#include "platform/handle.h"

namespace {

bool LookupHere(const char* name, uint32_t* address) {
  hostent* entry = gethostbyname(name);
  if (!entry || entry->h_addrtype != AF_INET || !entry->h_addr_list || !entry->h_addr_list[0]) return false;
  memcpy(address, entry->h_addr_list[0], 4);
  return true;
}

// Shared by the caller and the lookup thread; the last of the two to let go
// frees it, so a caller that gave up never waits for the resolver.
struct Lookup {
  explicit Lookup(const char* text) : name(text), done(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  void Drop() {
    if (--holders == 0) delete this;
  }

  std::string name;
  UniqueHandle done;
  std::atomic<int> holders{2};
  bool found = false;  // written before done is set
  uint32_t address = 0;
};

unsigned __stdcall RunLookup(void* arg) {
  auto* lookup = static_cast<Lookup*>(arg);
  lookup->found = LookupHere(lookup->name.c_str(), &lookup->address);
  SetEvent(lookup->done.Get());
  lookup->Drop();
  return 0;
}

}  // namespace

bool SystemLookup(const char* name, HANDLE cancel, uint32_t* address) {
  if (!name || !address) return false;
  if (!cancel) return LookupHere(name, address);
  if (WaitForSingleObject(cancel, 0) == WAIT_OBJECT_0) return false;
  auto* lookup = new Lookup(name);
  if (!lookup->done) {
    delete lookup;
    return false;
  }
  UniqueHandle thread(reinterpret_cast<HANDLE>(_beginthreadex(nullptr, 0, &RunLookup, lookup, 0, nullptr)));
  if (!thread) {
    delete lookup;
    return false;
  }
  HANDLE waits[] = {lookup->done.Get(), cancel};
  bool found = WaitForMultipleObjects(2, waits, FALSE, INFINITE) == WAIT_OBJECT_0 && lookup->found;
  if (found) *address = lookup->address;
  lookup->Drop();
  return found;
}

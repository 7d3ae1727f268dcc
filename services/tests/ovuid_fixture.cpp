// A stand-in for the optional UID library: the one export, with the UID text
// the tests expect.
#include <cstring>

extern "C" __declspec(dllexport) int __cdecl GetOVUID(char* buffer, int size) {
  static const char kUid[] = "ovuid-fixture-7d3f09a2c4b1e856";
  if (!buffer || size < static_cast<int>(sizeof kUid)) return 0;
  memcpy(buffer, kUid, sizeof kUid);
  return 1;
}

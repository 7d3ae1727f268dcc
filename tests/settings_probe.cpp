// settings_probe OUTPUT: a run that only opens the session settings, as the
// installer does at start, and writes what they read back.
#include <cstdio>

#include "app/session_settings.h"
#include "platform/text.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  CSessionSettings& settings = GetSessionSettings();
  FILE* output = fopen(argv[1], "w");
  if (!output) return 1;
  fprintf(output, "md5=%s\npath=%s\nfile=%s\n", WideToUtf8(settings.md5).c_str(), WideToUtf8(settings.path).c_str(),
          WideToUtf8(settings.filePath).c_str());
  fclose(output);
  return 0;
}

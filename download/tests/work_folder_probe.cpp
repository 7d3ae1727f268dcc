// work_folder_probe OUTPUT: writes the work folder this run made during static
// initialisation, whether it exists while the program runs, and whether a
// file could be put into it.
#include <cstdio>

#include "download/work_folder.h"
#include "platform/file_system.h"
#include "platform/text.h"

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  FILE* output = fopen(argv[1], "w");
  if (!output) return 1;
  fprintf(output, "work=%s\n", WideToUtf8(GetWorkFolder()).c_str());
  fprintf(output, "exists=%d\n", DirectoryExists(GetWorkFolder()) ? 1 : 0);
  // Something in it, as the skin will be, for the exit to remove.
  CreateDirectories(GetWorkFolder() + L"images");
  if (FILE* image = _wfopen((GetWorkFolder() + L"images\\a.png").c_str(), L"wb")) fclose(image);
  fprintf(output, "filled=%d\n", FileExists(GetWorkFolder() + L"images\\a.png") ? 1 : 0);
  fclose(output);
  return 0;
}

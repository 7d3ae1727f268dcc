#include "platform/archive.h"

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/text.h"
#include "unzip.h"
// iowin32.h needs the declarations of unzip.h before it.
#include "iowin32.h"

namespace {

const size_t kNameBytes = 260;
const unsigned kBlockBytes = 2048;

struct ArchiveCloser {
  void operator()(void* archive) const { unzClose(archive); }
};
using Archive = std::unique_ptr<void, ArchiveCloser>;

struct FileCloser {
  void operator()(FILE* file) const { fclose(file); }
};

Archive OpenArchive(const std::wstring& path) {
  zlib_filefunc64_def functions;
  fill_win32_filefunc64W(&functions);
  return Archive(unzOpen2_64(path.c_str(), &functions));
}

// The names of the entries in directory order; the listing stops at the first
// entry whose information cannot be read.
std::vector<std::string> ListEntries(void* archive) {
  std::vector<std::string> names;
  for (int at = unzGoToFirstFile(archive); at == UNZ_OK; at = unzGoToNextFile(archive)) {
    char name[kNameBytes] = {};
    unz_file_info64 info;
    if (unzGetCurrentFileInfo64(archive, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0) != UNZ_OK) break;
    names.push_back(name);
  }
  return names;
}

// A name that would land outside the target folder.
bool EscapesFolder(const std::string& name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\' || name.find(':') != std::string::npos) return true;
  for (const std::string& piece : SplitByAny(name, "/\\"))
    if (piece == "..") return true;
  return false;
}

bool CopyCurrentEntry(void* archive, uint64_t size, const std::wstring& target) {
  std::unique_ptr<FILE, FileCloser> file(_wfopen(target.c_str(), L"wb"));
  if (!file) return false;
  char block[kBlockBytes];
  for (uint64_t done = 0; done < size;) {
    unsigned want = size - done < kBlockBytes ? unsigned(size - done) : kBlockBytes;
    int got = unzReadCurrentFile(archive, block, want);
    if (got <= 0) return false;
    if (fwrite(block, 1, size_t(got), file.get()) != size_t(got)) return false;
    done += unsigned(got);
  }
  return true;
}

bool ExtractEntry(void* archive, const std::string& name, const std::wstring& target) {
  if (EscapesFolder(name)) return false;
  if (unzLocateFile(archive, name.c_str(), 0) != UNZ_OK) return false;
  unz_file_info64 info;
  if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return false;
  if (info.uncompressed_size == 0) return false;
  if (unzOpenCurrentFile(archive) != UNZ_OK) return false;
  bool copied = CopyCurrentEntry(archive, info.uncompressed_size, target);
  unzCloseCurrentFile(archive);
  return copied;
}

// Extracts the entries in order; with stopAtFailure the first failing entry
// ends the loop. -1 when the archive cannot be read, has no entries, or (with
// stopAtFailure) an entry failed.
int Extract(const std::wstring& folder, const std::wstring& path, bool stopAtFailure) {
  if (folder.empty() || path.empty()) return -1;
  Archive archive = OpenArchive(path);
  if (!archive) return -1;
  std::vector<std::string> names = ListEntries(archive.get());
  if (names.empty()) return -1;
  int result = 0;
  for (const std::string& name : names) {
    if (ExtractEntry(archive.get(), name, folder + AnsiToWide(name))) continue;
    result = -1;
    if (stopAtFailure) break;
  }
  return result;
}

}  // namespace

int ExtractArchive(const std::wstring& folder, const std::wstring& archive) { return Extract(folder, archive, true); }

void ExtractArchiveAll(const std::wstring& folder, const std::wstring& archive) { Extract(folder, archive, false); }

#include "download/work_folder.h"

#include "download/cache_location.h"
#include "platform/file_system.h"
#include "platform/text.h"

namespace {

// Lives from static initialisation to static destruction.
class WorkFolder {
 public:
  WorkFolder() {
    std::wstring root = BestVolumeRoot();
    if (root.empty()) return;
    std::wstring folder = root + L"VeloraPkg_" + AnsiToWide(Int64ToString(CurrentUnixTime()));
    // A folder of that name belongs to a copy started in the same second (a
    // second start that is about to give way to the first): never share it,
    // or this copy's exit would delete the other's files.
    if (DirectoryExists(folder)) return;
    if (CreateDirectories(folder)) path_ = EnsureTrailingSlash(folder);
  }
  ~WorkFolder() {
    if (!path_.empty()) RemoveTree(path_);
    path_.clear();
  }
  const std::wstring& Path() const { return path_; }

 private:
  std::wstring path_;
};

WorkFolder g_workFolder;

}  // namespace

const std::wstring& GetWorkFolder() { return g_workFolder.Path(); }

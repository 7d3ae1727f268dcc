#include "ui/resource_manager.h"

#include "ui/gdiplus_api.h"

#include <algorithm>

#include "analytics/events.h"
#include "analytics/logger.h"
#include "download/work_folder.h"
#include "platform/archive.h"
#include "platform/file_stream.h"
#include "platform/file_system.h"

struct CResourceManager::SkinEntry {
  std::wstring path;
  std::wstring name;
  std::unique_ptr<Gdiplus::Image> image;
};

namespace {
constexpr int kSkinResourceId = 103;

void Report(const char* name, const char* key = nullptr, const char* text = nullptr) {
  ILoggerServer* logger = GetLogger();
  logger->ClearProperties();
  if (key) logger->SetStringProperty(key, text);
  logger->WriteEvent(name);
}

void ReportError(const char* status) { Report(event::kResourceError, prop::kErrorStatus, status); }

// A resource of the module, locked for reading; empty when it cannot be had.
struct LockedResource {
  const void* data = nullptr;
  DWORD size = 0;
};

LockedResource LockSkinResource(HMODULE module) {
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(kSkinResourceId), L"BinarySystem");
  if (!found) return {};
  const DWORD size = SizeofResource(module, found);
  HGLOBAL loaded = size ? LoadResource(module, found) : nullptr;
  const void* data = loaded ? LockResource(loaded) : nullptr;
  return data ? LockedResource{data, size} : LockedResource{};
}
}  // namespace

CResourceManager::CResourceManager(const std::wstring& workFolder, HMODULE module)
    : workFolder_(workFolder),
      skinFolder_(workFolder + L"images\\"),
      archivePath_(workFolder + L"Resource.zip"),
      module_(module) {
  Report(event::kResourceMgrStart);
  // GDI+ was started by the member above, before any image can be loaded.
  if (ScanSkinFolder() || ExtractCachedArchive() || ExtractEmbeddedArchive()) {
    Report(event::kResourceStatus, prop::kResourceStatus, value::kResourceCreated);
    return;
  }
  Report(event::kResourceStatus, prop::kResourceStatus, value::kResourceFailed);
  throw "load resource error";
}

bool CResourceManager::ScanSkinFolder() {
  if (!DirectoryExists(skinFolder_)) {
    if (!CreateDirectories(skinFolder_)) throw "make dir failed";
    return false;
  }
  entries_.clear();
  if (DirectoryFinder* finder = DirectoryFinder::Open(skinFolder_, L"*")) {
    do {
      if (finder->IsDirectory()) continue;
      auto entry = std::make_unique<SkinEntry>();
      entry->path = finder->FullPath();
      entry->name = finder->Name();
      entries_.push_back(std::move(entry));
    } while (finder->Next());
    finder->Close();
  }
  if (entries_.size() != kSkinFileCount) ReportError(value::kResourceLookupFailed);
  if (entries_.empty()) {
    ReportError(value::kResourceLookupFailed);
    return false;
  }
  std::sort(entries_.begin(), entries_.end(), [](const auto& a, const auto& b) { return a->name < b->name; });
  return true;
}

bool CResourceManager::ExtractCachedArchive() {
  if (!FileExists(archivePath_) || FileSizeOf(archivePath_) == 0) return false;
  if (ExtractArchive(skinFolder_, archivePath_) == 0) return ScanSkinFolder();
  ReportError(value::kResourceUnzipFailed);
  return false;
}

bool CResourceManager::ExtractEmbeddedArchive() {
  if (workFolder_.empty()) ReportError(value::kResourceCachePathFailed);
  const LockedResource skin = LockSkinResource(module_);
  if (!skin.data) {
    ReportError(value::kResourceUnzipFailed);
    return false;
  }
  {
    CFileStream copy(OpenFileHandle(ModeCreate, archivePath_));
    if (copy.Write(skin.data, static_cast<int32_t>(skin.size)) < 1) ReportError(value::kResourceUnzipFailed);
  }
  return ExtractCachedArchive();
}

CResourceManager::~CResourceManager() = default;

Gdiplus::Image* CResourceManager::GetImage(const wchar_t* name) {
  if (!name) return nullptr;
  const std::wstring wanted(name);
  auto found = std::lower_bound(entries_.begin(), entries_.end(), wanted,
                                [](const auto& entry, const std::wstring& key) { return entry->name < key; });
  if (found == entries_.end() || (*found)->name != wanted) {
    ReportError(value::kResourceLookupFailed);
    return nullptr;
  }
  SkinEntry& entry = **found;
  if (!entry.image) {
    entry.image.reset(new Gdiplus::Image(entry.path.c_str()));
    if (!entry.image) {
      ReportError(value::kResourceLookupFailed);
      return nullptr;
    }
  }
  return entry.image.get();
}

IResourceMgr* CreateResourceManager(const std::wstring& workFolder, HMODULE module) {
  try {
    return new CResourceManager(workFolder, module);
  } catch (...) {
    return nullptr;
  }
}

IResourceMgr* CreateResourceManager() { return CreateResourceManager(GetWorkFolder(), GetModuleHandleW(nullptr)); }

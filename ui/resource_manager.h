#pragma once
#include <memory>
#include <string>
#include <vector>

#include "ui/gdiplus_session.h"
#include "ui/resource_mgr.h"

// The skin: its files unpacked in the work folder's "images\" folder, found
// there from an earlier start, unpacked again from the archive copy
// "Resource.zip", or written from the executable's resource and unpacked.
// Every step is reported to analytics.
class CResourceManager : public IResourceMgr {
 public:
  // Throws "load resource error" when no source gives a skin and "make dir
  // failed" when the skin folder cannot be made.
  CResourceManager(const std::wstring& workFolder, HMODULE module);
  ~CResourceManager() override;
  CResourceManager(const CResourceManager&) = delete;
  CResourceManager& operator=(const CResourceManager&) = delete;

  Gdiplus::Image* GetImage(const wchar_t* name) override;
  void Release() override { delete this; }

  // The number of skin files indexed.
  size_t EntryCount() const { return entries_.size(); }

 private:
  struct SkinEntry;

  bool ScanSkinFolder();
  bool ExtractCachedArchive();
  bool ExtractEmbeddedArchive();

  std::wstring workFolder_;
  std::wstring skinFolder_;
  std::wstring archivePath_;
  HMODULE module_;
  // Declared first so that GDI+ is shut down after the entries' images are gone.
  GdiplusSession gdiplus_;
  std::vector<std::unique_ptr<SkinEntry>> entries_;
};

// The number of files the skin archive holds.
inline constexpr size_t kSkinFileCount = 15;

#pragma once
#include <windows.h>

#include <string>

namespace Gdiplus {
class Image;
}

// Hands out the skin's images by file name. Images stay owned by the manager
// and valid until Release; widgets only borrow them.
class IResourceMgr {
 public:
  // The image of the file `name` (exact, case-sensitive), loaded on first
  // use; null for a null or unknown name.
  virtual Gdiplus::Image* GetImage(const wchar_t* name) = 0;
  // Destroys the manager.
  virtual void Release() = 0;

 protected:
  virtual ~IResourceMgr() = default;
};

// The skin manager over this run's work folder and the archive (resource 103,
// "BinarySystem") of the running executable; null when no skin could be made.
IResourceMgr* CreateResourceManager();
// The same over a given work folder (ending in a separator) and the module
// that carries the archive.
IResourceMgr* CreateResourceManager(const std::wstring& workFolder, HMODULE module);

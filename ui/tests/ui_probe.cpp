// The UI framework as a program sees it, for the bench's checks:
//   ui_probe size W H            a W x H window: prints "WIDTH HEIGHT UISCALE"
//   ui_probe skin FOLDER NAME... the skin manager over the work folder FOLDER:
//                                prints "manager ENTRIES" or "manager null",
//                                then "NAME WxH" or "NAME null" per name
#include <windows.h>
#include "ui/gdiplus_api.h"

#include <cstdio>
#include <string>

#include "download/cache_location.h"
#include "ui/base_window.h"
#include "ui/display_scale.h"
#include "ui/resource_manager.h"

namespace {
class ProbeWindow : public IBaseWindow {
 public:
  ProbeWindow(unsigned w, unsigned h) : IBaseWindow(L"VeloraUiProbe", nullptr, w, h) {}
  LRESULT WindowProc(UINT m, WPARAM w, LPARAM l) override { return DefWindowProcW(window_, m, w, l); }
};

int PrintWindowSize(unsigned w, unsigned h) {
  SetProcessDPIAware();
  ProbeWindow window(w, h);
  RECT r;
  GetWindowRect(window.Handle(), &r);
  std::printf("%ld %ld %.3f\n", r.right - r.left, r.bottom - r.top, GetDisplayScale().uiScale);
  return 0;
}

int ProbeSkin(const std::wstring& folder, int count, wchar_t** names) {
  IResourceMgr* manager = CreateResourceManager(folder, GetModuleHandleW(nullptr));
  if (!manager) {
    std::printf("manager null\n");
    return 0;
  }
  std::printf("manager %u\n", static_cast<unsigned>(static_cast<CResourceManager*>(manager)->EntryCount()));
  for (int i = 0; i < count; ++i) {
    Gdiplus::Image* image = manager->GetImage(names[i]);
    if (image)
      std::printf("%ls %ux%u\n", names[i], image->GetWidth(), image->GetHeight());
    else
      std::printf("%ls null\n", names[i]);
  }
  manager->Release();
  return 0;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
  // As the installer does: the skin manager reports through the logger.
  HandFoldersToLogger();
  const std::wstring command = argc > 1 ? argv[1] : L"";
  if (command == L"size" && argc == 4) return PrintWindowSize(_wtoi(argv[2]), _wtoi(argv[3]));
  if (command == L"skin" && argc >= 3) return ProbeSkin(argv[2], argc - 3, argv + 3);
  return 2;
}

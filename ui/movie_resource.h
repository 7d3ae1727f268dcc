#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/handle.h"
#include "platform/thread.h"
#include "platform/xmutex.h"
#include "ui/gdiplus_api.h"
#include "ui/image_resource.h"

// An animated banner. Its worker waits until the banner has been painted
// once, asks host:port for the banner configuration at `path`, downloads the
// GIF named there and then steps through its frames, posting WM_MOVIE_FRAME to
// the notify window for each (unless paused). Until a GIF with frame delays has
// arrived, and whenever anything on that way fails, the fallback image is
// shown. The worker never draws.
class CMovieResource : public CImageResource, public CCorvixBasedThread {
 public:
  // An empty host makes no request: the fallback stays.
  CMovieResource(HWND notifyWindow, const std::string& host, uint16_t port, const std::string& path,
                 Gdiplus::Image* fallback, int id, const WidgetStyle* style);
  // Stops the worker: its requests are cancelled and the frame loop ends after
  // the current frame's delay.
  ~CMovieResource() override;

  // While paused the frames still advance, but no redraw is requested.
  void SetPaused(bool paused) { paused_ = paused; }

  // The common background and border, then the current frame (or the
  // fallback) in the frame rectangle.
  bool Draw(HDC dc) override;
  // The common placement, then the frame rectangle: the GIF, or the fallback,
  // fitted inside and centred.
  bool SetRect(int left, int top, int right, int bottom) override;

  // For the gallery and tests: whether a GIF has been adopted, and the frame
  // shown now.
  bool HasAnimation();
  int CurrentFrame();

 protected:
  unsigned Run() override;

 private:
  std::string Fetch(const std::string& host, uint16_t port, const std::string& path);
  // Adopts the decoded GIF when it has frames and a delay table.
  void AdoptAnimation(std::unique_ptr<Gdiplus::Image> gif);
  void PlaceFrame();
  void RequestRedraw();

  std::atomic<bool> stop_{false};
  std::atomic<bool> drawn_{false};
  std::atomic<bool> paused_{false};
  UniqueHandle cancel_;  // set on destruction: ends a name lookup or a frame delay
  CXMutex lock_;         // the animation and the current frame
  HWND notify_;
  std::string host_;
  uint16_t port_;
  std::string path_;
  GUID dimension_ = {};
  std::vector<uint32_t> delays_;  // per frame, in 10 ms
  int frameCount_ = 0;
  int current_ = 0;
  RECT frameRect_ = {};
  Gdiplus::Image* fallback_;
  std::unique_ptr<Gdiplus::Image> gif_;
};

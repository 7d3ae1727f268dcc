#include "ui/movie_resource.h"

#include <shlwapi.h>

#include <algorithm>
#include <cstring>

#include "net/tcp_http.h"
#include "ui/banner_source.h"
#include "ui/drawing.h"
#include "ui/ui_messages.h"

using namespace Gdiplus;

namespace {

// A gateway that accepts the connection and then says nothing must not keep
// the page's destruction waiting for long.
constexpr int kRequestTimeoutMs = 10000;
constexpr DWORD kFirstPaintPollMs = 10;
// Frames without a delay are shown for 100 ms, as browsers do, rather than in
// a loop that floods the window with redraw requests.
constexpr DWORD kZeroDelayMs = 100;

// Releases a COM stream.
struct StreamRelease {
  void operator()(IStream* stream) const { stream->Release(); }
};

}  // namespace

CMovieResource::CMovieResource(HWND notifyWindow, const std::string& host, uint16_t port, const std::string& path,
                               Image* fallback, int id, const WidgetStyle* style)
    : CImageResource(id, style, kKindMovie),
      cancel_(CreateEventW(nullptr, TRUE, FALSE, nullptr)),
      notify_(notifyWindow),
      host_(host),
      port_(port),
      path_(path),
      fallback_(fallback) {
  Start();
}

CMovieResource::~CMovieResource() {
  stop_ = true;
  SetEvent(cancel_.Get());
  StopAndWait();
}

void CMovieResource::RequestRedraw() { PostMessageW(notify_, WM_MOVIE_FRAME, 0, 0); }

bool CMovieResource::HasAnimation() {
  CXMutexGuard lock(lock_);
  return gif_ != nullptr;
}

int CMovieResource::CurrentFrame() {
  CXMutexGuard lock(lock_);
  return current_;
}

bool CMovieResource::Draw(HDC dc) {
  drawn_ = true;
  CXMutexGuard lock(lock_);
  const bool drawn = CImageResource::Draw(dc);
  if (!visible) return drawn;
  Graphics graphics(dc);
  graphics.SetSmoothingMode(SmoothingModeAntiAlias);
  const Rect target(frameRect_.left, frameRect_.top, frameRect_.right - frameRect_.left,
                    frameRect_.bottom - frameRect_.top);
  if (gif_) {
    gif_->SelectActiveFrame(&dimension_, current_);
    graphics.DrawImage(gif_.get(), target);
  } else if (fallback_) {
    graphics.DrawImage(fallback_, target);
  }
  return drawn;
}

bool CMovieResource::SetRect(int left, int top, int right, int bottom) {
  CImageResource::SetRect(left, top, right, bottom);
  CXMutexGuard lock(lock_);
  PlaceFrame();
  return true;
}

void CMovieResource::PlaceFrame() {
  const SIZE size = ImageSize(gif_ ? gif_.get() : fallback_);
  frameRect_ = FitInside(rect, size.cx, size.cy);
}

std::string CMovieResource::Fetch(const std::string& host, uint16_t port, const std::string& path) {
  try {
    CTCPHttp http(host, port, cancel_.Get());
    http.SetTimeouts(kRequestTimeoutMs, kRequestTimeoutMs);
    return http.Get(path, host);
  } catch (...) {
    return "";
  }
}

void CMovieResource::AdoptAnimation(std::unique_ptr<Image> image) {
  const UINT dimensions = image->GetFrameDimensionsCount();
  if (dimensions == 0) return;
  std::vector<GUID> list(dimensions);
  if (image->GetFrameDimensionsList(list.data(), dimensions) != Ok) return;
  const int count = static_cast<int>(image->GetFrameCount(&list[0]));
  if (count <= 0) return;
  // One 32-bit delay per frame; a short table leaves the missing ones at 0.
  // An animation without delays is not played; a still image needs none
  // (not every GDI+ gives a one-frame GIF the property).
  std::vector<uint32_t> delays(count);
  const UINT size = image->GetPropertyItemSize(PropertyTagFrameDelay);
  std::vector<uint8_t> buffer(std::max<size_t>(size, sizeof(PropertyItem)));
  auto* item = reinterpret_cast<PropertyItem*>(buffer.data());
  if (size >= sizeof(PropertyItem) && image->GetPropertyItem(PropertyTagFrameDelay, size, item) == Ok) {
    const size_t have = std::min<size_t>(item->length / sizeof(uint32_t), delays.size());
    std::memcpy(delays.data(), item->value, have * sizeof(uint32_t));
  } else if (count > 1) {
    return;
  }

  CXMutexGuard lock(lock_);
  dimension_ = list[0];
  frameCount_ = count;
  delays_ = std::move(delays);
  current_ = 0;
  gif_ = std::move(image);
  PlaceFrame();
}

unsigned CMovieResource::Run() {
  // No request before the banner has been seen once.
  while (!drawn_ && !stop_) Sleep(kFirstPaintPollMs);
  if (stop_ || host_.empty()) return 0;

  const std::string configuration = Fetch(host_, port_, path_);
  std::string gifHost, gifPath;
  uint16_t gifPort = 0;
  const std::string address = configuration.empty() ? "" : BannerGifAddress(configuration);
  if (address.empty() || !SplitGifAddress(address, &gifHost, &gifPort, &gifPath)) return 0;
  const std::string bytes = Fetch(gifHost, gifPort, gifPath);
  if (bytes.empty() || stop_) return 0;
  std::unique_ptr<IStream, StreamRelease> stream(
      SHCreateMemStream(reinterpret_cast<const BYTE*>(bytes.data()), static_cast<UINT>(bytes.size())));
  if (!stream) return 0;
  auto decoded = std::make_unique<Image>(stream.get());
  if (decoded->GetLastStatus() != Ok) return 0;
  AdoptAnimation(std::move(decoded));
  if (!HasAnimation()) return 0;

  // The first frame at once; a still image needs nothing more.
  RequestRedraw();
  if (frameCount_ == 1) return 0;
  while (!stop_) {
    DWORD delayMs;
    {
      CXMutexGuard lock(lock_);
      delayMs = delays_[current_] ? delays_[current_] * 10 : kZeroDelayMs;
    }
    // The stop event ends the wait at once.
    if (WaitForSingleObject(cancel_.Get(), delayMs) == WAIT_OBJECT_0) break;
    CXMutexGuard lock(lock_);
    current_ = (current_ + 1) % frameCount_;
    if (!paused_) RequestRedraw();
  }
  return 0;
}

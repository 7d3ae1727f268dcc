#pragma once
#include <windows.h>

#include <utility>

// Owners of GDI handles: each frees what it holds exactly once.

// A GDI object (bitmap, font, brush...) made by this program.
template <typename T>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(T object) : object_(object) {}
  GdiObject(GdiObject&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
  GdiObject& operator=(GdiObject&& other) noexcept {
    std::swap(object_, other.object_);
    return *this;
  }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  ~GdiObject() {
    if (object_) DeleteObject(object_);
  }
  T Get() const { return object_; }
  explicit operator bool() const { return object_ != nullptr; }

 private:
  T object_ = nullptr;
};

// A memory device context from CreateCompatibleDC.
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatible) : dc_(CreateCompatibleDC(compatible)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (dc_) DeleteDC(dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HDC dc_;
};

// A device context from GetDC, released to its window.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_) ReleaseDC(window_, dc_);
  }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// Selects an object into a device context and puts the old one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// BeginPaint and EndPaint around one WM_PAINT.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window, &paint_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  ~PaintScope() { EndPaint(window_, &paint_); }
  HDC Get() const { return dc_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_ = {};
  HDC dc_ = nullptr;
};

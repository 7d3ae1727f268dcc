#pragma once
#include <windows.h>

#include <cstdint>

// GDI+ started for the lifetime of the object (input version 1, no debug
// callback, background thread and external codecs not suppressed).
class GdiplusSession {
 public:
  GdiplusSession();
  ~GdiplusSession();
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  bool Started() const { return token_ != 0; }

 private:
  ULONG_PTR token_ = 0;
};

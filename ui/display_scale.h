#pragma once

// The two scale values of the skinned windows. The process context holds one
// and binds it at start-up; until then (and in programs without that context)
// a process-wide default instance is used.
struct DisplayScale {
  double uiScale = 1.0;   // effective scale of windows, fonts and geometry
  double dpiScale = 1.0;  // the display's DPI scale, worked out once
  bool dpiKnown = false;  // whether dpiScale has been worked out
};

// The bound scale values; never null.
DisplayScale& GetDisplayScale();
// Binds the values the UI reads and writes; null goes back to the default.
void BindDisplayScale(DisplayScale* scale);

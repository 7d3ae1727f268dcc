#pragma once
#include <cstdint>
#include <string>

// The look of a widget in one state. Sizes are pixels at 100 % scale; colours
// are 0xAARRGGBB.
struct StateStyle {
  StateStyle();

  uint32_t textColour = 0xFF000000;
  uint32_t backgroundColour = 0x00FFFFFF;
  int borderWidth = 0;
  int cornerRadius = 0;
  uint32_t borderColour = 0xFFC0C0C0;
  unsigned fontSize = 16;
  std::wstring fontFamily;  // "Microsoft Yahei", "SimHei" on Windows XP
  bool underline = false;
  bool bold = false;
  int alignX = 0;    // 0 near, 1 centre, 2 far
  int alignY = 1;    // 0 near, 1 centre, 2 far
  int iconSide = 0;  // 0 left, 1 right
};

// The four states in the order normal, hover, pressed, disabled.
struct WidgetStyle {
  StateStyle states[4];
  // Sets a field of all four states: style.ForAll([](StateStyle& s) { ... }).
  template <typename F>
  WidgetStyle& ForAll(F change) {
    for (StateStyle& state : states) change(state);
    return *this;
  }
};

// The style of `state`; a value outside 0..3 gives a default StateStyle.
const StateStyle& StyleOfState(const WidgetStyle& style, int state);

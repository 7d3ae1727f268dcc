#include "ui/widget_style.h"

#include "platform/system_info.h"

namespace {
const wchar_t* DefaultFontFamily() {
  return WindowsVersionCode() == WindowsVersion::kXp ? L"SimHei" : L"Microsoft Yahei";
}
}  // namespace

StateStyle::StateStyle() : fontFamily(DefaultFontFamily()) {}

const StateStyle& StyleOfState(const WidgetStyle& style, int state) {
  static const StateStyle kDefault;
  return state >= 0 && state < 4 ? style.states[state] : kDefault;
}

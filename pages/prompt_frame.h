#pragma once
#include <cstdint>
#include <vector>

#include "ui/widget_style.h"
#include "ui/widget_table.h"

// The five prompts share one frame: a white card, a grey title bar with the
// product name, an icon, a heading, a detail text and two buttons. A look
// holds what differs between them.
enum class PromptKind { kReminder, kWarn, kError, kDownloadReminder, kInstallReminder };

struct PromptLook {
  int layoutId;
  int spacerId;
  int textId;
  int iconId;
  const wchar_t* icon;
  int cornerRadius;
  uint32_t titleBorder;  // border colour of the title bar
  bool closeButton;
  const wchar_t* heading;
  const wchar_t* detail;
  const wchar_t* firstButton;   // grey
  const wchar_t* secondButton;  // blue
  bool greyBorder;              // the grey button's border in its background colour
  uint32_t blueHover;           // the blue button's hover background
};

const PromptLook& LookOf(PromptKind kind);

// Button ids of every prompt.
enum PromptButton : int { kPromptFirst = 1, kPromptSecond = 2, kPromptClose = 3 };

// The frame's rows for a look, with the styles they point at.
struct PromptRows {
  std::vector<WidgetRow> rows;
  WidgetStyle card, titleBar, title, close, heading, detail, grey, blue;
};
// The look of an image-only button on the page: no background, no border.
WidgetStyle ClearButtonStyle();
// The close button's pictures.
extern const std::array<const wchar_t*, 4> kCloseButtonImages;

// Filled in place: the rows point into the object's own styles.
void MakePromptRows(const PromptLook& look, PromptRows& out);

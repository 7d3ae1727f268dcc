#pragma once
#include <windows.h>

// The kind of a widget, as hit-testing and the pages' input handling see it.
enum WidgetKind : int {
  kKindBackground = 0,  // background or decorative image, passive
  kKindImage = 1,       // foreground image, solid but never clickable
  kKindButton = 2,
  kKindCheckbox = 3,
  kKindMovie = 4,  // animated image, passive
  kKindText = 5,
  kKindEdit = 6,
  kKindProgress = 7,
  kKindLayout = 9,  // ignored by hit-testing
  kKindSpacer = 10,
};

// The states of a drawable widget; any other value draws with default looks.
enum WidgetState : int { kStateNormal = 0, kStateHover = 1, kStatePressed = 2, kStateDisabled = 3 };

// The base of every widget. Its rectangle is in the host window's client
// coordinates, right and bottom exclusive.
class IBaseResource {
 public:
  IBaseResource(int kind, int id) : kind(kind), id(id) {}
  virtual ~IBaseResource() = default;
  IBaseResource(const IBaseResource&) = delete;
  IBaseResource& operator=(const IBaseResource&) = delete;

  // Draws into the device context; an invisible widget leaves it untouched.
  virtual bool Draw(HDC dc) = 0;
  // Stores the rectangle and recomputes what derives from it.
  virtual bool SetRect(int left, int top, int right, int bottom) = 0;

  const int kind;
  int id;
  RECT rect = {0, 0, 50, 20};
  bool visible = true;
};

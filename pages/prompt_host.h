#pragma once
#include <windows.h>

class IBaseWindow;

// Where a prompt of `size` goes: centred over the owner's rectangle (halves
// truncated toward zero), then shifted right onto the work area's left edge,
// left onto its right edge, and up onto its bottom edge, in that order. The
// top edge is not checked.
POINT PromptPosition(const RECT& owner, SIZE size, const RECT& workArea);

// Moves the prompt to PromptPosition over `owner` inside the work area the
// prompt recorded, then shows and updates it.
void PlacePrompt(IBaseWindow& prompt, HWND owner);

// The nested modal loop of a prompt, until WM_QUIT. Messages for the prompt
// are translated and dispatched; those for other windows are dropped, input
// included, except paint messages, which are dispatched so that the other
// windows stay painted and the loop does not spin on them. True when
// `watched` reached the prompt.
bool RunPromptLoop(HWND prompt, UINT watched);

// Top-level windows found by a part of their title: the coordinate picker's
// window during a test run and its watch, the windows that ArrangeWindow
// operations place.
#pragma once

#include "platform/platform.h"

namespace companions {

// How a title search looks at the windows, in the window system's
// top-to-bottom order.
struct TitleSearch {
  bool unownedOnly;  // skip windows that have an owner
  bool visibleOnly;  // skip hidden windows
  bool ignoreCase;   // FindTextNoCase (Shift-JIS aware, ASCII letters without
                     // case); otherwise a case-sensitive byte search
};

// The first window whose title holds `text`; kNoWindow when none does.
plat::Window FindWindowByTitle(const char* text, const TitleSearch& how);

// The window that an ArrangeWindow operation places, as the editor's placement
// buttons and the runner find it: the first visible top-level window whose
// title holds `title`, ASCII letters without case; owned windows count too.
plat::Window FindPlacedWindow(const char* title);

// Each acts on the first unowned top-level window whose title holds `text`
// (a case-sensitive byte search); true when one was found.
bool HideWindowByTitle(const char* text);     // visible windows only: hidden
bool ShowWindowByTitle(const char* text);     // hidden ones too: shown
bool RestoreWindowByTitle(const char* text);  // visible windows only: restored

}  // namespace companions

#include "companions/window_titles.h"

#include <string>

#include "text/sjis.h"

namespace companions {

namespace {

bool ShowByTitle(const char* text, bool visibleOnly, int showCommand) {
  plat::Window window = FindWindowByTitle(text, {true, visibleOnly, false});
  if (window == plat::kNoWindow) return false;
  plat::ShowWindowCmd(window, showCommand);
  return true;
}

}  // namespace

plat::Window FindPlacedWindow(const char* title) { return FindWindowByTitle(title, {false, true, true}); }

plat::Window FindWindowByTitle(const char* text, const TitleSearch& how) {
  if (text == nullptr) return plat::kNoWindow;
  for (const plat::TopLevelWindow& w : plat::TopLevelWindows()) {
    if (how.unownedOnly && w.owned) continue;
    if (how.visibleOnly && !w.visible) continue;
    const bool holds = how.ignoreCase ? text::FindTextNoCase(w.title.c_str(), text) >= 0
                                      : w.title.find(text) != std::string::npos;
    if (holds) return w.window;
  }
  return plat::kNoWindow;
}

bool HideWindowByTitle(const char* text) { return ShowByTitle(text, true, plat::kSwHide); }
bool ShowWindowByTitle(const char* text) { return ShowByTitle(text, false, plat::kSwShow); }
bool RestoreWindowByTitle(const char* text) { return ShowByTitle(text, true, plat::kSwRestore); }

}  // namespace companions

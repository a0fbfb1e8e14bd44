// What the window-title picker lists, answers and refuses, and when it gives
// up. Plain functions of their inputs, tested without a window.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace titlescan {

constexpr const char* kTitle = "ウィンドウタイトル取得";

// The editor waits for the picker without a time-out: without a choice it
// ends by itself after 2 minutes. The tests shorten that with "/limit=N"
// (seconds, 1 to 120); the editor passes no argument.
constexpr unsigned kLimitSeconds = 120;
unsigned TimeLimitMs(const std::vector<std::string>& arguments);

// The windows a user may pick, in the window system's order: visible, with
// a title, and of none of the editor's programs (the picker itself, the
// process that started it, and any program named Tavolex.exe, Pickmark.exe
// or Titlescan.exe).
std::vector<plat::ProgramWindow> WindowsToList(const std::vector<plat::ProgramWindow>& windows,
                                               std::uint32_t ownProcess, std::uint32_t parentProcess);

// The row of a window in the list; -1 when it is not listed.
int RowOfWindow(const std::vector<plat::ProgramWindow>& listed, plat::Window window);

// Why the edit's text cannot be the answer; nullptr when it can. `exact` is
// false when Shift-JIS cannot write the text.
const char* RefusalOfTitle(const std::string& title, bool exact);

}  // namespace titlescan

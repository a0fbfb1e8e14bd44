// What the coordinate picker answers: the text of a point, the refusal of a
// point the editor cannot take, and the menu's commands. Plain functions of
// their inputs, tested without a window.
#pragma once

#include <string>

namespace pickmark {

// The title of the picker's window; the editor finds the window by it.
constexpr const char* kTitle = "座標取得";
// The marker's centre from the window's top-left corner: the editor shows a
// stored point by moving the window to (x - 31, y - 52).
constexpr int kMarkerX = 31;
constexpr int kMarkerY = 52;
// The editor takes 1 to 4 digits on each axis, and no 0.
constexpr int kLowest = 1;
constexpr int kHighest = 9999;

struct PointAnswer {
  bool answered = false;
  std::string text;    // answered: "x,y" for the clipboard
  std::string reason;  // not answered: why, for the user
};
PointAnswer AnswerForPoint(int x, int y);

// What the window shows while the marker is dragged over (x, y).
std::string PointShown(int x, int y);

// The right-click menu, in its order, and the clipboard text of each entry.
struct MenuCommand {
  const char* label;
  const char* answer;
};
constexpr MenuCommand kMenu[] = {
    {"新規", "NEW ACTION"},
    {"挿入", "INS ACTION"},
    {"座標クリア", ","},
};

}  // namespace pickmark

#include "pickmark/answers.h"

namespace pickmark {

namespace {

bool InRange(int v) { return v >= kLowest && v <= kHighest; }

}  // namespace

PointAnswer AnswerForPoint(int x, int y) {
  PointAnswer a;
  if (InRange(x) && InRange(y)) {
    a.answered = true;
    a.text = std::to_string(x) + "," + std::to_string(y);
  } else if (x < kLowest || y < kLowest) {
    // A monitor left of or above the main one, or its very first row or column.
    a.reason = "ここは取得できません。\n座標が0以下です\n（主画面の左か上）。";
  } else {
    a.reason = "ここは取得できません。\n座標が9999を\n超えています。";
  }
  return a;
}

std::string PointShown(int x, int y) {
  return "X " + std::to_string(x) + "\nY " + std::to_string(y);
}

}  // namespace pickmark

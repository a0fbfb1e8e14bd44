#include "pickmark/pickmark.h"

#include <iterator>

#include "pickmark/answers.h"

namespace pickmark {
namespace {

constexpr const char* kHint = "マーカーをドラッグ\nして位置を取得。\n右クリックで\nメニュー。";
constexpr const char* kClipboardHeld = "クリップボードが\n使用中のため\n送れませんでした。";

class Answers : public plat::MarkerHandler {
 public:
  plat::MarkerNote OnMarkerMoved(int x, int y) override {
    return {PointShown(x, y), !AnswerForPoint(x, y).answered};
  }
  plat::MarkerNote OnMarkerDropped(int x, int y) override {
    const PointAnswer a = AnswerForPoint(x, y);
    if (!a.answered) return {a.reason, true};
    return Send(a.text, PointShown(x, y));
  }
  plat::MarkerNote OnMenuChosen(int index) override {
    if (index < 0 || index >= static_cast<int>(std::size(kMenu))) return {};
    return Send(kMenu[index].answer, std::string(kMenu[index].label) + "\nを送りました。");
  }

 private:
  // CF_TEXT with exactly these bytes, which the editor reads.
  static plat::MarkerNote Send(const std::string& answer, const std::string& shown) {
    if (!plat::WriteClipboardTextBoth(answer.c_str())) return {kClipboardHeld, true};
    return {shown, false};
  }
};

}  // namespace

int RunPickmark() {
  plat::MarkerWindowSetup setup;
  setup.title = kTitle;
  setup.markerX = kMarkerX;
  setup.markerY = kMarkerY;
  for (const MenuCommand& c : kMenu) setup.menu.push_back(c.label);
  setup.hint = kHint;
  Answers answers;
  return plat::RunMarkerWindow(setup, answers);
}

}  // namespace pickmark

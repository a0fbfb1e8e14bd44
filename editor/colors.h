// The dialogs' colours: the program-wide brushes, the colour rules of the
// main dialog and of the job-name dialog, and the owner-drawn button.
#pragma once

#include <vector>

#include "platform/platform.h"

namespace editor {

constexpr plat::Color kWhite = plat::Rgb(255, 255, 255);
constexpr plat::Color kBlack = plat::Rgb(0, 0, 0);
constexpr plat::Color kGrey = plat::Rgb(220, 220, 220);
constexpr plat::Color kRed = plat::Rgb(255, 0, 0);

// Every brush colour the colour rules answer with.
std::vector<plat::Color> DialogBrushColors();
// Creates those brushes once, at program start.
void CreateDialogBrushes();

// Background of the drop-down lists for the text shown in the action list
// 1080: a colour per group of actions, white for any other text.
plat::Color ActionListBrush(const char* actionText);

// What the main dialog answers to a colour request of a control; actionText
// is the text of the action list 1080 (read only for drop-down lists).
plat::CtlColorAnswer MainDialogColor(plat::CtlColorKind kind, int controlId, const char* actionText);
// What the job-name dialog answers.
plat::CtlColorAnswer JobNameDialogColor(plat::CtlColorKind kind);

// A push button drawn by the program: a solid face, a centred caption, a
// raised edge; sunken and with a focus rectangle while pressed.
class CCButton {
 public:
  plat::Color TextColor = plat::Rgb(0, 0, 0);
  plat::Color FaceColor = plat::Rgb(200, 200, 200);
  plat::Color DisabledTextColor = plat::Rgb(255, 255, 255);

  void DrawItem(const plat::DrawItem& item, const char* caption) const;
};

// Button 1027 "選択した操作を実行".
extern CCButton RunButton;

}  // namespace editor

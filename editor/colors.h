// The owner-drawn button of the main dialog.
#pragma once

#include "platform/platform.h"

namespace editor {

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

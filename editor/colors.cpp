#include "editor/colors.h"

namespace editor {

CCButton RunButton;

void CCButton::DrawItem(const plat::DrawItem& item, const char* caption) const {
  plat::Rect r = item.rect;
  plat::Rect focus{r.left + 4, r.top + 4, r.right - 4, r.bottom - 4};
  plat::DrawFillRect(item, r, FaceColor);
  plat::DrawCenteredText(item, r, caption, TextColor);
  plat::DrawEdge(item, r, false);
  if (item.focused) {
    if (item.selected) plat::DrawEdge(item, r, true);
    plat::DrawFocusRect(item, focus);
  } else if (item.disabled) {
    plat::DrawCenteredText(item, r, caption, DisabledTextColor);
  }
}

}  // namespace editor

#include "editor/colors.h"

#include <cstring>

#include "editor/controls.h"
#include "operations/records.h"

namespace editor {

namespace {

struct ActionBrush {
  ops::ActionKind kind;
  plat::Color brush;
};

const ActionBrush kActionBrushes[] = {
    {ops::MouseClick, plat::Rgb(255, 255, 220)},     {ops::MouseDoubleClick, plat::Rgb(255, 255, 220)},
    {ops::MouseRightClick, plat::Rgb(255, 255, 220)}, {ops::TypeText, plat::Rgb(220, 220, 220)},
    {ops::CopyText, plat::Rgb(200, 255, 200)},        {ops::PasteText, plat::Rgb(200, 255, 200)},
    {ops::Pause, plat::Rgb(250, 250, 250)},           {ops::PressKey, plat::Rgb(200, 230, 255)},
    {ops::Shortcut, plat::Rgb(200, 230, 255)},        {ops::RunApplication, plat::Rgb(255, 220, 220)},
    {ops::ArrangeWindow, plat::Rgb(255, 220, 220)},
};

// Statics (labels, read-only and disabled edits, check boxes, group boxes)
// by id range; the first matching rule wins.
struct StaticRule {
  int first, last;
  plat::Color text, brush;
};

const StaticRule kStaticRules[] = {
    {1030, 1030, kWhite, kBlack},                                   // job list caption bar
    {1031, 1031, plat::Rgb(0, 255, 0), kBlack},                     // section caption bars
    {1033, 1034, plat::Rgb(0, 255, 0), kBlack},
    {1035, 1038, plat::Rgb(0, 10, 60), kGrey},                      // field captions
    {1032, 1032, plat::Rgb(0, 10, 60), kGrey},
    {1040, 1043, plat::Rgb(0, 10, 60), kGrey},
    {kStopSecondsLabel, kStopSecondsLabel, plat::Rgb(0, 10, 60), kGrey},
    {1048, 1059, kBlack, kWhite},                                   // words of the repeat rules
    {kRowNumberEdit, kYEdit, kRed, kGrey},                          // read-only 1001-1003
    {kCheckAllButton, kCheckAllButton, plat::Rgb(0, 90, 20), kWhite},
};

plat::CtlColorAnswer Answer(plat::Color text, plat::Color brush) { return {true, text, brush}; }

}  // namespace

std::vector<plat::Color> DialogBrushColors() {
  std::vector<plat::Color> colors = {kWhite, kBlack, kGrey};
  for (const ActionBrush& a : kActionBrushes) {
    bool known = false;
    for (plat::Color c : colors) known = known || c == a.brush;
    if (!known) colors.push_back(a.brush);
  }
  return colors;
}

void CreateDialogBrushes() { plat::PrepareSolidBrushes(DialogBrushColors()); }

plat::Color ActionListBrush(const char* actionText) {
  int kind = ops::FindActionKind(actionText != nullptr ? actionText : "");
  for (const ActionBrush& a : kActionBrushes) {
    if (a.kind == kind) return a.brush;
  }
  return kWhite;
}

plat::CtlColorAnswer MainDialogColor(plat::CtlColorKind kind, int controlId, const char* actionText) {
  switch (kind) {
    case plat::CtlColorKind::Edit:
      return Answer(controlId == kStopSecondsEdit ? kRed : kBlack, kWhite);
    case plat::CtlColorKind::ListBox:
      return Answer(kBlack, ActionListBrush(actionText));
    case plat::CtlColorKind::Dialog:
      return Answer(kBlack, kWhite);
    case plat::CtlColorKind::Static:
      for (const StaticRule& r : kStaticRules) {
        if (controlId >= r.first && controlId <= r.last) return Answer(r.text, r.brush);
      }
      return Answer(kBlack, kGrey);
    default:
      return {};  // buttons, scroll bars, message boxes: the dialog's default
  }
}

plat::CtlColorAnswer JobNameDialogColor(plat::CtlColorKind kind) {
  switch (kind) {
    case plat::CtlColorKind::Edit: return Answer(kBlack, kWhite);
    case plat::CtlColorKind::Dialog: return Answer(kBlack, kWhite);
    case plat::CtlColorKind::Static: return Answer(kRed, kGrey);
    default: return {};
  }
}

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

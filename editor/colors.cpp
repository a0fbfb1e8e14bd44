#include "editor/colors.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include "operations/records.h"
#include "resources/control_ids.h"

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

plat::CtlColorAnswer Answer(plat::Color text, plat::Color brush) { return {true, text, brush}; }

bool IsOneOf(int id, std::initializer_list<int> ids) {
  return std::find(ids.begin(), ids.end(), id) != ids.end();
}

bool IsRepeatWord(int id) {
  for (const res::RepeatRuleControls& rule : res::kRepeatRules) {
    if (IsOneOf(id, {rule.noWord, rule.toWord, rule.countWord, rule.timesWord})) return true;
  }
  return false;
}

// Statics: labels, read-only and disabled edits, check boxes, group boxes.
plat::CtlColorAnswer StaticColor(int id) {
  if (id == res::kJobListCaption) return Answer(kWhite, kBlack);  // caption bars
  if (IsOneOf(id, {res::kEditorHeading, res::kTestRunHeading, res::kRepeatHeading})) {
    return Answer(plat::Rgb(0, 255, 0), kBlack);
  }
  if (IsOneOf(id, {res::kRowNumberLabel, res::kNameLabel, res::kXYLabel, res::kActionLabel, res::kInputLabel,
                   res::kWindowLeftLabel, res::kWindowTopLabel, res::kWindowWidthLabel,
                   res::kWindowHeightLabel, res::kStopSecondsLabel})) {
    return Answer(plat::Rgb(0, 10, 60), kGrey);  // field captions
  }
  if (IsRepeatWord(id)) return Answer(kBlack, kWhite);
  if (IsOneOf(id, {res::kRowNumberEdit, res::kXEdit, res::kYEdit})) return Answer(kRed, kGrey);  // read-only
  if (id == res::kCheckAllButton) return Answer(plat::Rgb(0, 90, 20), kWhite);
  return Answer(kBlack, kGrey);
}

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
      return Answer(controlId == res::kStopSecondsEdit ? kRed : kBlack, kWhite);
    case plat::CtlColorKind::ListBox:
      return Answer(kBlack, ActionListBrush(actionText));
    case plat::CtlColorKind::Dialog:
      return Answer(kBlack, kWhite);
    case plat::CtlColorKind::Static:
      return StaticColor(controlId);
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

#include "resources/templates.h"

#include <iterator>

#include "resources/control_ids.h"

namespace res {
namespace {

using C = ControlClass;

constexpr std::uint32_t kCaption = kSsCenter | kSsCenterImage;  // field captions
constexpr std::uint32_t kHeading = kSsLeft | kSsCenterImage;    // black heading bars
constexpr std::uint32_t kWord = kSsCenter;                      // words of the repeat rules
constexpr std::uint32_t kEdit = kWsBorder | kEsAutoHScroll | kWsTabStop;
constexpr std::uint32_t kNumEdit = kEdit | kEsNumber;
constexpr std::uint32_t kReadOnlyNum = kNumEdit | kEsReadOnly | kEsCenter;
constexpr std::uint32_t kButton = kBsPushButton | kWsTabStop;
constexpr std::uint32_t kCheck = kBsAutoCheckBox | kWsTabStop;
constexpr std::uint32_t kDropList = kCbsDropDownList | kWsVScroll | kWsTabStop;

// Main window: the operation list, the operation editor, the test run and the
// repeat rules.
const ControlTemplate kMainControls[] = {
    {kJobListCaption, C::Static, "自動操作する処理作業名", 4, 2, 93, 13, kSsCenter | kSsCenterImage | kWsBorder, 0, 0},
    {kJobCombo, C::ComboBox, "", 97, 2, 235, 200, kDropList | kCbsSort, 0, 0},
    {kDeleteJobButton, C::Button, "処理作業名を削除", 335, 1, 64, 15, kButton, 0, 0},
    {kOperationList, C::ListView, "", 3, 17, 396, 263,
     kLvsReport | kLvsSingleSel | kLvsNoSortHeader | kWsBorder | kWsTabStop, kWsExStaticEdge, 0},
    {kEditorHeading, C::Static, "　選択(クリック)した 『操作の編集』", 4, 285, 394, 12, kHeading, 0, 0},
    {kRowNumberLabel, C::Static, "番号", 9, 303, 18, 12, kCaption, 0, 0},
    {kRowNumberEdit, C::Edit, "", 9, 316, 18, 12, kReadOnlyNum, 0, 0},
    {kNameLabel, C::Static, "操作する名称", 31, 303, 89, 12, kCaption, 0, 0},
    {kNameEdit, C::Edit, "", 31, 316, 89, 12, kEdit, 0, 0},
    {kXYLabel, C::Static, "横縦座標", 123, 303, 38, 12, kCaption, 0, 0},
    {kXEdit, C::Edit, "", 123, 316, 18, 12, kReadOnlyNum, 0, 0},
    {kYEdit, C::Edit, "", 143, 316, 18, 12, kReadOnlyNum, 0, 0},
    {kActionLabel, C::Static, "アクション（選択）", 165, 303, 92, 12, kCaption, 0, 0},
    {kActionCombo, C::ComboBox, "", 165, 316, 92, 168, kDropList, 0, 0},
    {kInputLabel, C::Static, "入力キー", 259, 303, 98, 12, kCaption, 0, 0},
    {kInputCombo, C::ComboBox, "", 259, 316, 98, 168, kDropList, 0, 0},
    {kInputEdit, C::Edit, "", 259, 316, 98, 12, kEdit, 0, 0},
    {kWindowLeftLabel, C::Static, "横座標", 260, 333, 25, 12, kCaption, 0, 0},
    {kWindowTopLabel, C::Static, "縦座標", 260, 345, 25, 12, kCaption, 0, 0},
    {kWindowWidthLabel, C::Static, "横幅", 310, 333, 25, 12, kCaption, 0, 0},
    {kWindowHeightLabel, C::Static, "縦高", 310, 345, 25, 12, kCaption, 0, 0},
    {kWindowLeftEdit, C::Edit, "", 285, 333, 21, 12, kNumEdit, 0, 0},
    {kWindowTopEdit, C::Edit, "", 285, 345, 21, 12, kNumEdit, 0, 0},
    {kWindowWidthEdit, C::Edit, "", 335, 333, 21, 12, kNumEdit, 0, 0},
    {kWindowHeightEdit, C::Edit, "", 335, 345, 21, 12, kNumEdit, 0, 0},
    {kNewButton, C::Button, "新規", 31, 335, 62, 18, kButton, 0, 0},
    {kInsertButton, C::Button, "挿入", 124, 335, 36, 18, kButton, 0, 0},
    {kDeleteButton, C::Button, "削除", 162, 335, 38, 18, kButton, 0, 0},
    {kTestRunHeading, C::Static, "　選択(チェック)した操作の 『動作試験』", 4, 367, 121, 12, kHeading, 0, 0},
    {kCheckAllButton, C::Button, "すべてのチェックをOFFにします", 15, 382, 90, 12, kCheck, 0, 0},
    {kRunButton, C::Button, "選択した操作を実行", 14, 396, 91, 23, kBsOwnerDraw | kWsTabStop,
     kWsExStaticEdge | kWsExDlgModalFrame, 0},
    {kStatusAnimationControl, C::Animation, "", 304, 388, 16, 19, kAcsCenter | kAcsTransparent | kWsBorder, 0, 0},
    {kRepeatHeading, C::Static, "　『繰返し処理』 の設定", 133, 367, 150, 12, kHeading, 0, 0},
    {kRepeatRules[0].check, C::Button, "", 139, 383, 8, 8, kCheck, 0, 0},
    {kRepeatRules[0].noWord, C::Static, "No", 153, 382, 10, 9, kWord, 0, 0},
    {kRepeatRules[0].from, C::Edit, "", 167, 380, 15, 12, kNumEdit | kEsReadOnly, 0, 0},
    {kRepeatRules[0].toWord, C::Static, "～", 186, 382, 10, 9, kWord, 0, 0},
    {kRepeatRules[0].to, C::Edit, "", 200, 380, 15, 12, kNumEdit | kEsReadOnly, 0, 0},
    {kRepeatRules[0].countWord, C::Static, "を", 218, 382, 10, 9, kWord, 0, 0},
    {kRepeatRules[0].count, C::Edit, "", 232, 380, 15, 12, kNumEdit | kEsReadOnly, 0, 0},
    {kRepeatRules[0].timesWord, C::Static, "回繰返す", 250, 382, 29, 9, kWord, 0, 0},
    {kRepeatRules[1].check, C::Button, "", 139, 398, 8, 8, kCheck, 0, 0},
    {kRepeatRules[1].noWord, C::Static, "No", 153, 397, 10, 9, kWord, 0, 0},
    {kRepeatRules[1].from, C::Edit, "", 167, 396, 15, 12, kNumEdit | kEsReadOnly, 0, 0},
    {kRepeatRules[1].toWord, C::Static, "～", 186, 397, 10, 9, kWord, 0, 0},
    {kRepeatRules[1].to, C::Edit, "", 200, 396, 15, 12, kNumEdit | kEsReadOnly, 0, 0},
    {kRepeatRules[1].countWord, C::Static, "を", 218, 397, 10, 9, kWord, 0, 0},
    {kRepeatRules[1].count, C::Edit, "", 232, 396, 15, 12, kNumEdit | kEsReadOnly, 0, 0},
    {kRepeatRules[1].timesWord, C::Static, "回繰返す", 250, 397, 29, 9, kWord, 0, 0},
    {kRepeatRules[2].check, C::Button, "", 139, 413, 8, 8, kCheck, 0, 0},
    {kRepeatRules[2].noWord, C::Static, "No", 153, 412, 10, 9, kWord, 0, 0},
    {kRepeatRules[2].from, C::Edit, "", 167, 411, 15, 12, kNumEdit | kEsReadOnly, 0, 0},
    {kRepeatRules[2].toWord, C::Static, "～", 186, 412, 10, 9, kWord, 0, 0},
    {kRepeatRules[2].to, C::Edit, "", 200, 411, 15, 12, kNumEdit | kEsReadOnly, 0, 0},
    {kRepeatRules[2].countWord, C::Static, "を", 218, 412, 10, 9, kWord, 0, 0},
    {kRepeatRules[2].count, C::Edit, "", 232, 411, 15, 12, kNumEdit | kEsReadOnly, 0, 0},
    {kRepeatRules[2].timesWord, C::Static, "回繰返す", 250, 412, 29, 9, kWord, 0, 0},
    {kSaveAndExitButton, C::Button, "保存して終了", 341, 367, 48, 38, kBsDefPushButton | kBsMultiLine | kWsTabStop, 0, 0},
    {kCancelButton, C::Button, "キャンセル", 341, 409, 48, 22, kButton, 0, 0},
    {-1, C::Button, "", 3, 280, 396, 82, kBsGroupBox, 0, 0},
    {-1, C::Button, "", 3, 362, 123, 68, kBsGroupBox, 0, 0},
    {-1, C::Button, "", 132, 362, 152, 68, kBsGroupBox, 0, 0},
    {kCheckPlacementButton, C::Button, "座標確認", 361, 332, 36, 13, kButton | kBsFlat, 0, 0},
    {kTakePlacementButton, C::Button, "座標取得", 361, 345, 36, 13, kButton | kBsFlat, 0, 0},
    {kTitleSearchButton, C::Button, "タイトル\n検索", 361, 302, 28, 26, kButton | kBsMultiLine, 0, 0},
    {kAppSearchButton, C::Button, "アプリ\n検索", 361, 302, 28, 26, kButton | kBsMultiLine, 0, 0},
    {kStopSecondsLabel, C::Static, "停止秒", 362, 333, 24, 12, kCaption, 0, 0},
    {kStopSecondsEdit, C::Edit, "", 362, 345, 24, 12, kNumEdit | kEsCenter, 0, 0},
};

const ControlTemplate kAboutControls[] = {
    {-1, C::Static, nullptr, 3, 10, 18, 21, kSsIcon, 0, kIcon},
    {-1, C::Static, "ラディモ バージョン 2.0", 35, 12, 121, 8, kSsLeft | kSsNoPrefix, 0, 0},
    {-1, C::Static, "Copyright (C) Tavolex developers. All rights reserved.", 35, 26, 114, 8, kSsLeft, 0, 0},
    {1, C::Button, "OK", 103, 41, 50, 14, kBsDefPushButton | kWsGroup | kWsTabStop, 0, 0},
};

const ControlTemplate kJobNameControls[] = {
    {kJobNamePrompt, C::Static, "★☆ 処理作業名を入力してください ☆★", 2, 2, 143, 11,
     kSsCenter | kSsCenterImage | kWsBorder, 0, 0},
    {kJobNameEdit, C::Edit, "", 2, 14, 143, 11, kWsBorder | kEsAutoHScroll | kWsTabStop, 0, 0},
    {1, C::Button, "OK", 2, 26, 50, 11, kBsDefPushButton | kWsTabStop, 0, 0},
    {2, C::Button, "CANCEL", 95, 26, 50, 11, kButton, 0, 0},
};

const ControlTemplate kTitleScanControls[] = {
    {-1, C::Static, "一覧からウィンドウを選ぶか、右の照準をウィンドウの上までドラッグしてください。", 6, 7,
     246, 18, kSsLeft, 0, 0},
    {kTitleFinder, C::Static, "", 264, 4, 24, 22, kSsNotify | kWsBorder, 0, 0},
    {kTitleWindowList, C::ListView, "", 6, 30, 288, 116,
     kLvsReport | kLvsSingleSel | kLvsShowSelAlways | kLvsNoSortHeader | kWsBorder | kWsTabStop, 0, 0},
    {-1, C::Static, "取得するタイトル（一部に短くしてもかまいません）", 6, 151, 200, 9, kSsLeft, 0, 0},
    {kTitleEdit, C::Edit, "", 6, 161, 288, 12, kEdit, 0, 0},
    {kTitleRefreshButton, C::Button, "一覧を更新", 6, 180, 60, 14, kButton, 0, 0},
    {1, C::Button, "OK", 176, 180, 56, 14, kBsDefPushButton | kWsTabStop, 0, 0},
    {2, C::Button, "キャンセル", 238, 180, 56, 14, kButton, 0, 0},
};

const DialogTemplate kDialogs[] = {
    {kMainDialog, "キーボードとマウスの自動操作の定義を作成します", "MS UI Gothic", 9, 0, 0, 402, 436,
     kWsPopup | kWsCaption | kWsSysMenu | kWsMinimizeBox | kDsModalFrame | kDsSetFont, kWsExAppWindow,
     kMainControls, std::size(kMainControls)},
    {kAboutDialog, "ラディモについて", "MS UI Gothic", 9, 0, 0, 160, 62,
     kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsSetFont, 0, kAboutControls,
     std::size(kAboutControls)},
    {kJobNameDialog, "", "MS Shell Dlg", 8, 0, 0, 147, 38,
     kWsPopup | kWsBorder | kDsModalFrame | kDsSetFont, 0, kJobNameControls,
     std::size(kJobNameControls)},
    {kTitleScanDialog, "ウィンドウタイトル取得", "MS UI Gothic", 9, 0, 0, 300, 200,
     kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsCenter | kDsSetFont, kWsExTopmost | kWsExAppWindow,
     kTitleScanControls, std::size(kTitleScanControls)},
};

}  // namespace

const DialogTemplate* FindDialogTemplate(int id) {
  for (const DialogTemplate& d : kDialogs) {
    if (d.id == id) return &d;
  }
  return nullptr;
}

const ControlTemplate* FindControl(const DialogTemplate& dialog, int controlId) {
  for (std::size_t i = 0; i < dialog.controlCount; ++i) {
    if (dialog.controls[i].id == controlId) return &dialog.controls[i];
  }
  return nullptr;
}

const char* FindString(int id) {
  if (id == kAboutMenuString) return "ラディモについて(&A)...";
  return nullptr;
}

}  // namespace res

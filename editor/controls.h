// Control ids of the main dialog.
#pragma once

namespace editor {

constexpr int kSaveAndExitButton = 1;
constexpr int kCancelButton = 2;
constexpr int kStatusAnimation = 106;
constexpr int kOperationList = 1000;
constexpr int kRowNumberEdit = 1001;
constexpr int kXEdit = 1002;
constexpr int kYEdit = 1003;
constexpr int kNameEdit = 1004;
constexpr int kInputEdit = 1005;
constexpr int kWindowLeftEdit = 1015;
constexpr int kWindowTopEdit = 1016;
constexpr int kWindowWidthEdit = 1017;
constexpr int kWindowHeightEdit = 1018;
constexpr int kStopSecondsEdit = 1020;
constexpr int kInsertButton = 1023;
constexpr int kDeleteButton = 1025;
constexpr int kNewButton = 1026;
constexpr int kRunButton = 1027;
constexpr int kCheckPlacementButton = 1028;
constexpr int kDeleteJobButton = 1029;
constexpr int kInputLabel = 1032;
constexpr int kXYLabel = 1037;
constexpr int kTitleSearchButton = 1039;
constexpr int kWindowLeftLabel = 1040;
constexpr int kWindowTopLabel = 1041;
constexpr int kWindowWidthLabel = 1042;
constexpr int kWindowHeightLabel = 1043;
constexpr int kCheckAllButton = 1044;
constexpr int kRepeatCheck1 = 1045;
constexpr int kRepeatCheck2 = 1046;
constexpr int kRepeatCheck3 = 1047;
constexpr int kAppSearchButton = 1060;
constexpr int kStopSecondsLabel = 1061;
constexpr int kTakePlacementButton = 1062;
constexpr int kActionCombo = 1080;
constexpr int kInputCombo = 1081;
constexpr int kJobCombo = 1082;

// System-menu command of the about box.
constexpr unsigned kAboutCommand = 16;

}  // namespace editor

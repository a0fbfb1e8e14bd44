// The control ids of the dialogs: the one table of them, used by the dialog
// templates (templates.cpp) and by every folder that addresses a control.
#pragma once

namespace res {

// --- Main dialog (template 102)
constexpr int kSaveAndExitButton = 1;  // the default button "保存して終了"
constexpr int kCancelButton = 2;
constexpr int kStatusAnimationControl = 106;  // plays the animation kStatusAnimation
constexpr int kJobListCaption = 1030;
constexpr int kJobCombo = 1082;
constexpr int kDeleteJobButton = 1029;
constexpr int kOperationList = 1000;

// The operation editor
constexpr int kEditorHeading = 1031;
constexpr int kRowNumberLabel = 1035;
constexpr int kRowNumberEdit = 1001;
constexpr int kNameLabel = 1036;
constexpr int kNameEdit = 1004;
constexpr int kXYLabel = 1037;
constexpr int kXEdit = 1002;
constexpr int kYEdit = 1003;
constexpr int kActionLabel = 1038;
constexpr int kActionCombo = 1080;
constexpr int kInputLabel = 1032;
constexpr int kInputCombo = 1081;  // a key or shortcut name
constexpr int kInputEdit = 1005;   // free text, seconds, a window title or an application path
constexpr int kWindowLeftLabel = 1040;
constexpr int kWindowTopLabel = 1041;
constexpr int kWindowWidthLabel = 1042;
constexpr int kWindowHeightLabel = 1043;
constexpr int kWindowLeftEdit = 1015;
constexpr int kWindowTopEdit = 1016;
constexpr int kWindowWidthEdit = 1017;
constexpr int kWindowHeightEdit = 1018;
// The four window edits in the order of the line's fields.
constexpr int kWindowEdits[4] = {kWindowLeftEdit, kWindowTopEdit, kWindowWidthEdit, kWindowHeightEdit};
constexpr int kStopSecondsLabel = 1061;
constexpr int kStopSecondsEdit = 1020;
constexpr int kNewButton = 1026;
constexpr int kInsertButton = 1023;
constexpr int kDeleteButton = 1025;
constexpr int kCheckPlacementButton = 1028;
constexpr int kTakePlacementButton = 1062;
constexpr int kTitleSearchButton = 1039;
constexpr int kAppSearchButton = 1060;

// The test run
constexpr int kTestRunHeading = 1033;
constexpr int kCheckAllButton = 1044;
constexpr int kRunButton = 1027;

// The repeat rules
constexpr int kRepeatHeading = 1034;
// One rule's controls: its check box; its from, to and count edits; the four
// words between them, "No", "～", "を" and "回繰返す".
struct RepeatRuleControls {
  int check, from, to, count;
  int noWord, toWord, countWord, timesWord;
};
constexpr RepeatRuleControls kRepeatRules[] = {
    {1045, 1006, 1007, 1008, 1048, 1049, 1050, 1051},
    {1046, 1009, 1010, 1011, 1052, 1053, 1054, 1055},
    {1047, 1012, 1013, 1014, 1056, 1057, 1058, 1059},
};

// --- Job-name dialog (template 105)
constexpr int kJobNamePrompt = 1039;
constexpr int kJobNameEdit = 1019;

// --- Window-title picker (template 110, Titlescan.exe); OK is 1, Cancel 2
constexpr int kTitleWindowList = 1101;  // the windows: title, program
constexpr int kTitleFinder = 1102;      // the crosshair dragged onto a window
constexpr int kTitleEdit = 1103;        // the title to answer, which the user may shorten
constexpr int kTitleRefreshButton = 1104;

}  // namespace res

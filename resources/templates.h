// Dialog templates, strings and resource ids of the program.
//
// The tables in templates.cpp are the one description of the dialogs: the
// resource-script generator turns them into the program's resources, and the
// headless window system builds its controls from them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace res {

constexpr int kAboutDialog = 100;
constexpr int kAboutMenuString = 101;
constexpr int kMainDialog = 102;
constexpr int kIcon = 103;
constexpr int kStatusAnimation = 104;
constexpr int kJobNameDialog = 105;
constexpr int kTitleScanDialog = 110;  // Titlescan.exe, the window-title picker

// Window styles (WS_*, DS_*) and extended styles (WS_EX_*).
constexpr std::uint32_t kWsPopup = 0x80000000u;
constexpr std::uint32_t kWsChild = 0x40000000u;
constexpr std::uint32_t kWsVisible = 0x10000000u;
constexpr std::uint32_t kWsDisabled = 0x08000000u;
constexpr std::uint32_t kWsCaption = 0x00C00000u;
constexpr std::uint32_t kWsBorder = 0x00800000u;
constexpr std::uint32_t kWsVScroll = 0x00200000u;
constexpr std::uint32_t kWsSysMenu = 0x00080000u;
constexpr std::uint32_t kWsGroup = 0x00020000u;
constexpr std::uint32_t kWsMinimizeBox = 0x00020000u;
constexpr std::uint32_t kWsTabStop = 0x00010000u;
constexpr std::uint32_t kDsModalFrame = 0x80u;
constexpr std::uint32_t kDsCenter = 0x800u;
constexpr std::uint32_t kDsSetFont = 0x40u;
constexpr std::uint32_t kWsExDlgModalFrame = 0x1u;
constexpr std::uint32_t kWsExTopmost = 0x8u;
constexpr std::uint32_t kWsExClientEdge = 0x200u;
constexpr std::uint32_t kWsExStaticEdge = 0x20000u;
constexpr std::uint32_t kWsExAppWindow = 0x40000u;

// Control styles.
constexpr std::uint32_t kSsLeft = 0x0, kSsCenter = 0x1, kSsIcon = 0x3, kSsNoPrefix = 0x80,
                        kSsNotify = 0x100, kSsCenterImage = 0x200;
constexpr std::uint32_t kEsCenter = 0x1, kEsAutoHScroll = 0x80, kEsReadOnly = 0x800,
                        kEsNumber = 0x2000;
constexpr std::uint32_t kBsPushButton = 0x0, kBsDefPushButton = 0x1, kBsAutoCheckBox = 0x3,
                        kBsGroupBox = 0x7, kBsOwnerDraw = 0xB, kBsMultiLine = 0x2000,
                        kBsFlat = 0x8000, kBsTypeMask = 0xF;
constexpr std::uint32_t kCbsDropDownList = 0x3, kCbsSort = 0x100;
constexpr std::uint32_t kLvsReport = 0x1, kLvsSingleSel = 0x4, kLvsShowSelAlways = 0x8,
                        kLvsNoSortHeader = 0x8000;
constexpr std::uint32_t kAcsCenter = 0x1, kAcsTransparent = 0x2;

enum class ControlClass { Static, Edit, Button, ComboBox, ListView, Animation };

struct ControlTemplate {
  int id;  // -1 for controls the program never addresses
  ControlClass cls;
  const char* text;  // Shift-JIS; for an icon static, nullptr (the icon is iconResource)
  int x, y, width, height;  // dialog units
  std::uint32_t style;      // without WS_CHILD and WS_VISIBLE, which every control has
  std::uint32_t exStyle;
  int iconResource;  // SS_ICON statics: the icon's resource id, else 0
};

struct DialogTemplate {
  int id;
  const char* caption;  // Shift-JIS; empty for none
  const char* fontName;
  int pointSize;
  int x, y, width, height;  // dialog units
  std::uint32_t style;
  std::uint32_t exStyle;
  const ControlTemplate* controls;
  std::size_t controlCount;
};

const DialogTemplate* FindDialogTemplate(int id);
const ControlTemplate* FindControl(const DialogTemplate& dialog, int controlId);

// String table entries (Shift-JIS); nullptr when there is none.
const char* FindString(int id);

// The version shown in the version resource.
constexpr const char* kVersionText = "2.0.0.0";

}  // namespace res

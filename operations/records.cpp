// Operation line tables, fixed lines, defaults and the reading of a line.
#include "operations/records.h"

#include <cstdio>
#include <cstring>
#include <vector>

#include "text/csv.h"
#include "text/sjis.h"

namespace ops {

const char* const kActionNames[kActionKindCount] = {
    "マウスでクリックする",        // MouseClick
    "マウスでダブルクリックする",  // MouseDoubleClick
    "文字を入力する",              // TypeText
    "マウスで右クリックする",      // MouseRightClick
    "テキストを複写する",          // CopyText
    "テキストを貼付する",          // PasteText
    "指定秒間は停止する",          // Pause
    "各種キーを入力する",          // PressKey
    "ショートカットを入力する",    // Shortcut
    "アプリケーションを実行する",  // RunApplication
    "アプリケーションの表示設定",  // ArrangeWindow
};

// Home comes before End although its code is the higher one.
const KeyName kKeyNameTable[kKeyNameCount] = {
    {"PageUp", 0x21}, {"PageDown", 0x22}, {"Home", 0x24},   {"End", 0x23},
    {"BackSpace", 0x08}, {"Space", 0x20}, {"Tab", 0x09},    {"Esc", 0x1B},
    {"Enter", 0x0D},  {"Insert", 0x2D},   {"Delete", 0x2E}, {"←", 0x25},
    {"↑", 0x26},      {"→", 0x27},        {"↓", 0x28},      {"F1", 0x70},
    {"F2", 0x71},     {"F3", 0x72},       {"F4", 0x73},     {"F5", 0x74},
    {"F6", 0x75},     {"F7", 0x76},       {"F8", 0x77},     {"F9", 0x78},
    {"F10", 0x79},    {"F11", 0x7A},      {"F12", 0x7B},
};

// "Win+D" is followed by two blanks, every other shortcut by one.
const char* const kShortcutTable[kShortcutCount] = {
    "Win+D  (画面消去)",   "Win+↓ (最大化解除)", "Win+↑ (最大化設定)", "Alt+F4 (終了)",
    "Ctrl+A (全選)",       "Ctrl+C (複写)",      "Ctrl+X (切取)",      "Ctrl+V (貼付)",
    "Ctrl+F (検索)",       "Ctrl+Z (元戻)",      "Ctrl+S (保存)",
};

const char kBlankOperationLine[] = ",,,マウスでクリックする,,,,,,4";
const char kDefaultOperationLine[] = "画面をクリア,,,ショートカットを入力する,Win+D  (画面消去),,,,,2";
const char kMaskedText[] = "********";
const char kPauseDefaultSeconds[] = "60";

std::string ReadOperationField(const char* line, Field field, std::size_t maxBytes) {
  if (line == nullptr || line[0] == '\0') return std::string();
  std::vector<char> out(maxBytes + 1);
  text::GetCsvItem(field, line, out.data(), out.size());
  return out.data();
}

OperationRecord ReadOperationLine(const char* line) {
  OperationRecord record;
  if (line == nullptr || line[0] == '\0') return record;
  // No field is longer than the line.
  std::vector<char> out(std::strlen(line) + 1);
  for (int f = FieldName; f <= FieldStopSeconds; ++f) {
    text::GetCsvItem(f, line, out.data(), out.size());
    record.field[f] = out.data();
  }
  return record;
}

int FindActionKind(const char* name) {
  if (name == nullptr) return -1;
  for (int i = 0; i < kActionKindCount; ++i) {
    if (std::strcmp(name, kActionNames[i]) == 0) return i;
  }
  return -1;
}

InputMode InputModeOf(int kind) {
  switch (kind) {
    case PressKey:
    case Shortcut:
      return InputFromList;
    case TypeText:
    case Pause:
    case RunApplication:
    case ArrangeWindow:
      return InputFromEdit;
    default:
      return InputNone;
  }
}

bool UsesCoordinates(int kind) {
  return kind != Pause && kind != RunApplication && kind != ArrangeWindow;
}

bool UsesWindowFields(int kind) { return kind == ArrangeWindow; }

bool InputIsFreeText(int kind) {
  return kind == TypeText || kind == RunApplication || kind == ArrangeWindow;
}

void RemoveCommas(char* text) {
  if (text == nullptr) return;
  std::size_t length = std::strlen(text);
  std::size_t i = 0;
  while (i < length) {
    if (text[i] == ',' && text::BeginsCharacter(text, i)) {
      std::memmove(text + i, text + i + 1, length - i);  // the terminator moves too
      --length;
    } else {
      ++i;
    }
  }
}

const char* DefaultStopSeconds(int kind) {
  switch (kind) {
    case RunApplication:
      return "8";
    case ArrangeWindow:
      return "2";
    case Pause:
      return "";
    default:
      return "4";
  }
}

WindowDefaults ArrangeWindowDefaults(int screenWidth, int screenHeight) {
  WindowDefaults d;
  std::snprintf(d.left, sizeof d.left, "%d", screenWidth / 2);
  std::snprintf(d.top, sizeof d.top, "%d", 20);
  std::snprintf(d.width, sizeof d.width, "%d", screenWidth / 2);
  // The division by 3 comes first, so 700 gives 466, not 467.
  std::snprintf(d.height, sizeof d.height, "%d", (screenHeight / 3) * 2);
  return d;
}

}  // namespace ops

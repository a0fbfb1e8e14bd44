// The operation line, as the editor writes it and a runner reads it: ten
// comma-separated fields, the eleven action kinds and the fields each uses,
// the key and shortcut name tables, the fixed lines, the field defaults and
// the reading of a stored line into its fields.
#pragma once

#include <cstddef>
#include <string>

namespace ops {

// Field numbers of an operation line, as GetCsvItem counts them.
enum Field {
  FieldName = 1,
  FieldX = 2,
  FieldY = 3,
  FieldAction = 4,
  FieldInputData = 5,
  FieldWindowLeft = 6,
  FieldWindowTop = 7,
  FieldWindowWidth = 8,
  FieldWindowHeight = 9,
  FieldStopSeconds = 10,
};
constexpr int kFieldCount = 10;

// The ten fields of an operation line; field[0] is unused, so that
// field[FieldName] is field 1.
struct OperationRecord {
  std::string field[kFieldCount + 1];
};

// A stored line read into its ten fields as GetCsvItem gives them: quotes
// undone, blanks and the line end trimmed; a field the line does not have is
// empty, and so is every field of an empty line.
OperationRecord ReadOperationLine(const char* line);
// One field of a stored line, cut to at most `maxBytes` bytes (never half a
// character); empty for an empty line.
std::string ReadOperationField(const char* line, Field field, std::size_t maxBytes);

// An action kind is the position of its name in kActionNames, which is also
// its entry in the action drop-down list. Lines store the name.
enum ActionKind {
  MouseClick = 0,
  MouseDoubleClick = 1,
  TypeText = 2,
  MouseRightClick = 3,
  CopyText = 4,
  PasteText = 5,
  Pause = 6,
  PressKey = 7,
  Shortcut = 8,
  RunApplication = 9,
  ArrangeWindow = 10,
};
constexpr int kActionKindCount = 11;
extern const char* const kActionNames[kActionKindCount];

// The kind whose name is exactly `name` (byte for byte); -1 for none.
int FindActionKind(const char* name);

// Where the input data of an action comes from.
enum InputMode {
  InputNone = 0,      // the action has no input
  InputFromList = 1,  // combo 1081: a key or shortcut name
  InputFromEdit = 2,  // edit 1005: free text or seconds
};
// Kinds outside the table behave as the click actions: coordinates, no input,
// no window fields, stop seconds "4".
InputMode InputModeOf(int kind);
bool UsesCoordinates(int kind);   // fields x and y
bool UsesWindowFields(int kind);  // the four window fields
bool InputIsFreeText(int kind);   // input whose commas are removed

// Keys that PressKey can send: the stored name and its virtual-key code.
struct KeyName {
  const char* name;
  int virtualKey;
};
constexpr int kKeyNameCount = 27;
extern const KeyName kKeyNameTable[kKeyNameCount];

// Shortcuts that Shortcut can send, stored exactly with their glosses.
constexpr int kShortcutCount = 11;
extern const char* const kShortcutTable[kShortcutCount];

// The line that New and Insert create: a click with stop seconds 4.
extern const char kBlankOperationLine[];
// The one line an empty job starts with: clear the screen, stop 2 seconds.
extern const char kDefaultOperationLine[];
// Shown in the list instead of the text of a TypeText row.
extern const char kMaskedText[];

// Removes, in place, every comma that begins a character; commas that are
// the second byte of a two-byte character stay.
void RemoveCommas(char* text);

// Stop seconds used when the field is empty or not all digits.
const char* DefaultStopSeconds(int kind);
// Seconds of a Pause whose input is empty or not all digits.
extern const char kPauseDefaultSeconds[];

// Defaults of the ArrangeWindow window fields for a desktop of the given size.
struct WindowDefaults {
  char left[12];
  char top[12];
  char width[12];
  char height[12];
};
WindowDefaults ArrangeWindowDefaults(int screenWidth, int screenHeight);

}  // namespace ops

// From the editor fields to a stored line, and the editor's arrangement for
// each action kind.
#pragma once

#include <string>

#include "operations/line_text.h"
#include "operations/records.h"
#include "platform/platform.h"

namespace editor {

// The edit that shows each typed field of a line.
struct FieldEdit {
  int controlId;
  int field;
};
extern const FieldEdit kFieldEdits[9];

// The longest line that is ever stored.
constexpr std::size_t kMaxLineBytes = ops::kLongestStoredLine;

// A free-text field as it is written into a line: as typed, unless it holds
// a double quote that the field reader would not give back as typed (blanks
// at its ends aside); then enclosed in double quotes with each quote inside
// doubled, which the reader undoes exactly.
std::string StoredFreeText(const std::string& text);

// Joins the ten fields with commas. The name, and the input when
// `inputIsFreeText`, are written by StoredFreeText; every other field byte
// for byte. When the line would exceed kMaxLineBytes, fields are cut at a
// character boundary until it fits: first `cutFirst` (a field number, 0 for
// none), then the input, the name, the stop seconds and the remaining fields;
// the action is never cut. `fields` is left holding what was stored.
std::string JoinLine(ops::OperationRecord& fields, bool inputIsFreeText, int cutFirst);

// Assembles the line of the edited row from the editor controls, with the
// defaults of each action written back into the controls (selected, so that
// the next key replaces them), and shows any cut text in its control. Sets
// JobModified. `editedColumn` is the field whose change asked for the line
// (0 for none): it is the first to be cut when the line is too long.
std::string BuildLineFromEditor(plat::Window dialog, int editedColumn);

// Shows, hides, labels and empties the editor controls for action `kind`
// and sets inputMode.
void SetupEditorForAction(plat::Window dialog, int kind);

// Puts the stop-seconds caption 1061 and field 1020 on top of the two
// coordinate buttons, by dialog units.
void PlaceStopSecondsFields(plat::Window dialog);

}  // namespace editor

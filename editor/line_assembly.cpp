#include "editor/line_assembly.h"

#include <algorithm>
#include <vector>

#include "editor/state.h"
#include "operations/records.h"
#include "resources/control_ids.h"
#include "text/csv.h"
#include "text/sjis.h"

namespace editor {

const FieldEdit kFieldEdits[9] = {
    {res::kNameEdit, ops::FieldName},           {res::kXEdit, ops::FieldX},
    {res::kYEdit, ops::FieldY},                 {res::kInputEdit, ops::FieldInputData},
    {res::kWindowLeftEdit, ops::FieldWindowLeft}, {res::kWindowTopEdit, ops::FieldWindowTop},
    {res::kWindowWidthEdit, ops::FieldWindowWidth}, {res::kWindowHeightEdit, ops::FieldWindowHeight},
    {res::kStopSecondsEdit, ops::FieldStopSeconds},
};

namespace {

bool HasQuote(const std::string& text) { return text.find('"') != std::string::npos; }

std::string TrimBlanks(const std::string& text) {
  std::size_t begin = 0, end = text.size();
  while (begin < end && text[begin] == ' ') ++begin;
  while (end > begin && text[end - 1] == ' ') --end;
  return text.substr(begin, end - begin);
}

// What the field reader gives back for `text` standing alone as a field.
std::string ReadBack(const std::string& text) {
  if (text.empty()) return text;
  std::vector<char> out(text.size() + 1);
  text::GetCsvItem(1, text.c_str(), out.data(), out.size());
  return std::string(out.data());
}

// Removes the last character (both bytes of a two-byte one).
void DropLastCharacter(std::string& text) {
  std::size_t i = 0, last = 0;
  while (i < text.size()) {
    last = i;
    i += (text::IsLeadByte(static_cast<unsigned char>(text[i])) && i + 1 < text.size()) ? 2 : 1;
  }
  text.resize(last);
}

// The selected entry's text of a drop-down list (its window text).
std::string SelectedEntry(plat::Window dialog, int comboId) {
  int index = plat::ComboGetSelection(dialog, comboId);
  return index >= 0 ? plat::ComboItemText(dialog, comboId, index) : std::string();
}

// Writes a text the program chose into a control without rebuilding the line
// again. A default is selected, so that the next key typed replaces it; a cut
// text gets the caret at its end, where the user goes on typing.
void WriteBack(plat::Window dialog, int controlId, const std::string& text, bool isDefault) {
  {
    ProgramWrites writes;
    plat::SetControlText(dialog, controlId, text.c_str());
  }
  if (isDefault) {
    plat::SelectAllText(dialog, controlId);
  } else {
    plat::PutCaretAtEnd(dialog, controlId);
  }
}

// The name and input edits take 512 characters, up to 1,024 bytes, of which a
// field keeps the first 511 bytes (whole characters).
constexpr std::size_t kWholeEditBuffer = 2 * 512 + 1;
constexpr std::size_t kFieldBuffer = 512;

// A free-text edit's text as a field keeps it; `whole` receives all the edit
// holds.
std::string ReadFreeText(plat::Window dialog, int controlId, std::string* whole) {
  *whole = plat::GetControlText(dialog, controlId, kWholeEditBuffer);
  return text::CutToCharacters(*whole, kFieldBuffer - 1);
}

// The edit that shows field f; 0 for the action, which is chosen from a list.
int ControlOfField(int f) {
  for (const FieldEdit& edit : kFieldEdits) {
    if (edit.field == f) return edit.controlId;
  }
  return 0;
}

void SetLabel(plat::Window dialog, const char* text) { plat::SetControlText(dialog, res::kInputLabel, text); }

void Show(plat::Window dialog, std::initializer_list<int> ids, bool show) {
  for (int id : ids) plat::ShowControl(dialog, id, show);
}

void Empty(plat::Window dialog, std::initializer_list<int> ids) {
  for (int id : ids) plat::SetControlText(dialog, id, "");
}

}  // namespace

namespace {

// The text in double quotes, each quote inside doubled: the field reader
// gives back exactly the text.
std::string Quoted(const std::string& text) {
  std::string stored = "\"";
  for (char c : text) {
    stored += c;
    if (c == '"') stored += '"';
  }
  stored += '"';
  return stored;
}

}  // namespace

std::string StoredFreeText(const std::string& text) {
  if (!HasQuote(text)) return text;
  // An odd number of quotes leaves the reader inside a quoted stretch that
  // swallows the commas of the later fields.
  const bool balanced = std::count(text.begin(), text.end(), '"') % 2 == 0;
  if (balanced && ReadBack(text) == TrimBlanks(text)) return text;
  return Quoted(text);
}

std::string JoinLine(ops::OperationRecord& fields, bool inputIsFreeText, int cutFirst) {
  auto stored = [&](int f) -> std::string {
    if (f == ops::FieldName) {
      // A line that begins with "//" is a comment to the file's reader, which
      // would drop the row at the next load: such a name goes in quotes.
      std::string name = StoredFreeText(fields.field[f]);
      return ops::IsCommentLine(name.c_str()) ? Quoted(fields.field[f]) : name;
    }
    if (f == ops::FieldInputData && inputIsFreeText) return StoredFreeText(fields.field[f]);
    return fields.field[f];
  };
  auto length = [&] {
    std::size_t total = ops::kFieldCount - 1;  // the commas
    for (int f = 1; f <= ops::kFieldCount; ++f) total += stored(f).size();
    return total;
  };
  if (length() > kMaxLineBytes) {
    // The action is never cut, nor an input chosen from a list or a digit
    // input, which are short or valid as they are.
    std::vector<int> order;
    if (cutFirst >= 1 && cutFirst <= ops::kFieldCount) order.push_back(cutFirst);
    for (int f : {5, 1, 10, 2, 3, 6, 7, 8, 9}) order.push_back(f);
    for (int f : order) {
      if (f == ops::FieldAction || (f == ops::FieldInputData && !inputIsFreeText)) continue;
      std::size_t total = length();
      while (total > kMaxLineBytes && !fields.field[f].empty()) {
        DropLastCharacter(fields.field[f]);
        total = length();
      }
      if (total <= kMaxLineBytes) break;
    }
  }
  std::string line;
  for (int f = 1; f <= ops::kFieldCount; ++f) {
    if (f > 1) line += ',';
    line += stored(f);
  }
  return line;
}

std::string BuildLineFromEditor(plat::Window dialog, int editedColumn) {
  ops::OperationRecord f;
  const std::string action = SelectedEntry(dialog, res::kActionCombo);
  const int kind = ops::FindActionKind(action.c_str());

  std::string wholeName, wholeInput;
  std::string name = ReadFreeText(dialog, res::kNameEdit, &wholeName);
  ops::RemoveCommas(&name[0]);
  f.field[ops::FieldName] = name.c_str();
  if (ops::UsesCoordinates(kind)) {
    f.field[ops::FieldX] = plat::GetControlText(dialog, res::kXEdit);
    f.field[ops::FieldY] = plat::GetControlText(dialog, res::kYEdit);
  }
  f.field[ops::FieldAction] = action;

  if (inputMode == ops::InputFromList) {
    f.field[ops::FieldInputData] = SelectedEntry(dialog, res::kInputCombo);
  } else if (inputMode == ops::InputFromEdit) {
    std::string input = ReadFreeText(dialog, res::kInputEdit, &wholeInput);
    if (kind == ops::Pause && !text::IsAllDigits(input.c_str())) {
      input = ops::kPauseDefaultSeconds;
      WriteBack(dialog, res::kInputEdit, input, true);
    }
    if (ops::InputIsFreeText(kind)) ops::RemoveCommas(&input[0]);
    f.field[ops::FieldInputData] = input.c_str();
  }

  if (ops::UsesWindowFields(kind)) {
    const ops::WindowDefaults defaults = ops::ArrangeWindowDefaults(ScreenWidth, ScreenHeight);
    const char* const values[4] = {defaults.left, defaults.top, defaults.width, defaults.height};
    for (int i = 0; i < 4; ++i) {
      std::string value = plat::GetControlText(dialog, res::kWindowEdits[i]);
      if (value.empty()) {
        value = values[i];
        WriteBack(dialog, res::kWindowEdits[i], value, true);
      }
      f.field[ops::FieldWindowLeft + i] = value;
    }
  }

  std::string stop = plat::GetControlText(dialog, res::kStopSecondsEdit);
  if (!text::IsAllDigits(stop.c_str())) {
    std::string replacement = ops::DefaultStopSeconds(kind);
    if (replacement != stop) WriteBack(dialog, res::kStopSecondsEdit, replacement, true);
    stop = replacement;
  }
  f.field[ops::FieldStopSeconds] = stop;

  // What the edits show: a field cut to make the line fit, or one the edit
  // holds more of than a field keeps, shows what was stored.
  ops::OperationRecord before = f;
  if (wholeName.size() >= kFieldBuffer) before.field[ops::FieldName] = wholeName;
  if (wholeInput.size() >= kFieldBuffer) before.field[ops::FieldInputData] = wholeInput;
  const bool freeInput = inputMode == ops::InputFromEdit && ops::InputIsFreeText(kind);
  std::string line = JoinLine(f, freeInput, editedColumn);
  for (int field = 1; field <= ops::kFieldCount; ++field) {
    if (f.field[field] == before.field[field]) continue;
    int id = ControlOfField(field);
    if (id != 0) WriteBack(dialog, id, f.field[field], false);
  }

  MarkJobModified(dialog);
  return line;
}

void PlaceStopSecondsFields(plat::Window dialog) {
  // The template's place of the two coordinate buttons, in dialog units:
  // fixed pixels would put the pair outside the window at the common dialog
  // font sizes.
  const plat::Rect label = plat::DialogUnitsToPixels(dialog, {362, 333, 362 + 24, 333 + 12});
  const plat::Rect field = plat::DialogUnitsToPixels(dialog, {362, 345, 362 + 24, 345 + 12});
  plat::MoveControlToTop(dialog, res::kStopSecondsLabel, label.left, label.top, label.right - label.left,
                         label.bottom - label.top);
  plat::MoveControlToTop(dialog, res::kStopSecondsEdit, field.left, field.top, field.right - field.left,
                         field.bottom - field.top);
}

void SetupEditorForAction(plat::Window dialog, int kind) {
  // The mode is set first, so that the lines rebuilt by the change events of
  // the emptied fields below already read the input from its new place.
  inputMode = ops::InputModeOf(kind);

  Show(dialog, {res::kXYLabel, res::kXEdit, res::kYEdit, res::kStopSecondsLabel, res::kStopSecondsEdit}, true);
  plat::SetControlText(dialog, res::kStopSecondsEdit, "");
  PlaceStopSecondsFields(dialog);
  Show(dialog, {res::kInputLabel, res::kInputCombo, res::kInputEdit}, false);
  Show(dialog,
       {res::kWindowLeftLabel, res::kWindowLeftEdit, res::kWindowTopLabel, res::kWindowTopEdit, res::kWindowWidthLabel,
        res::kWindowWidthEdit, res::kWindowHeightLabel, res::kWindowHeightEdit, res::kCheckPlacementButton,
        res::kTakePlacementButton, res::kTitleSearchButton, res::kAppSearchButton},
       false);

  switch (kind) {
    case ops::TypeText:
      SetLabel(dialog, "入力するデータ値");
      Show(dialog, {res::kInputLabel, res::kInputEdit}, true);
      Empty(dialog, {res::kInputEdit});
      break;
    case ops::Pause:
      SetLabel(dialog, "一時停止する秒");
      Show(dialog, {res::kInputLabel, res::kInputEdit}, true);
      Empty(dialog, {res::kInputEdit, res::kXEdit, res::kYEdit, res::kStopSecondsEdit});
      Show(dialog, {res::kXEdit, res::kYEdit, res::kXYLabel, res::kStopSecondsLabel, res::kStopSecondsEdit}, false);
      break;
    case ops::PressKey:
    case ops::Shortcut:
      SetLabel(dialog, kind == ops::PressKey ? "入力するキー値" : "実行するショートカット");
      Show(dialog, {res::kInputLabel, res::kInputCombo}, true);
      plat::ComboReset(dialog, res::kInputCombo);
      if (kind == ops::PressKey) {
        for (const ops::KeyName& key : ops::kKeyNameTable) plat::ComboAdd(dialog, res::kInputCombo, key.name);
      } else {
        for (const char* shortcut : ops::kShortcutTable) plat::ComboAdd(dialog, res::kInputCombo, shortcut);
      }
      plat::ComboSetSelection(dialog, res::kInputCombo, 0);
      break;
    case ops::RunApplication:
      SetLabel(dialog, "実行するアプリケーション");
      Show(dialog, {res::kInputLabel, res::kInputEdit, res::kAppSearchButton}, true);
      Empty(dialog, {res::kInputEdit, res::kXEdit, res::kYEdit});
      // The stop seconds stay where they are: one field lower they would lie
      // on the "保存して終了" button, which paints over them.
      Show(dialog, {res::kXEdit, res::kYEdit, res::kXYLabel}, false);
      break;
    case ops::ArrangeWindow:
      SetLabel(dialog, "アプリケーションのWindowsタイトル");
      Show(dialog,
           {res::kInputLabel, res::kInputEdit, res::kWindowLeftLabel, res::kWindowTopLabel, res::kWindowWidthLabel,
            res::kWindowHeightLabel, res::kWindowLeftEdit, res::kWindowTopEdit, res::kWindowWidthEdit,
            res::kWindowHeightEdit, res::kCheckPlacementButton, res::kTakePlacementButton, res::kTitleSearchButton},
           true);
      Empty(dialog, {res::kInputEdit, res::kXEdit, res::kYEdit, res::kStopSecondsEdit});
      Show(dialog, {res::kXEdit, res::kYEdit, res::kXYLabel, res::kStopSecondsLabel, res::kStopSecondsEdit}, false);
      break;
    default:
      break;
  }
}

}  // namespace editor

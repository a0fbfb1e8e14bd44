// Clipboard, keyboard state, message boxes, the command line and Reset().
#include <deque>
#include <functional>
#include <set>

#include "platform/headless/internal.h"
#include "platform/headless/runner.h"
#include "platform/headless/pickers.h"

namespace headless {
namespace {

struct SystemState {
  bool clipboardHasText = false;
  std::string clipboard;
  std::vector<std::string> clipboardWrites;
  bool clipboardHeld = false;
  std::uint32_t clipboardSequence = 1;
  std::uint32_t ownAnsiSequence = 0;  // the clipboard's sequence after the last two-format write
  std::deque<plat::OpenFileChoice> openFileAnswers;
  std::vector<OpenFileRecord> openFileDialogs;
  std::set<int> keysDown;  // for the user action being handled
  std::deque<int> queuedAnswers;
  std::vector<MessageBoxRecord> boxes;
  int unanswered = 0;
  std::function<void(const MessageBoxRecord&)> onBox;
  std::string desktopFolder = "C:\\Users\\user\\Desktop";
  std::map<std::string, plat::ShortcutSpec> shortcuts;
};

SystemState& State() {
  static SystemState state;
  return state;
}

}  // namespace

namespace detail {
void ResetSystem() { State() = SystemState(); }
}  // namespace detail

void SetDesktopFolder(const std::string& folder) { State().desktopFolder = folder; }
std::map<std::string, plat::ShortcutSpec> Shortcuts() { return State().shortcuts; }

void Reset() {
  detail::ResetWindows();
  detail::ResetFiles();
  detail::ResetProcesses();
  detail::ResetSystem();
  detail::ResetListCommands();
  detail::ResetRunner();
  ResetPickers();
}

void SetClipboard(const std::string& text) {
  State().clipboardHasText = true;
  State().clipboard = text;
  ++State().clipboardSequence;
}

std::string Clipboard() { return State().clipboardHasText ? State().clipboard : std::string(); }

void ClearClipboard() {
  State().clipboardHasText = false;
  State().clipboard.clear();
  ++State().clipboardSequence;
}

std::vector<std::string> ClipboardWrites() { return State().clipboardWrites; }
void HoldClipboard(bool held) { State().clipboardHeld = held; }
std::uint32_t ClipboardSequence() { return State().clipboardSequence; }
bool ClipboardHasOwnAnsiText() { return State().ownAnsiSequence == State().clipboardSequence; }

void QueueOpenFileAnswer(const plat::OpenFileChoice& answer) { State().openFileAnswers.push_back(answer); }
std::vector<OpenFileRecord> OpenFileDialogs() { return State().openFileDialogs; }

namespace detail {
InputKeys::InputKeys(std::initializer_list<int> keys) { State().keysDown = keys; }
InputKeys::~InputKeys() { State().keysDown.clear(); }
}  // namespace detail

void QueueMessageBoxAnswer(int answer) { State().queuedAnswers.push_back(answer); }
std::vector<MessageBoxRecord> MessageBoxes() { return State().boxes; }
void OnMessageBox(const std::function<void(const MessageBoxRecord&)>& watcher) { State().onBox = watcher; }
int UnansweredMessageBoxes() { return State().unanswered; }

}  // namespace headless

namespace plat {

ClipboardReading ReadClipboard(std::size_t maxBytes) {
  const headless::SystemState& state = headless::State();
  ClipboardReading reading;
  if (state.clipboardHeld) return reading;
  reading.sequence = state.clipboardSequence;
  if (!state.clipboardHasText) return reading;
  reading.text = headless::detail::CutToBuffer(state.clipboard, maxBytes);
  reading.cut = reading.text.size() < state.clipboard.size();
  return reading;
}

std::string ReadClipboardText(std::size_t maxBytes) { return ReadClipboard(maxBytes).text; }

bool WriteClipboardText(const char* text) {
  if (text == nullptr || headless::State().clipboardHeld) return false;
  // Stored as CF_UNICODETEXT; the system converts it back for CF_TEXT.
  headless::SetClipboard(text);
  headless::State().clipboardWrites.push_back(text);
  return true;
}

bool WriteClipboardTextBoth(const char* text) {
  if (!WriteClipboardText(text)) return false;
  headless::State().ownAnsiSequence = headless::State().clipboardSequence;
  return true;
}

OpenFileChoice ChooseFileToOpen(Window owner, const char* filterName, const char* pattern,
                                unsigned flags) {
  headless::SystemState& state = headless::State();
  headless::OpenFileRecord record;
  record.owner = owner;
  record.filterName = filterName != nullptr ? filterName : "";
  record.pattern = pattern != nullptr ? pattern : "";
  record.flags = flags;
  state.openFileDialogs.push_back(record);
  if (state.openFileAnswers.empty()) return {};
  OpenFileChoice answer = state.openFileAnswers.front();
  state.openFileAnswers.pop_front();
  return answer;
}

std::vector<std::string> CommandLineArguments() { return {}; }

ShortcutOutcome CreateDesktopShortcut(const ShortcutSpec& shortcut) {
  headless::SystemState& state = headless::State();
  ShortcutOutcome outcome;
  if (state.desktopFolder.empty()) {
    outcome.result = ShortcutOutcome::NoDesktop;
    return outcome;
  }
  outcome.path = state.desktopFolder + "\\" + shortcut.name + ".lnk";
  // The file stands for the shell's binary form; the record keeps its fields.
  const std::string bytes = "[shortcut]\r\n" + shortcut.target + "\r\n" + shortcut.arguments + "\r\n";
  const int file = OpenFile(outcome.path.c_str(), OpenMode::WriteTruncate);
  const bool written = file >= 0 && WriteFile(file, bytes.data(), bytes.size()) == static_cast<long>(bytes.size());
  if (file >= 0) CloseFile(file);
  if (!written) {
    outcome.result = ShortcutOutcome::NotSaved;
    outcome.error = 0x80070005;  // E_ACCESSDENIED
    return outcome;
  }
  state.shortcuts[outcome.path] = shortcut;
  outcome.result = ShortcutOutcome::Created;
  return outcome;
}

bool KeyDownForCurrentMessage(int virtualKey) {
  return headless::State().keysDown.count(virtualKey) > 0;
}

int ShowMessageBox(Window owner, const char* text, const char* caption, unsigned type) {
  headless::SystemState& state = headless::State();
  headless::MessageBoxRecord record;
  record.owner = owner;
  record.text = text != nullptr ? text : "";
  record.caption = caption != nullptr ? caption : "";
  record.type = type;
  if (!state.queuedAnswers.empty()) {
    record.answer = state.queuedAnswers.front();
    state.queuedAnswers.pop_front();
  } else {
    record.answer = (type & 0xF) == kMbYesNo ? kIdNo : kIdOk;
    ++state.unanswered;
  }
  state.boxes.push_back(record);
  if (state.onBox) state.onBox(record);
  return record.answer;
}

}  // namespace plat

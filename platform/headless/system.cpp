// Clipboard, keyboard state, message boxes and Reset().
#include <deque>
#include <set>

#include "platform/headless/internal.h"

namespace headless {
namespace {

struct SystemState {
  bool clipboardHasText = false;
  std::string clipboard;
  std::vector<std::string> clipboardWrites;
  std::set<int> keysDown;  // for the user action being handled
  std::deque<int> queuedAnswers;
  std::vector<MessageBoxRecord> boxes;
  int unanswered = 0;
};

SystemState& State() {
  static SystemState state;
  return state;
}

}  // namespace

namespace detail {
void ResetSystem() { State() = SystemState(); }
}  // namespace detail

void Reset() {
  detail::ResetWindows();
  detail::ResetFiles();
  detail::ResetProcesses();
  detail::ResetSystem();
}

void SetClipboard(const std::string& text) {
  State().clipboardHasText = true;
  State().clipboard = text;
}

std::string Clipboard() { return State().clipboardHasText ? State().clipboard : std::string(); }

void ClearClipboard() {
  State().clipboardHasText = false;
  State().clipboard.clear();
}

std::vector<std::string> ClipboardWrites() { return State().clipboardWrites; }

namespace detail {
InputKeys::InputKeys(std::initializer_list<int> keys) { State().keysDown = keys; }
InputKeys::~InputKeys() { State().keysDown.clear(); }
}  // namespace detail

void QueueMessageBoxAnswer(int answer) { State().queuedAnswers.push_back(answer); }
std::vector<MessageBoxRecord> MessageBoxes() { return State().boxes; }
int UnansweredMessageBoxes() { return State().unanswered; }

}  // namespace headless

namespace plat {

std::string ReadClipboardText(std::size_t maxBytes) {
  const headless::SystemState& state = headless::State();
  if (!state.clipboardHasText) return std::string();
  return headless::detail::CutToBuffer(state.clipboard, maxBytes);
}

bool WriteClipboardText(const char* text) {
  if (text == nullptr) return false;
  // Stored as CF_UNICODETEXT; the system converts it back for CF_TEXT.
  headless::SetClipboard(text);
  headless::State().clipboardWrites.push_back(text);
  return true;
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
  return record.answer;
}

}  // namespace plat

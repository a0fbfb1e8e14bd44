// The recorder's part of the in-memory platform: the hooked events a test
// feeds, a US keyboard's characters and the password fields a test marks.
#include <map>
#include <set>
#include <utility>

#include "platform/headless/runner.h"
#include "platform/headless/headless.h"

namespace headless {
namespace {

struct RecorderState {
  std::vector<plat::HookedInput> fed;
  std::size_t taken = 0;
  bool refused = false;
  bool installed = false;
  std::map<std::pair<int, bool>, std::string> keyTexts;
  std::set<plat::Window> passwords;
};

RecorderState& State() {
  static RecorderState state;
  return state;
}

}  // namespace

namespace detail {
void ResetRecorder() { State() = RecorderState(); }
}  // namespace detail

void FeedHookedInput(const std::vector<plat::HookedInput>& events) {
  State().fed.insert(State().fed.end(), events.begin(), events.end());
}
void RefuseHooks() { State().refused = true; }
bool HooksInstalled() { return State().installed; }
void SetKeyText(int virtualKey, bool shift, const std::string& text) {
  State().keyTexts[{virtualKey, shift}] = text;
}
void SetPasswordFocus(plat::Window window, bool password) {
  if (password) {
    State().passwords.insert(window);
  } else {
    State().passwords.erase(window);
  }
}

}  // namespace headless

namespace plat {

bool StartInputHooks() {
  headless::State().installed = !headless::State().refused;
  return headless::State().installed;
}

void StopInputHooks() { headless::State().installed = false; }

std::vector<HookedInput> TakeHookedInput() {
  headless::RecorderState& s = headless::State();
  std::vector<HookedInput> out;
  while (s.installed && s.taken < s.fed.size() && s.fed[s.taken].ms <= headless::Now()) out.push_back(s.fed[s.taken++]);
  return out;
}

ClickMetrics SystemClickMetrics() { return ClickMetrics(); }

std::string KeyText(Window, int virtualKey, int, bool shift, bool ctrlAlt, bool* exact) {
  if (exact != nullptr) *exact = true;
  auto it = headless::State().keyTexts.find({virtualKey, shift});
  if (it != headless::State().keyTexts.end()) return it->second;
  if (ctrlAlt) return "";
  if (virtualKey >= 'A' && virtualKey <= 'Z') return std::string(1, static_cast<char>(shift ? virtualKey : virtualKey + 32));
  if (virtualKey >= '0' && virtualKey <= '9' && !shift) return std::string(1, static_cast<char>(virtualKey));
  if (virtualKey == 0x20) return " ";
  if (virtualKey == 0x0D) return "\r";
  if (virtualKey == 0x09) return "\t";
  if (virtualKey == 0x08) return "\b";
  return "";
}

bool FocusIsPassword(Window window) { return headless::State().passwords.count(window) > 0; }

}  // namespace plat

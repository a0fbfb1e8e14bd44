#include "runvane/recorder.h"

#include <map>

#include "jobstore/files.h"
#include "operations/line_text.h"
#include "platform/platform.h"
#include "runvane/invocation.h"
#include "runvane/recording.h"
#include "runvane/runner.h"

namespace runvane {

namespace {

constexpr char kCaption[] = "タヴォレクス 記録";
constexpr unsigned kPollMs = 15;
constexpr unsigned kMessageFlags = plat::kMbOk | plat::kMbTopmost | plat::kMbSetForeground;

int Fail(const std::string& message) {
  plat::ShowMessageBox(plat::kNoWindow, message.c_str(), kCaption, kMessageFlags | plat::kMbIconError);
  return kFailed;
}

// Writes the whole text, or leaves no file: a replacement that stopped half
// way leaves no copies either, since the text is also told to the user.
bool WriteWhole(const std::string& path, const std::string& text) {
  jobstore::SafeFileWriter file(path.c_str());
  if (file.Open() && file.Write(text.data(), text.size()) && file.Commit()) return true;
  for (const std::string& copy : jobstore::StrandedCopiesOf(path.c_str())) plat::DeleteFileAt(copy.c_str());
  return false;
}

class Session {
 public:
  Session() : metrics_(plat::SystemClickMetrics()), self_(plat::CurrentProcessId()), parent_(plat::ParentProcessId()) {}

  // Watches until the user's sign to end.
  void Watch() {
    plat::WatchStopKeys();
    Show();
    bool leftCorner = false;  // the corner ends it once the pointer has been elsewhere
    for (bool ending = false; !ending;) {
      plat::WaitBriefly(kPollMs);
      const std::size_t before = events_.size();
      for (const plat::HookedInput& e : plat::TakeHookedInput()) {
        if (EndsRecording(held_, e)) {
          ending = true;
          break;
        }
        events_.push_back(See(e));
        held_.Note(e);
      }
      int x = -1, y = -1;
      const bool atCorner = plat::PointerPosition(&x, &y) && x == 0 && y == 0;
      if (atCorner && leftCorner) ending = true;
      if (!atCorner) leftCorner = true;
      if (plat::StopKeysPressed()) ending = true;
      if (events_.size() != before && !ending) Show();
    }
    plat::EndStopKeys();
    plat::CloseStatus();
  }

  Recording Result() const { return RecordRows(events_, metrics_); }

 private:
  void Show() {
    const std::string status = RecordingStatus(Result());
    if (status == shown_) return;
    shown_ = status;
    plat::ShowStatusText(status.c_str());
  }

  SeenInput See(const plat::HookedInput& e) {
    using K = plat::HookedInput;
    SeenInput seen;
    seen.input = e;
    const bool key = e.kind == K::KeyDown || e.kind == K::KeyUp;
    const plat::Window w = key ? plat::ForegroundWindow() : plat::TopLevelWindowAt(e.x, e.y);
    seen.window.handle = w;
    if (w != plat::kNoWindow) {
      seen.window.own = IsOwn(plat::WindowProcessId(w));
      if (seen.window.own) return seen;
      seen.window.title = plat::WindowTitle(w);
      seen.window.rect = plat::WindowRect(w);
    }
    HeldModifiers after = held_;
    if (e.kind == K::KeyDown && !after.Note(e)) {
      seen.text = plat::KeyText(w, e.virtualKey, e.scanCode, held_.shift, held_.ctrl && held_.alt, &seen.textExact);
      seen.password = plat::FocusIsPassword(w);
    }
    return seen;
  }

  // The recorder's own windows, the editor that started it and the kit's
  // other programs (the coordinate picker's marker).
  bool IsOwn(std::uint32_t processId) {
    if (processId == 0) return false;
    if (processId == self_ || processId == parent_) return true;
    auto known = kit_.find(processId);
    if (known != kit_.end()) return known->second;
    bool kit = false;
    for (const plat::ProgramWindow& w : plat::ProgramWindows()) {
      if (w.processId == processId && IsKitProgram(w.programName)) kit = true;
    }
    kit_[processId] = kit;
    return kit;
  }

  const plat::ClickMetrics metrics_;
  const std::uint32_t self_, parent_;
  std::vector<SeenInput> events_;
  HeldModifiers held_;
  std::map<std::uint32_t, bool> kit_;
  std::string shown_;
};

}  // namespace

bool IsRecordCommand(const std::vector<std::string>& arguments) {
  if (arguments.empty()) return false;
  std::string first = arguments[0];
  for (char& c : first) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return first == "/record";
}

int RunRecording(const std::vector<std::string>& arguments) {
  plat::UseUnawareCoordinatesForProcess();
  if (arguments.size() != 2 || !IsFullPath(arguments[1]) || arguments[1].back() == '\\') {
    plat::ShowMessageBox(plat::kNoWindow,
                         "操作の記録は、タヴォレクスの操作一覧の右クリックメニュー「操作を記録」（Ctrl+R）から始めてください。",
                         kCaption, kMessageFlags | plat::kMbIconInformation);
    return kRefused;
  }
  if (!plat::AcquireSingleInstance(kRunLockName)) return kBusy;
  const std::string& path = arguments[1];
  // The file must be writable before the user does the work.
  if (!WriteWhole(path, "")) {
    return Fail("操作の記録を始められませんでした。\n\n記録を書き込むファイルを作れません:\n" + path);
  }
  if (!plat::StartInputHooks()) {
    plat::DeleteFileAt(path.c_str());
    return Fail("操作の記録を始められませんでした。\n\nWindows がキーボードとマウスの監視を許しませんでした。");
  }
  Session session;
  session.Watch();
  plat::StopInputHooks();
  const Recording recording = session.Result();
  if (!WriteWhole(path, RecordingFileText(recording))) {
    plat::DeleteFileAt(path.c_str());
    // The user's work is not lost: the editor's list pastes these lines.
    const std::vector<std::string> lines = RecordedLines(recording);
    const bool kept = !lines.empty() && plat::WriteClipboardTextBoth(ops::LinesAsText(lines).c_str());
    return Fail("記録した操作をファイルに書き込めませんでした。\n" + path +
                (kept ? "\n\n記録した操作はクリップボードに入れました。操作一覧に貼り付けられます。" : ""));
  }
  return kAllRan;
}

}  // namespace runvane

#include "runvane/runner.h"

#include <algorithm>

#include "companions/window_titles.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "jobstore/scramble.h"
#include "operations/records.h"
#include "operations/scrambled.h"
#include "platform/platform.h"
#include "runvane/guards.h"
#include "runvane/invocation.h"
#include "runvane/job.h"
#include "runvane/motions.h"
#include "runvane/plan.h"
#include "runvane/run_log.h"
#include "text/sjis.h"

namespace runvane {

namespace {

constexpr char kTestCaption[] = "タヴォレクス 動作試験";
constexpr char kJobCaption[] = "タヴォレクス 処理作業の実行";
constexpr unsigned kSettleMs = 100;          // after a row without stop seconds
constexpr unsigned kStopPollMs = 15;         // how often waits look for the stop sign
constexpr unsigned kWindowWaitMs = 10000;    // ArrangeWindow waits this long for its window
constexpr unsigned kWindowPollMs = 100;
constexpr unsigned kGuardWaitMs = 10000;     // a covered point or a moved focus is waited for this long
constexpr std::size_t kStatusTitleBytes = 40;  // of a window's title in the status window
constexpr unsigned kRepointSettleMs = 30;   // the target sees the pointer again before the press
constexpr unsigned kMessageFlags = plat::kMbOk | plat::kMbTopmost | plat::kMbSetForeground;

std::string FolderOf(const std::string& path) {
  const long slash = jobstore::FindLastChar(path.c_str(), '\\');
  return slash < 0 ? std::string() : path.substr(0, static_cast<std::size_t>(slash) + 1);
}

// How a run speaks to the user: the test run, or a saved job.
struct Voice {
  std::string caption;     // of its message boxes
  std::string subject;     // "動作試験", "処理作業「…」"
  std::string statusWord;  // the status window's first word
  bool quiet = false;      // no message box at all
};

void Tell(const Voice& voice, const std::string& text, unsigned icon) {
  if (!voice.quiet) plat::ShowMessageBox(plat::kNoWindow, text.c_str(), voice.caption.c_str(), kMessageFlags | icon);
}

// The folder of a program's path, its working folder (C:\Apps for
// C:\Apps\a.exe, the root C:\ for C:\a.exe); empty for a bare name.
std::string ProgramFolderOf(const std::string& path) {
  const long slash = jobstore::FindLastChar(path.c_str(), '\\');
  if (slash < 0) return std::string();
  // "C:" alone would be the drive's current folder, not its root.
  const bool driveRoot = slash == 2 && path[1] == ':';
  return path.substr(0, static_cast<std::size_t>(slash) + (driveRoot ? 1 : 0));
}

std::string RowText(int row) { return std::to_string(row) + "行目"; }

// The input the run has pressed and not released yet, so that no key or
// button stays down whatever ends the run.
class HeldInput {
 public:
  // Sends one batch; false when the system inserted fewer events than given.
  bool Send(const std::vector<plat::InputEvent>& events) {
    const std::size_t inserted = plat::SendInputEvents(events);
    for (std::size_t i = 0; i < inserted && i < events.size(); ++i) Note(events[i]);
    return inserted == events.size();
  }
  void ReleaseAll() {
    std::vector<plat::InputEvent> ups(held_.rbegin(), held_.rend());
    held_.clear();
    if (!ups.empty()) plat::SendInputEvents(ups);
  }

 private:
  static bool Same(const plat::InputEvent& a, const plat::InputEvent& b) {
    return a.kind == b.kind && a.virtualKey == b.virtualKey && a.unit == b.unit;
  }
  void Note(const plat::InputEvent& e) {
    using E = plat::InputEvent;
    plat::InputEvent up = e;
    switch (e.kind) {
      case E::LeftDown: up.kind = E::LeftUp; break;
      case E::RightDown: up.kind = E::RightUp; break;
      case E::KeyDown: up.kind = E::KeyUp; break;
      case E::CharDown: up.kind = E::CharUp; break;
      case E::Move: return;
      default: {  // an up: no longer held
        auto it = std::find_if(held_.begin(), held_.end(), [&](const E& h) { return Same(h, e); });
        if (it != held_.end()) held_.erase(it);
        return;
      }
    }
    held_.push_back(up);
  }
  std::vector<plat::InputEvent> held_;  // the release of each, in pressing order
};

enum class Sign { None, StopKeys, Corner };

struct Outcome {
  enum Kind { Done, Stopped, Failed } kind = Done;
  std::string reason;  // Failed
};

class Run {
 public:
  Run(RunLog& log, const Voice& voice) : log_(log), voice_(voice) {}

  // Waits delaySeconds with a countdown, then runs the plan; the exit code.
  int Go(const Job& job, int delaySeconds) {
    const std::vector<Segment> plan = PlanRun(static_cast<int>(job.rows.size()), job.repeats);
    const long long total = TickedStepCount(plan, job.rows);
    long long done = 0;
    plat::WatchStopKeys();
    int code = CountDown(delaySeconds);
    for (const Segment& segment : plan) {
      // A range without a ticked row does nothing, however often it repeats.
      if (TickedStepCount({segment}, job.rows) == 0) continue;
      for (long round = 0; round < segment.count && code == kAllRan; ++round) {
        for (int row = segment.from; row <= segment.to && code == kAllRan; ++row) {
          const Step& step = job.rows[static_cast<std::size_t>(row - 1)];
          if (!step.ticked) continue;
          status_ = voice_.statusWord + " " + RowText(row) + " (" + std::to_string(++done) + "/" +
                    std::to_string(total) + ")　Shift+Esc で停止";
          // The first row's input goes out before the window is made.
          if (done > 1) ShowStatus();
          code = Finish(step, RunStep(step));
        }
      }
      if (code != kAllRan) break;
    }
    input_.ReleaseAll();
    plat::EndStopKeys();
    plat::CloseStatus();
    if (code == kFailed) Tell(voice_, failure_, plat::kMbIconError);
    return code;
  }

 private:
  // The wait before the first input, shown second by second; kStopped when
  // the user stopped it.
  int CountDown(int seconds) {
    for (int left = seconds; left > 0; --left) {
      status_ = voice_.statusWord + " あと " + std::to_string(left) + " 秒で開始　Shift+Esc で中止";
      if (!Wait(1000)) {
        log_.Line("-", "-", StopText() + " 開始前の待ち時間");
        return kStopped;
      }
    }
    return kAllRan;
  }

  std::string StopText() const {
    return sign_ == Sign::Corner ? "停止（ポインターが画面の左上隅）" : "停止（Shift+Esc）";
  }

  Sign StopSign() {
    if (sign_ != Sign::None) return sign_;
    int x = -1, y = -1;
    if (plat::StopKeysPressed()) {
      sign_ = Sign::StopKeys;
    } else if (plat::PointerPosition(&x, &y) && x == 0 && y == 0) {
      sign_ = Sign::Corner;
    }
    return sign_;
  }

  void ShowStatus() {
    if (status_.empty()) return;
    plat::ShowStatusText(status_.c_str());
    shown_ = status_;
    status_.clear();
  }

  // Waits, looking for the stop sign all along; false when it came.
  bool Wait(long long ms) {
    ShowStatus();
    const std::uint64_t end = plat::Milliseconds() + static_cast<std::uint64_t>(std::max(0LL, ms));
    for (;;) {
      if (StopSign() != Sign::None) return false;
      const std::uint64_t now = plat::Milliseconds();
      if (now >= end) return true;
      plat::WaitBriefly(static_cast<unsigned>(std::min<std::uint64_t>(end - now, kStopPollMs)));
    }
  }

  Outcome Stopped() { return {Outcome::Stopped, ""}; }
  static Outcome Failed(const std::string& reason) { return {Outcome::Failed, reason}; }

  Outcome RunStep(const Step& step) {
    if (StopSign() != Sign::None) return Stopped();
    switch (step.kind) {
      case ops::Pause:
        if (!Wait(step.pauseMs)) return Stopped();
        break;
      case ops::RunApplication: {
        const std::string folder = ProgramFolderOf(step.text);
        if (!plat::OpenAsExplorerDoes(step.text.c_str(), folder.c_str())) {
          return Failed("「" + step.text + "」を開けませんでした。");
        }
        break;
      }
      case ops::ArrangeWindow: {
        Outcome placed = Arrange(step);
        if (placed.kind != Outcome::Done) return placed;
        break;
      }
      default:
        target_ = WindowFacts();
        if (ChecksFocusFirst(step)) {
          Outcome focused = GuardFocus();
          if (focused.kind != Outcome::Done) return focused;
        }
        for (const Motion& m : MotionsFor(step)) {
          if (m.kind == Motion::Wait) {
            if (!Wait(m.ms)) return Stopped();
          } else {
            if (StopSign() != Sign::None) return Stopped();
            if (step.hasPoint && PressesButton(m.events)) {
              Outcome clear = GuardClick(step);
              if (clear.kind != Outcome::Done) return clear;
            }
            if (!input_.Send(m.events)) {
              return Failed("Windows が入力を受け付けませんでした（管理者として実行中のプログラムへの入力など）。");
            }
          }
        }
        break;
    }
    // A pause needs no settling after it.
    const long long after = step.hasStop ? step.stopMs : step.kind == ops::Pause ? 0 : kSettleMs;
    if (LeavesFocusToSystem(step.kind)) {
      if (!Wait(after)) return Stopped();
      focus_ = {FactsOf(plat::ForegroundWindow())};
      return {};
    }
    // The step's input has settled: the keys of a later step may go where
    // the focus is now, or to the window this step's input went to.
    const long long settle = std::min<long long>(after, kSettleMs);
    if (!Wait(settle)) return Stopped();
    focus_ = {FactsOf(plat::ForegroundWindow()), target_};
    return Wait(after - settle) ? Outcome{} : Stopped();
  }

  static std::string Named(const WindowFacts& window) {
    return window.title.empty() ? "（タイトルなし）" : "「" + window.title + "」";
  }
  static std::string PointText(const Step& step) {
    return "(" + std::to_string(step.x) + ", " + std::to_string(step.y) + ")";
  }

  // Shows what a guard waits for; the step's own status text comes back after.
  void ShowWaiting(const std::string& text, std::string* resume) {
    if (resume->empty()) *resume = status_.empty() ? shown_ : status_;
    const std::string waiting = text + "　Shift+Esc で停止";
    if (waiting == shown_ && status_.empty()) return;
    status_ = waiting;
    ShowStatus();
  }
  void Resume(const std::string& resume) {
    if (resume.empty()) return;
    status_ = resume;
    ShowStatus();
  }

  // Before pressing at the step's point: a window the job placed there must
  // be under it. Waits for the point to be clear, then points at it again.
  Outcome GuardClick(const Step& step) {
    const Placement* placed = placements_.At(step.x, step.y);
    const std::uint64_t start = plat::Milliseconds();
    std::string resume;
    for (;;) {
      const WindowFacts at = FactsOf(plat::TopLevelWindowAt(step.x, step.y));
      const bool exists = placed != nullptr && plat::WindowExists(placed->window.window);
      const ClickCheck check = CheckClick(placed, exists, at, self_);
      if (check == ClickCheck::Unchecked || check == ClickCheck::Clear) {
        target_ = at;
        if (!resume.empty()) {
          Resume(resume);
          plat::InputEvent move;  // the pointer may have been moved meanwhile
          move.x = step.x;
          move.y = step.y;
          if (!input_.Send({move})) {
            return Failed("Windows が入力を受け付けませんでした（管理者として実行中のプログラムへの入力など）。");
          }
          if (!Wait(kRepointSettleMs)) return Stopped();
        }
        return {};
      }
      const WindowFacts placedNow = exists ? FactsOf(placed->window.window) : placed->window;
      if (check == ClickCheck::Closed) {
        return Failed("配置したウィンドウ" + Named(placedNow) + "が閉じられているため、その位置 " + PointText(step) +
                      " はクリックしません。");
      }
      if (plat::Milliseconds() - start >= kGuardWaitMs) {
        const std::string wait = std::to_string(kGuardWaitMs / 1000) + " 秒待っても";
        if (at.window == plat::kNoWindow) {
          return Failed("クリックする位置 " + PointText(step) + " に、配置したウィンドウ" + Named(placedNow) +
                        "がありません（" + wait + "戻りませんでした）。");
        }
        return Failed("クリックする位置 " + PointText(step) + " を別のウィンドウ" + Named(at) +
                      "がふさいでいて、配置したウィンドウ" + Named(placedNow) + "をクリックできません（" + wait +
                      "空きませんでした）。");
      }
      WindowFacts shortTitle = at;
      shortTitle.title = text::CutToCharacters(at.title, kStatusTitleBytes);
      ShowWaiting(at.window == plat::kNoWindow
                      ? "クリックする位置に配置したウィンドウが戻るのを待っています"
                      : Named(shortTitle) + "がクリックする位置をふさいでいます。空くのを待っています",
                  &resume);
      if (!Wait(kWindowPollMs)) return Stopped();
    }
  }

  // Before keys sent without a click first: the focus must be where the
  // last step left it. Waits for it to come back.
  Outcome GuardFocus() {
    const std::uint64_t start = plat::Milliseconds();
    std::string resume;
    for (;;) {
      const WindowFacts foreground = FactsOf(plat::ForegroundWindow());
      if (!FocusMoved(focus_, foreground, self_)) {
        target_ = foreground;
        Resume(resume);
        return {};
      }
      WindowFacts expected;
      for (const WindowFacts& w : focus_) {
        if (w.window != plat::kNoWindow && expected.window == plat::kNoWindow) expected = w;
      }
      if (plat::Milliseconds() - start >= kGuardWaitMs) {
        const std::string taken = foreground.window == plat::kNoWindow
                                      ? "キーの入力先のウィンドウがなくなりました。"
                                      : "キーの入力先が別のウィンドウ" + Named(foreground) + "に移りました。";
        return Failed(taken + Named(expected) + "に戻るのを " + std::to_string(kGuardWaitMs / 1000) +
                      " 秒待ちましたが、戻りませんでした。キーは送っていません。");
      }
      expected.title = text::CutToCharacters(expected.title, kStatusTitleBytes);
      ShowWaiting("キーの入力先が" + Named(expected) + "に戻るのを待っています", &resume);
      if (!Wait(kWindowPollMs)) return Stopped();
    }
  }

  // The window is looked for as the editor's placement buttons do.
  Outcome Arrange(const Step& step) {
    const std::uint64_t start = plat::Milliseconds();
    plat::Window window = plat::kNoWindow;
    while ((window = companions::FindPlacedWindow(step.text.c_str())) == plat::kNoWindow) {
      if (plat::Milliseconds() - start >= kWindowWaitMs) {
        return Failed("タイトルに「" + step.text + "」を含むウィンドウが " + std::to_string(kWindowWaitMs / 1000) +
                      " 秒待っても見つかりませんでした。");
      }
      if (!Wait(kWindowPollMs)) return Stopped();
    }
    if (!plat::ArrangeTopLevelWindow(window, step.left, step.top, step.width, step.height)) {
      return Failed("タイトルに「" + step.text + "」を含むウィンドウを動かせませんでした。");
    }
    placements_.Add({FactsOf(window), {step.left, step.top, step.left + step.width, step.top + step.height}},
                    plat::WindowExists);
    return {};
  }

  // Logs the step; the exit code it leads to (kAllRan: go on).
  int Finish(const Step& step, const Outcome& outcome) {
    const std::string action = ops::kActionNames[step.kind];
    switch (outcome.kind) {
      case Outcome::Done:
        log_.Line(RowText(step.row), action, "完了");
        return kAllRan;
      case Outcome::Stopped:
        log_.Line(RowText(step.row), action, StopText());
        return kStopped;
      case Outcome::Failed:
        break;
    }
    log_.Line(RowText(step.row), action, "中止: " + outcome.reason);
    std::string where = RowText(step.row);
    if (!step.name.empty()) where += "「" + step.name + "」";
    failure_ = voice_.subject + "を途中で中止しました。\n\n" + where + "（" + action + "）:\n" + outcome.reason +
               "\n\nこの行から後の操作は実行していません。";
    return kFailed;
  }

  RunLog& log_;
  const Voice& voice_;
  HeldInput input_;
  Sign sign_ = Sign::None;
  std::string status_;   // the status text not shown yet
  std::string shown_;    // the status text shown last
  const std::uint32_t self_ = plat::CurrentProcessId();
  Placements placements_;  // the windows the job placed
  FocusExpectation focus_;  // where the keys of the next step may go
  WindowFacts target_;      // the window the step's input went to
  std::string failure_;  // the message of a run that failed
};

int Refuse(RunLog& log, const Voice& voice, const Refusal& refusal) {
  std::string where;
  switch (refusal.where) {
    case Refusal::File:
      break;
    case Refusal::Row:
      where = RowText(refusal.line);
      if (!refusal.name.empty()) where += "「" + refusal.name + "」";
      break;
    case Refusal::RepeatLine:
      where = "繰返し処理の設定（" + RowText(refusal.line) + "）";
      break;
  }
  log.Line(refusal.where == Refusal::Row ? RowText(refusal.line) : "-", "-", "実行しません: " + refusal.reason);
  Tell(voice,
       voice.subject + "を始められませんでした。\n\n" + (where.empty() ? "" : where + ":\n") + refusal.reason +
           "\n\n操作は何も実行していません。",
       plat::kMbIconWarning);
  return kRefused;
}

int Refuse(RunLog& log, const Voice& voice, const std::string& reason) {
  Refusal refusal;
  refusal.reason = reason;
  return Refuse(log, voice, refusal);
}

std::string Quoted(const std::string& text) { return "\"" + text + "\""; }

// The saved job's lines as a test-run text: every line the editor's list
// holds, each a ticked row. False with the reason when they cannot be read.
bool ReadSavedLines(const std::string& folder, std::string* text, std::string* reason) {
  const std::string plain = folder + "\\KeyRecord.def", scrambled = plain + ".psw";
  std::string bytes;
  switch (jobstore::RecordFormToLoad(plain.c_str(), scrambled.c_str())) {
    case jobstore::RecordForm::None:
      *reason = "処理作業の操作のファイルがありません。\n" + plain;
      return false;
    case jobstore::RecordForm::Plain:
      if (ops::ReadFileBytes(plain.c_str(), &bytes)) break;
      *reason = "処理作業の操作のファイルを読み込めませんでした。\n" + plain;
      return false;
    case jobstore::RecordForm::Scrambled:
      if (ops::ReadScrambledFile(scrambled.c_str(), &bytes)) break;
      *reason = "処理作業の操作のファイルを読み込めませんでした。\n" + scrambled;
      return false;
  }
  text->clear();
  for (const std::string& line : jobstore::DefinitionLinesOf(bytes)) {
    *text += line;
    if (line.back() != '\n') *text += "\r\n";
  }
  return true;
}

// Checks and runs a job from its lines and its repeat file; the exit code.
int RunJob(RunLog& log, const Voice& voice, const std::string& text, const std::string& repeatPath,
           int delaySeconds) {
  Refusal refusal;
  std::string repeat;
  // Without a repeat file nothing repeats, as when the editor loads a job.
  if (plat::PathExists(repeatPath.c_str()) && !ops::ReadFileBytes(repeatPath.c_str(), &repeat)) {
    return Refuse(log, voice, "繰返し処理の設定ファイルを読み込めませんでした。\n" + repeatPath);
  }
  Screen screen;
  screen.bounds = plat::VirtualScreen();
  const plat::Rect desktop = plat::DesktopRect();
  screen.primaryWidth = desktop.right - desktop.left;
  screen.primaryHeight = desktop.bottom - desktop.top;
  Job job;
  if (!ReadJob(text, repeat, screen, &job, &refusal)) return Refuse(log, voice, refusal);
  return Run(log, voice).Go(job, delaySeconds);
}

int RunTest(const Invocation& call) {
  const Voice voice{kTestCaption, "動作試験", "動作試験中", call.quiet};
  const std::string folder = FolderOf(call.inspectPath);
  RunLog log(folder.empty() ? std::string() : folder + kLogName);
  log.Header("動作試験 " + Quoted(call.inspectPath) + " " + Quoted(call.repeatPath));
  std::string text;
  const int code = ops::ReadScrambledFile((call.inspectPath + ".psw").c_str(), &text)
                       ? RunJob(log, voice, text, call.repeatPath, 0)
                       : Refuse(log, voice, "動作試験のファイルを読み込めませんでした。\n" + call.inspectPath + ".psw");
  log.Line("-", "-", "終了: 終了コード " + std::to_string(code));
  return code;
}

int RunSaved(const Invocation& call) {
  const std::string name = call.job.empty() ? std::string() : "処理作業「" + call.job + "」";
  const Voice voice{kJobCaption, name.empty() ? "処理作業" : name, "実行中", call.quiet};
  jobstore::EnsureModulePath();
  const std::string folder = call.jobIsFolder ? call.job : jobstore::ProgramFolder() + call.job;
  const bool found = !call.job.empty() && plat::IsDirectory(folder.c_str());
  // A job that is not there logs its refusal beside the program.
  RunLog log(found ? folder + "\\" + kLogName : jobstore::ProgramFolder() + kLogName);
  log.Header((name.empty() ? std::string("処理作業") : name) + (call.options.empty() ? "" : " " + call.options));
  int code = kRefused;
  std::string text, reason;
  if (call.kind == Invocation::Refused) {
    code = Refuse(log, voice, call.reason);
  } else if (!found) {
    code = Refuse(log, voice, name + "が見つかりません。\n" + folder);
  } else if (!ReadSavedLines(folder, &text, &reason)) {
    code = Refuse(log, voice, reason);
  } else {
    code = RunJob(log, voice, text, folder + "\\KeyRepeat.def", call.delaySeconds);
  }
  log.Line("-", "-", "終了: 終了コード " + std::to_string(code));
  return code;
}

}  // namespace

int RunCommandLine(const std::vector<std::string>& arguments) {
  plat::UseUnawareCoordinatesForProcess();
  const Invocation call = ReadInvocation(arguments);
  // A second run would click into the first one's windows: it sends nothing
  // and writes nothing, not even to the log the first run appends to.
  if (!plat::AcquireSingleInstance(kRunLockName)) {
    Tell({call.kind == Invocation::TestRun ? kTestCaption : kJobCaption, "", "", call.quiet},
         "別の処理作業か動作試験を実行中のため、実行しませんでした。\n\n"
         "実行中のものが終わってから、もう一度始めてください。",
         plat::kMbIconWarning);
    return kBusy;
  }
  return call.kind == Invocation::TestRun ? RunTest(call) : RunSaved(call);
}

}  // namespace runvane

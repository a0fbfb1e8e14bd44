// The real runner Runvane.exe under Wine, started with the editor's command
// line on prepared job files, once through the editor's "選択した操作を実行",
// with a saved job's name and options, and as the recorder the editor starts. Its input goes to InputTarget.exe windows
// (tests/e2e/target), which log what they receive: clicks with their points,
// characters, key presses and their placement.
//
// Every coordinate here is the one a program without DPI awareness sees; on a
// scaled display (the 144 DPI run) the runner must land on the same points.
#include "tests/e2e/harness.h"

#include <commctrl.h>

#include <algorithm>
#include <sstream>

namespace e2e {
namespace {

constexpr wchar_t kCaption[] = L"タヴォレクス 動作試験";

std::wstring FolderOf(const std::wstring& path) { return path.substr(0, path.find_last_of(L'\\')); }

// An InputTarget.exe window and its log.
class Target {
 public:
  bool Start(const std::wstring& log, const std::wstring& title, RECT r, const std::wstring& extra = L"") {
    log_ = log;
    title_ = title;
    std::wstringstream command;
    command << L"\"" << GetConfig().standins << L"\\InputTarget.exe\" \"--log=" << log << L"\" \"--title=" << title
            << L"\" --rect=" << r.left << L"," << r.top << L"," << r.right - r.left << L"," << r.bottom - r.top
            << L" " << extra;
    process_ = Process::Run(command.str(), false);
    if (!process_.started()) return false;
    window_ = WaitForWindow(process_, L"TavolexInputTarget", title, 15000);
    return window_ != nullptr && WaitUntil([&] { return Log().find(" ready ") != std::string::npos; }, 5000);
  }
  HWND window() const { return window_; }
  void Close() { process_.Kill(); }
  std::string Log() const {
    std::string bytes;
    ReadWholeFile(log_, bytes);
    return bytes;
  }
  // The logged events that start with one of the prefixes, without their
  // times; key presses of VK_PACKET (how typed characters arrive) left out.
  std::vector<std::string> Events(std::initializer_list<const char*> prefixes) const {
    std::vector<std::string> out;
    std::istringstream lines(Log());
    for (std::string line; std::getline(lines, line);) {
      const std::string event = line.substr(line.find(' ') + 1);
      if (event.find(" 0xE7 ") != std::string::npos) continue;
      for (const char* p : prefixes)
        if (event.rfind(p, 0) == 0) out.push_back(event);
    }
    return out;
  }
  // The typed text: the characters from U+0020 on.
  std::wstring Text() const {
    std::wstring text;
    for (const std::string& e : Events({"char "})) {
      const wchar_t unit = static_cast<wchar_t>(std::stoul(e.substr(5), nullptr, 16));
      if (unit >= 0x20) text += unit;
    }
    return text;
  }

 private:
  Process process_;
  std::wstring log_, title_;
  HWND window_ = nullptr;
};

std::string Joined(const std::vector<std::string>& events) {
  std::string out;
  for (const std::string& e : events) out += e + "\n";
  return out;
}

// The display's pixels are not those this program sees (a scaled display).
bool DisplayScaled() {
  DEVMODEW mode = {};
  mode.dmSize = sizeof mode;
  return EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode) &&
         static_cast<int>(mode.dmPelsWidth) != GetSystemMetrics(SM_CXSCREEN);
}

// The runner's status window, when it shows.
HWND StatusWindowOf(DWORD processId) {
  for (HWND w : TopLevelWindowsOf(processId, true))
    if (ClassOf(w) == L"TavolexTestRunStatus") return w;
  return nullptr;
}

// Nothing that the runner presses is left down.
void ExpectNoKeyDown() {
  for (int vk : {VK_LBUTTON, VK_RBUTTON, VK_CONTROL, VK_MENU, VK_SHIFT, VK_LWIN, VK_F5, int{'A'}, int{'C'}, int{'V'}})
    EXPECT_EQ(GetAsyncKeyState(vk) & 0x8000, 0) << "key " << vk << " is down";
}

// Ends the input targets, also those a job started.
void EndTargets() {
  for (const ProcessEntry& p : ListProcesses()) {
    if (_wcsicmp(p.exeName.c_str(), L"InputTarget.exe") != 0) continue;
    if (HANDLE h = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, p.id)) {
      TerminateProcess(h, 99);
      WaitForSingleObject(h, 5000);
      CloseHandle(h);
    }
  }
}

class Runner : public EditorTest {
 protected:
  void TearDown() override {
    EndTargets();
    EditorTest::TearDown();
  }
  void SetUp() override {
    EditorTest::SetUp();
    MakeFolder(false);
    runner_ = folder_.Path(L"Runvane.exe");
    ASSERT_TRUE(CopyFileW((FolderOf(GetConfig().tavolex) + L"\\Runvane.exe").c_str(), runner_.c_str(), FALSE));
    job_ = folder_.Path(L"処理作業");
    ASSERT_TRUE(CreateDirectoryW(job_.c_str(), nullptr));
  }

  // Writes the job's test-run file (scrambled) and repeat file and starts the
  // runner as the editor does.
  bool StartRun(const std::string& lines, const std::string& repeat = "\r\n\r\n\r\n") {
    if (!WriteBytes(job_ + L"\\KeyInspec.def.psw", SwapNibbles(lines)) ||
        !WriteBytes(job_ + L"\\KeyRepeat.def", repeat)) {
      return false;
    }
    DeleteFileW((job_ + L"\\Runvane.log").c_str());
    started_ = GetTickCount();
    run_ = Process::Run(
        L"\"" + runner_ + L"\" \"" + job_ + L"\\KeyInspec.def\" \"" + job_ + L"\\KeyRepeat.def\"", true);
    return run_.started();
  }
  // Waits for the end of the run; its exit code (STILL_ACTIVE when it did not end).
  DWORD Finish(DWORD ms = 60000) {
    run_.WaitForExit(ms);
    return run_.ExitCode();
  }
  // The runner's message box: its text, after it was answered with Enter.
  std::wstring AnswerMessage(const std::wstring& screenshot) {
    HWND box = WaitForWindow(run_, L"#32770", kCaption, 20000);
    if (box == nullptr) return L"<no message box>";
    Sleep(300);  // painted
    SaveScreenshot(box, screenshot);
    const std::wstring text = MessageBoxText(box);
    BringToFront(box);
    PressKey(VK_RETURN);
    return text;
  }
  // Runvane.log as it is (Shift-JIS).
  std::string RunLog() {
    std::string bytes;
    ReadWholeFile(job_ + L"\\Runvane.log", bytes);
    return bytes;
  }
  std::string RunLogUtf8() { return standin::ToUtf8(FromShiftJis(RunLog())); }
  // Starts the runner on a saved job with the options.
  Process StartSaved(const std::wstring& arguments) {
    return Process::Run(L"\"" + runner_ + L"\" " + arguments, true);
  }
  std::wstring TargetLog(const wchar_t* name) { return folder_.Path(name); }
  HWND StatusWindow() { return StatusWindowOf(run_.id()); }

  // A program folder with the editor, the stand-ins of the pickers and the
  // real runner, and a job of these lines.
  void PutTheRealRunnerBesideTheEditor(const std::wstring& job, const std::string& record) {
    MakeFolder(true);
    ASSERT_TRUE(CopyFileW((FolderOf(GetConfig().tavolex) + L"\\Runvane.exe").c_str(), runner_.c_str(), FALSE));
    ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(job, {{L"KeyRecord.def", record}}));
  }
  // The editor in front with its list focused, its first row selected.
  void FocusTheList(HWND dialog) {
    ASSERT_TRUE(BringToFront(dialog));
    ClickControl(dialog, 1000);
    PressKey(VK_HOME);
  }

  std::wstring runner_, job_;
  Process run_;
  DWORD started_ = 0;
};

std::string Row(const std::string& fields) { return fields + "\r\n"; }

std::string Point(int x, int y) { return std::to_string(x) + "," + std::to_string(y); }

TEST_F(Runner, EveryInputActionReachesTheTargetAsSent) {
  Target target, corner;
  ASSERT_TRUE(target.Start(TargetLog(L"target.log"), L"入力先", {200, 150, 700, 550}));
  // A second window under the status window in the lower right corner: the
  // click reaches it.
  RECT work = {};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ASSERT_TRUE(corner.Start(TargetLog(L"corner.log"), L"右下",
                           {work.right - 300, work.bottom - 150, work.right, work.bottom}));
  ASSERT_TRUE(BringToFront(target.window()));

  const std::string text = "日本語のテキスト ①～③ abc";
  const std::string lines =
      Row("押す,300,250,マウスでクリックする,,,,,,") +
      Row("二度,320,260,マウスでダブルクリックする,,,,,,") +
      Row("右,340,270,マウスで右クリックする,,,,,,") +
      Row("入力,360,280,文字を入力する," + text + ",,,,,") +
      Row("左へ,,,各種キーを入力する,←,,,,,") +
      Row("") +
      Row("改行,,,各種キーを入力する,Enter,,,,,") +
      Row("複写,,,テキストを複写する,,,,,,") +
      Row("貼付,380,290,テキストを貼付する,,,,,,") +
      Row("消去,,,ショートカットを入力する,Win+D  (画面消去),,,,,") +
      Row("閉じる,,,ショートカットを入力する,Alt+F4 (終了),,,,,") +
      Row("右下," + Point(work.right - 20, work.bottom - 20) + ",マウスでクリックする,,,,,,");
  ASSERT_TRUE(StartRun(lines, "5,5,3\r\n\r\n\r\n"));
  EXPECT_EQ(Finish(), 0u) << RunLogUtf8();

  EXPECT_EQ(Joined(target.Events({"down", "up", "dblclk"})),
            "down L 300 250\nup L 300 250\n"
            "down L 320 260\nup L 320 260\ndblclk L 320 260\nup L 320 260\n"
            "down R 340 270\nup R 340 270\n"
            "down L 360 280\nup L 360 280\n"
            "down L 380 290\nup L 380 290\n");
  // Without a Windows shell to take Win+D, the D of it arrives as a character.
  EXPECT_EQ(target.Text(), FromShiftJis(text) + L"d");
  EXPECT_EQ(Joined(target.Events({"keydown", "keyup"})),
            // ← three times (rows 5 to 5 repeated), Enter
            "keydown 0x25 ext\nkeyup 0x25 ext\nkeydown 0x25 ext\nkeyup 0x25 ext\nkeydown 0x25 ext\nkeyup 0x25 ext\n"
            "keydown 0x0D -\nkeyup 0x0D -\n"
            // Ctrl+A, Ctrl+C, then Ctrl+V
            "keydown 0x11 -\nkeydown 0x41 -\nkeyup 0x41 -\nkeyup 0x11 -\n"
            "keydown 0x11 -\nkeydown 0x43 -\nkeyup 0x43 -\nkeyup 0x11 -\n"
            "keydown 0x11 -\nkeydown 0x56 -\nkeyup 0x56 -\nkeyup 0x11 -\n"
            // Win+D and Alt+F4: pressed in order, released in reverse order
            "keydown 0x5B ext\nkeydown 0x44 -\nkeyup 0x44 -\nkeyup 0x5B ext\n"
            "keydown 0x12 -\nkeydown 0x73 -\nkeyup 0x73 -\nkeyup 0x12 -\n");
  // Wine on a scaled display hit-tests the windows of programs without DPI
  // awareness against their unscaled rectangles: there, no click reaches the
  // lower right part of the screen, whatever sends it.
  if (!DisplayScaled()) {
    const std::string point = std::to_string(work.right - 20) + " " + std::to_string(work.bottom - 20);
    EXPECT_EQ(Joined(corner.Events({"down", "up"})), "down L " + point + "\nup L " + point + "\n")
        << "the status window took the click";
  }
  ExpectNoKeyDown();
  // The log in the job folder: a line per step (row 5 three times).
  const std::string log = RunLog();
  EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 2 + 13) << RunLogUtf8();
  EXPECT_NE(log.find("\t12行目\tマウスでクリックする\t完了"), std::string::npos) << RunLogUtf8();
}

TEST_F(Runner, ProgramsStartInTheirFolderAndWindowsArePlaced) {
  // A program in a folder of its own (the target logs beside itself when
  // started without arguments), and a maximised window to place.
  const std::wstring apps = folder_.Path(L"アプリ");
  ASSERT_TRUE(CreateDirectoryW(apps.c_str(), nullptr));
  ASSERT_TRUE(CopyFileW((GetConfig().standins + L"\\InputTarget.exe").c_str(), (apps + L"\\InputTarget.exe").c_str(),
                        FALSE));
  Target placed;
  ASSERT_TRUE(placed.Start(TargetLog(L"placed.log"), L"配置する窓", {300, 300, 700, 600}, L"--show=max"));

  const std::string lines =
      Row("開く,,,アプリケーションを実行する," + ToShiftJis(apps) + "\\InputTarget.exe,,,,,1") +
      Row("置く,,,アプリケーションの表示設定,INPUT target,50,60,400,300,") +
      Row("戻す,,,アプリケーションの表示設定,配置する,-8,0,640,480,");
  ASSERT_TRUE(StartRun(lines));
  EXPECT_EQ(Finish(), 0u) << RunLogUtf8();

  std::string started;
  ASSERT_TRUE(ReadWholeFile(apps + L"\\target-log.txt", started)) << "the program was not started";
  wchar_t full[MAX_PATH * 4] = {};
  GetFullPathNameW(apps.c_str(), MAX_PATH * 4, full, nullptr);
  EXPECT_NE(started.find(" ready Input target in " + standin::ToUtf8(full) + "\n"), std::string::npos) << started;
  EXPECT_NE(started.find(" place 50 60 400 300 normal\n"), std::string::npos) << started;
  const std::vector<std::string> places = placed.Events({"place"});
  ASSERT_FALSE(places.empty());
  EXPECT_EQ(places.back(), "place -8 0 640 480 normal") << Joined(places);
}

TEST_F(Runner, ShiftEscOrTheTopLeftCornerStopsTheRunWithinASecond) {
  Target target;
  ASSERT_TRUE(target.Start(TargetLog(L"target.log"), L"入力先", {200, 150, 700, 550}));
  ASSERT_TRUE(BringToFront(target.window()));
  const std::string lines = Row("F5,,,各種キーを入力する,F5,,,,,") + Row("待つ,,,指定秒間は停止する,60,,,,,") +
                            Row("押す,300,250,マウスでクリックする,,,,,,");
  ASSERT_TRUE(StartRun(lines));
  ASSERT_TRUE(WaitUntil([&] { return !target.Events({"keyup 0x74"}).empty(); }, 15000)) << target.Log();

  // The status window during the pause: topmost, never active, clicks pass.
  HWND status = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (status = StatusWindow()) != nullptr; }, 5000));
  const LONG_PTR ex = GetWindowLongPtrW(status, GWL_EXSTYLE);
  EXPECT_TRUE((ex & WS_EX_TOPMOST) && (ex & WS_EX_NOACTIVATE) && (ex & WS_EX_TRANSPARENT));
  EXPECT_NE(GetForegroundWindow(), status);
  EXPECT_EQ(WindowText(status).find(L"座標取得"), std::wstring::npos);
  Sleep(1000);  // the pause has begun
  SaveScreenshot(status, L"runner-status");
  const DWORD pressed = GetTickCount();
  PressKeyWith(VK_SHIFT, VK_ESCAPE);  // itself about 0.4 s, with the settling after it
  ASSERT_TRUE(run_.WaitForExit(5000));
  EXPECT_LT(GetTickCount() - pressed, 1400u);
  EXPECT_EQ(run_.ExitCode(), 1u);
  EXPECT_TRUE(target.Events({"down"}).empty()) << "the row after the pause ran";
  ExpectNoKeyDown();
  EXPECT_NE(RunLog().find("2行目\t指定秒間は停止する\t停止（Shift+Esc）"), std::string::npos) << RunLogUtf8();

  // The pointer moved to the top-left pixel during the pause.
  ASSERT_TRUE(StartRun(Row("待つ,,,指定秒間は停止する,60,,,,,")));
  ASSERT_TRUE(WaitUntil([&] { return RunLog().find("開始") != std::string::npos; }, 15000));
  Sleep(1000);
  const DWORD moved = GetTickCount();
  SetCursorPos(0, 0);
  ASSERT_TRUE(run_.WaitForExit(5000));
  EXPECT_LT(GetTickCount() - moved, 1000u);
  EXPECT_EQ(run_.ExitCode(), 1u);
  SetCursorPos(400, 400);
}

TEST_F(Runner, ARefusedFileSendsNothingAndAMissingWindowStopsTheRun) {
  Target target;
  ASSERT_TRUE(target.Start(TargetLog(L"target.log"), L"入力先", {200, 150, 700, 550}));
  ASSERT_TRUE(BringToFront(target.window()));
  ASSERT_TRUE(StartRun(Row("押す,300,250,マウスでクリックする,,,,,,") + Row("キー,,,各種キーを入力する,F13,,,,,")));
  std::wstring message = AnswerMessage(L"runner-refused");
  EXPECT_NE(message.find(L"2行目「キー」:\nキー「F13」は使えません。"), std::wstring::npos)
      << standin::ToUtf8(message);
  EXPECT_EQ(Finish(10000), 2u);
  EXPECT_EQ(target.Events({"down", "keydown", "char"}).size(), 0u) << target.Log();

  ASSERT_TRUE(StartRun(Row("置く,,,アプリケーションの表示設定,どこにもない窓,0,0,300,300,") +
                       Row("押す,300,250,マウスでクリックする,,,,,,")));
  message = AnswerMessage(L"runner-failed");
  EXPECT_GE(GetTickCount() - started_, 10000u);
  EXPECT_NE(
      message.find(L"1行目「置く」（アプリケーションの表示設定）:\nタイトルに「どこにもない窓」を含むウィンドウが"),
      std::wstring::npos)
      << standin::ToUtf8(message);
  EXPECT_EQ(Finish(10000), 3u);
  EXPECT_TRUE(target.Events({"down"}).empty()) << "a later row ran";
}

// Another program's window over the point of a window the job placed: the
// click waits for it to go, and stops the run when it stays. Without a
// placed window the runner clicks whatever is there.
TEST_F(Runner, AWindowInTheWayOfAPlacedWindowHoldsTheClickBack) {
  Target target;
  ASSERT_TRUE(target.Start(TargetLog(L"target.log"), L"入力先", {200, 150, 700, 550}));
  const RECT over = {250, 200, 550, 450};  // over (300,250), also on a scaled display
  {
    Target notice;
    ASSERT_TRUE(notice.Start(TargetLog(L"unplaced.log"), L"お知らせ", over));
    ASSERT_TRUE(StartRun(Row("押す,300,250,マウスでクリックする,,,,,,0")));
    EXPECT_EQ(Finish(), 0u) << RunLogUtf8();
    WaitUntil([&] { return !notice.Events({"down"}).empty(); }, 3000);
    EXPECT_EQ(Joined(notice.Events({"down"})), "down L 300 250\n") << "a job without placed windows clicks anywhere";
  }
  const std::string lines = Row("置く,,,アプリケーションの表示設定,入力先,200,150,480,380,4") +
                            Row("押す,300,250,マウスでクリックする,,,,,,0");
  for (const bool stays : {true, false}) {
    SetWindowPos(target.window(), nullptr, 200, 150, 500, 400, SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_TRUE(StartRun(lines));
    ASSERT_TRUE(WaitUntil(
        [&] {
          const std::vector<std::string> places = target.Events({"place"});
          return !places.empty() && places.back() == "place 200 150 480 380 normal";
        },
        15000));
    const DWORD placed = GetTickCount();
    Target notice;  // within the 4 s that row 1 waits
    ASSERT_TRUE(notice.Start(TargetLog(stays ? L"staying.log" : L"closing.log"), L"更新のお知らせ", over));
    if (stays) {
      const std::wstring message = AnswerMessage(L"runner-in-the-way");
      EXPECT_NE(message.find(L"2行目「押す」（マウスでクリックする）:\nクリックする位置 (300, 250) を別のウィンドウ"
                             L"「更新のお知らせ」がふさいでいて、配置したウィンドウ「入力先」をクリックできません"),
                std::wstring::npos)
          << standin::ToUtf8(message);
      EXPECT_EQ(Finish(10000), 3u);
      EXPECT_NE(RunLog().find("2行目\tマウスでクリックする\t中止: "), std::string::npos) << RunLogUtf8();
    } else {
      const DWORD spent = GetTickCount() - placed;
      if (spent < 6000) Sleep(6000 - spent);  // 2 s into the wait
      ASSERT_TRUE(run_.Running()) << RunLogUtf8();
      SaveScreenshot(StatusWindow(), L"runner-waiting");
      notice.Close();
      EXPECT_EQ(Finish(), 0u) << RunLogUtf8();
    }
    EXPECT_TRUE(notice.Events({"down", "up"}).empty()) << notice.Log();
  }
  WaitUntil([&] { return target.Events({"down", "up"}).size() >= 2; }, 3000);
  EXPECT_EQ(Joined(target.Events({"down", "up"})), "down L 300 250\nup L 300 250\n")
      << "the click went through the window in the way, or not after it had gone";
  ExpectNoKeyDown();
}

// A window of another program takes the focus between a click and the row
// that types: nothing is typed, into it or anywhere.
TEST_F(Runner, KeysAreHeldBackWhenAnotherProgramTookTheFocus) {
  Target target;
  ASSERT_TRUE(target.Start(TargetLog(L"target.log"), L"入力先", {200, 150, 700, 550}));
  ASSERT_TRUE(StartRun(Row("置く,,,アプリケーションの表示設定,入力先,200,150,500,400,1") +
                       Row("押す,300,250,マウスでクリックする,,,,,,3") + Row("番号,,,文字を入力する,秘密123,,,,,")));
  ASSERT_TRUE(WaitUntil([&] { return !target.Events({"up L 300 250"}).empty(); }, 20000)) << RunLogUtf8();
  Target chat;
  ASSERT_TRUE(chat.Start(TargetLog(L"chat.log"), L"チャット", {750, 150, 1050, 450}));
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == chat.window(); }, 3000));
  const std::wstring message = AnswerMessage(L"runner-focus-taken");
  EXPECT_NE(message.find(L"3行目「番号」（文字を入力する）:\nキーの入力先が別のウィンドウ「チャット」に移りました。"),
            std::wstring::npos)
      << standin::ToUtf8(message);
  EXPECT_EQ(Finish(10000), 3u);
  EXPECT_TRUE(chat.Events({"char", "keydown"}).empty()) << chat.Log();
  EXPECT_TRUE(target.Events({"char"}).empty()) << target.Log();
  ExpectNoKeyDown();
}

// A saved job in its scrambled form runs by its name with its repeats and is
// only read; /quiet refuses a job that is not there without a message box.
TEST_F(Runner, ASavedJobRunsByItsNameAndIsOnlyRead) {
  Target target;
  ASSERT_TRUE(target.Start(TargetLog(L"target.log"), L"入力先", {200, 150, 700, 550}));
  ASSERT_TRUE(BringToFront(target.window()));
  const std::string record = SwapNibbles("// 注記\r\n" + Row("押す,300,250,マウスでクリックする,,,,,,") +
                                         Row("入力,,,文字を入力する,請求,,,,,") + Row("F5,,,各種キーを入力する,F5,,,,,"));
  const std::string repeat = "2,3,2\r\n\r\n\r\n";
  ASSERT_TRUE(WriteBytes(job_ + L"\\KeyRecord.def.psw", record) && WriteBytes(job_ + L"\\KeyRepeat.def", repeat));
  run_ = StartSaved(L"処理作業");
  EXPECT_EQ(Finish(), 0u) << RunLogUtf8();
  EXPECT_EQ(Joined(target.Events({"down", "up"})), "down L 300 250\nup L 300 250\n");
  EXPECT_EQ(target.Text(), L"請求請求");
  EXPECT_EQ(target.Events({"keydown 0x74"}).size(), 2u) << target.Log();
  std::string bytes;
  EXPECT_TRUE(ReadWholeFile(job_ + L"\\KeyRecord.def.psw", bytes) && bytes == record);
  EXPECT_TRUE(ReadWholeFile(job_ + L"\\KeyRepeat.def", bytes) && bytes == repeat);
  EXPECT_EQ(ListNames(job_), (std::vector<std::wstring>{L"KeyRecord.def.psw", L"KeyRepeat.def", L"Runvane.log"}));
  EXPECT_NE(RunLog().find("\t-\t-\t開始: 処理作業「処理作業」\r\n"), std::string::npos) << RunLogUtf8();

  Process quiet = StartSaved(L"無い作業 /quiet");
  bool boxShown = false;
  while (!quiet.WaitForExit(50)) {
    if (!TopLevelWindowsOf(quiet.id(), true).empty()) boxShown = true;
  }
  EXPECT_FALSE(boxShown);
  EXPECT_EQ(quiet.ExitCode(), 2u);
  ASSERT_TRUE(ReadWholeFile(folder_.Path(L"Runvane.log"), bytes));
  EXPECT_NE(bytes.find("処理作業「無い作業」が見つかりません。"), std::string::npos) << standin::ToUtf8(FromShiftJis(bytes));
  EXPECT_FALSE(DirectoryExists(folder_.Path(L"無い作業")));
}

// The countdown of /delay, shown in the status window, while a second run
// sends nothing and ends with 4; Shift+Esc stops the countdown.
TEST_F(Runner, ADelayCountsDownAndOneRunGoesOnAtATime) {
  Target target;
  ASSERT_TRUE(target.Start(TargetLog(L"target.log"), L"入力先", {200, 150, 700, 550}));
  ASSERT_TRUE(BringToFront(target.window()));
  ASSERT_TRUE(WriteBytes(job_ + L"\\KeyRecord.def", Row("押す,300,250,マウスでクリックする,,,,,,")));
  wchar_t folder[MAX_PATH * 4] = {};
  GetFullPathNameW(job_.c_str(), MAX_PATH * 4, folder, nullptr);
  run_ = StartSaved(L"\"" + std::wstring(folder) + L"\" /delay=60");
  HWND status = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (status = StatusWindow()) != nullptr; }, 15000)) << RunLogUtf8();
  Sleep(1500);  // a second of the countdown has gone
  SaveScreenshot(status, L"runner-countdown");

  // A test run from the editor meanwhile: refused with a message.
  ASSERT_TRUE(WriteBytes(job_ + L"\\KeyInspec.def.psw", SwapNibbles(Row("押す,300,250,マウスでクリックする,,,,,,"))));
  Process second = Process::Run(
      L"\"" + runner_ + L"\" \"" + job_ + L"\\KeyInspec.def\" \"" + job_ + L"\\KeyRepeat.def\"", true);
  HWND box = WaitForWindow(second, L"#32770", kCaption, 20000);
  ASSERT_NE(box, nullptr);
  Sleep(300);  // painted
  SaveScreenshot(box, L"runner-busy");
  EXPECT_NE(MessageBoxText(box).find(L"実行中のため、実行しませんでした。"), std::wstring::npos);
  BringToFront(box);
  PressKey(VK_RETURN);
  ASSERT_TRUE(second.WaitForExit(10000));
  EXPECT_EQ(second.ExitCode(), 4u);

  BringToFront(target.window());
  const DWORD pressed = GetTickCount();
  PressKeyWith(VK_SHIFT, VK_ESCAPE);
  ASSERT_TRUE(run_.WaitForExit(5000));
  EXPECT_LT(GetTickCount() - pressed, 1400u);
  EXPECT_EQ(run_.ExitCode(), 1u);
  EXPECT_TRUE(target.Events({"down"}).empty()) << target.Log();
  EXPECT_NE(RunLog().find("停止（Shift+Esc） 開始前の待ち時間"), std::string::npos) << RunLogUtf8();
}

// The editor's "選択した操作を実行" with the real runner: the ticked rows reach
// the target, and the point the job copies does not reach the edited row.
TEST_F(Runner, TheEditorsRunButtonRunsTheTickedRows) {
  ASSERT_NO_FATAL_FAILURE(PutTheRealRunnerBesideTheEditor(
      L"試験", Row("押す,300,250,マウスでクリックする,,,,,,1") + Row("入力,,,文字を入力する,請求書 No.12,,,,,") +
                   Row("複写,,,テキストを複写する,,,,,,")));
  Target target;
  ASSERT_TRUE(target.Start(TargetLog(L"target.log"), L"入力先", {200, 150, 700, 550}, L"--copy=120,45"));
  Process editor;
  HWND dialog = StartEditorAndWait(editor, L"試験");
  ASSERT_NE(dialog, nullptr);
  ASSERT_NO_FATAL_FAILURE(FocusTheList(dialog));
  ASSERT_TRUE(WaitUntil([&] { return DialogItemText(dialog, 1002) == L"300"; }, 3000));
  ClickControl(dialog, 1027);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindowVisible(dialog); }, 5000));
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }, 30000)) << "the editor did not come back";

  EXPECT_EQ(Joined(target.Events({"down", "up"})), "down L 300 250\nup L 300 250\n");
  EXPECT_EQ(target.Text(), L"請求書 No.12");
  EXPECT_FALSE(target.Events({"copied"}).empty());
  std::string clip;
  EXPECT_TRUE(ReadClipboardText(clip) && clip == "120,45") << clip;
  Sleep(2500);  // the editor polls the clipboard every second
  EXPECT_EQ(DialogItemText(dialog, 1002), L"300");
  EXPECT_EQ(DialogItemText(dialog, 1003), L"250");
  EXPECT_TRUE(FileExists(folder_.Path(L"試験\\Runvane.log")));
  // No folder beside the program but the job's.
  std::vector<std::wstring> folders;
  for (const std::wstring& name : ListNames(folder_.root()))
    if (DirectoryExists(folder_.Path(name))) folders.push_back(name);
  EXPECT_EQ(folders, std::vector<std::wstring>{L"試験"});
  CloseWithCloseBoxAndExpectExitZero(editor, dialog);
}


// X's own pointer and keyboard, driven by xdotool (a Linux program, which
// Wine starts as such): hardware input as a user's hand gives it, unlike
// SendInput's. The points are this program's; a scaled display's X pixels
// are more. False when xdotool could not be started.
bool DriveX(const std::vector<std::pair<POINT, std::wstring>>& steps) {
  DEVMODEW mode = {};
  mode.dmSize = sizeof mode;
  EnumDisplaySettingsW(nullptr, ENUM_CURRENT_SETTINGS, &mode);
  const double scale = static_cast<double>(mode.dmPelsWidth) / GetSystemMetrics(SM_CXSCREEN);
  std::wstringstream command;
  command << L"Z:\\usr\\bin\\xdotool";
  for (const auto& step : steps) {
    if (step.first.x >= 0) {
      command << L" mousemove " << static_cast<int>(step.first.x * scale + 0.5) << L" "
              << static_cast<int>(step.first.y * scale + 0.5);
    }
    command << L" " << step.second;
  }
  std::wstring line = command.str();
  STARTUPINFOW startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) return false;
  // Wine starts a Unix program without giving a handle to it.
  if (info.hThread != nullptr) CloseHandle(info.hThread);
  if (info.hProcess != nullptr) CloseHandle(info.hProcess);
  return true;
}

// The operation lines of a recorded file, and its comment lines apart.
std::vector<std::string> LinesOf(const std::string& file, bool comments) {
  std::vector<std::string> out;
  std::istringstream lines(file);
  for (std::string line; std::getline(lines, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty() && (line.rfind("//", 0) == 0) == comments) out.push_back(line);
  }
  return out;
}

// The action and input fields of each line: "マウスでクリックする|".
std::vector<std::string> ActionsOf(const std::vector<std::string>& lines) {
  std::vector<std::string> out;
  for (const std::string& line : lines) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string f; std::getline(in, f, ',');) fields.push_back(f);
    out.push_back(fields.size() > 4 ? fields[3] + "|" + fields[4] : line);
  }
  return out;
}

// The user records from the editor: Ctrl+R in its list, then X's own pointer
// and keyboard over two targets, Shift+Esc. The rows come back before the
// edited row as one undo step, are saved, and the saved job, run by its name,
// gives the targets the same input.
TEST_F(Runner, ARecordingOfTheUsersHandIsSavedAndRunsBackAsTheSameInput) {
  const std::string kept = Row("待つ,,,指定秒間は停止する,1,,,,,");
  ASSERT_NO_FATAL_FAILURE(PutTheRealRunnerBesideTheEditor(L"処理作業", kept));
  Target first, second;
  ASSERT_TRUE(first.Start(TargetLog(L"first.log"), L"記録先一", {100, 100, 500, 400}));
  // Wine on a scaled display keeps windows at their unaware numbers in X's
  // pixels while it scales the pointer: the windows are wide enough to take
  // the points either way.
  ASSERT_TRUE(second.Start(TargetLog(L"second.log"), L"記録先二", {550, 120, 1250, 520}));
  Process editor;
  HWND dialog = StartEditorAndWait(editor, L"処理作業");
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1000);
  ASSERT_NO_FATAL_FAILURE(FocusTheList(dialog));
  ASSERT_TRUE(WaitUntil([&] { return DialogItemText(dialog, 1004) == L"待つ"; }, 3000));
  PressKeyWith(VK_CONTROL, 'R');
  HWND status = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (const ProcessEntry& p : ListProcesses())
          if (_wcsicmp(p.exeName.c_str(), L"Runvane.exe") == 0) status = StatusWindowOf(p.id);
        return status != nullptr;
      },
      15000))
      << DescribeWindowsOf(editor.id());
  EXPECT_FALSE(IsWindowVisible(dialog));
  // A second recording waits for this one.
  wchar_t full[MAX_PATH] = {};
  GetFullPathNameW((job_ + L"\\KeyCapture2.def").c_str(), MAX_PATH, full, nullptr);
  Process busy = Process::Run(L"\"" + runner_ + L"\" /record \"" + full + L"\"", true);
  ASSERT_TRUE(busy.WaitForExit(10000));
  EXPECT_EQ(busy.ExitCode(), 4u);
  EXPECT_FALSE(FileExists(full));

  ASSERT_TRUE(DriveX({{{200, 200}, L"click 1 sleep 0.5"},
                      {{300, 250}, L"click --repeat 2 --delay 80 1 sleep 0.5"},
                      {{700, 200}, L"click 3 sleep 0.5"},
                      {{750, 300}, L"click 1 sleep 0.5 key --delay 60 shift+h e l l o"},
                      {{-1, -1}, L"sleep 0.3 key Return sleep 3 key ctrl+a sleep 1"}}));
  ASSERT_TRUE(WaitUntil([&] { return !second.Events({"keyup 0x41"}).empty(); }, 30000)) << first.Log() << second.Log();
  Sleep(500);  // the recorder has taken the last key
  SaveScreenshot(status, L"recorder-status");
  ASSERT_TRUE(DriveX({{{-1, -1}, L"key shift+Escape"}}));

  HWND box = WaitForWindow(editor, L"#32770", L"タヴォレクス", 15000);
  ASSERT_NE(box, nullptr) << DescribeWindowsOf(editor.id());
  const std::wstring message = MessageBoxText(box);
  EXPECT_EQ(message.rfind(L"9 件の操作を記録して追加しました。", 0), 0u) << standin::ToUtf8(message);
  EXPECT_EQ(message.find(L"記録しなかった"), std::wstring::npos) << standin::ToUtf8(message);
  ClickControl(box, IDOK);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_FALSE(FileExists(job_ + L"\\KeyCapture.def"));
  EXPECT_EQ(ListViewRowCount(list), 10);
  EXPECT_EQ(ListViewCell(list, 9, 1), L"待つ");
  EXPECT_EQ(DialogItemText(dialog, 1004), L"記録先一");
  Sleep(300);  // painted
  SaveScreenshot(dialog, L"recorded-rows");
  // The narrow columns show their headers whole, on a scaled display too.
  for (int column : {2, 3, 10}) {
    const int width = ListView_GetColumnWidth(list, column);
    ListView_SetColumnWidth(list, column, LVSCW_AUTOSIZE_USEHEADER);
    EXPECT_GE(width, ListView_GetColumnWidth(list, column)) << "column " << column;
  }
  // The list has the keys again: one Ctrl+Z takes the recording back, Ctrl+Y brings it again.
  PressKeyWith(VK_CONTROL, 'Z');
  EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 1; }, 5000));
  PressKeyWith(VK_CONTROL, 'Y');
  EXPECT_TRUE(WaitUntil([&] { return ListViewRowCount(list) == 10; }, 5000));
  ClickControl(dialog, 1);  // "保存して終了"
  ASSERT_TRUE(editor.WaitForExit(kExitTimeoutMs));
  EXPECT_EQ(editor.ExitCode(), 0u);

  std::string file;
  ASSERT_TRUE(ReadWholeFile(job_ + L"\\KeyRecord.def.psw", file));
  file = SwapNibbles(file);
  std::vector<std::string> lines = LinesOf(file, false);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(Row(lines.back()), kept);
  lines.pop_back();
  const std::vector<std::string> expected = {
      "アプリケーションの表示設定|記録先一", "マウスでクリックする|", "マウスでダブルクリックする|",
      "アプリケーションの表示設定|記録先二", "マウスで右クリックする|",     "マウスでクリックする|",
      "文字を入力する|Hello",                "各種キーを入力する|Enter",       "ショートカットを入力する|Ctrl+A (全選)",
  };
  EXPECT_EQ(ActionsOf(lines), expected) << standin::ToUtf8(FromShiftJis(file));
  ASSERT_EQ(lines.size(), expected.size());
  EXPECT_EQ(lines[0], "記録先一,,,アプリケーションの表示設定,記録先一,100,100,400,300,1");
  EXPECT_EQ(lines[1], "記録先一,200,200,マウスでクリックする,,,,,,1") << standin::ToUtf8(FromShiftJis(file));
  EXPECT_EQ(lines[2].substr(0, lines[2].rfind(',')), "記録先一,300,250,マウスでダブルクリックする,,,,,");
  EXPECT_EQ(lines[7], "記録先二,,,各種キーを入力する,Enter,,,,,3");

  const auto input = [](const Target& t) {
    return Joined(t.Events({"down ", "up ", "dblclk ", "keydown 0x0D", "keydown 0x41"})) +
           standin::ToUtf8(t.Text());
  };
  const std::string recordedFirst = input(first), recordedSecond = input(second);
  EXPECT_NE(recordedSecond.find("Hello"), std::string::npos) << recordedSecond;
  ASSERT_TRUE(WriteBytes(TargetLog(L"first.log"), "") && WriteBytes(TargetLog(L"second.log"), ""));
  run_ = StartSaved(L"処理作業");
  EXPECT_EQ(Finish(), 0u) << RunLogUtf8();
  EXPECT_EQ(input(first), recordedFirst);
  EXPECT_EQ(input(second), recordedSecond);
}

}  // namespace
}  // namespace e2e

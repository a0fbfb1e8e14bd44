// Repeat rules and the test run as a user does them: ticking rules and
// typing their ranges with the mouse and keyboard, the repeat marks in the
// list, then a run of the ticked rows against the runner stand-in, which
// logs what it received. The editor hides while the runner runs and comes
// back when it ends.
#include "tests/e2e/harness.h"

#include <commctrl.h>

#include <cstdlib>

namespace e2e {
namespace {

// --- Real input (SendInput), as a user's mouse and keyboard give it.

void SendMouseClickAt(int x, int y) {
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT in[3] = {};
  for (INPUT& i : in) {
    i.type = INPUT_MOUSE;
    i.mi.dx = static_cast<LONG>((x * 65535LL + width / 2) / (width - 1));
    i.mi.dy = static_cast<LONG>((y * 65535LL + height / 2) / (height - 1));
  }
  in[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_ABSOLUTE;
  in[2].mi.dwFlags = MOUSEEVENTF_LEFTUP | MOUSEEVENTF_ABSOLUTE;
  SendInput(1, &in[0], sizeof(INPUT));
  Sleep(50);
  SendInput(2, &in[1], sizeof(INPUT));
  Sleep(150);
}

// Clicks the middle of a dialog control.
void ClickControl(HWND dialog, int id) {
  RECT r;
  ASSERT_TRUE(GetWindowRect(GetDlgItem(dialog, id), &r)) << "control " << id;
  SendMouseClickAt((r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

void PressKey(WORD vk) {
  INPUT in[2] = {};
  in[0].type = in[1].type = INPUT_KEYBOARD;
  in[0].ki.wVk = in[1].ki.wVk = vk;
  in[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, in, sizeof(INPUT));
  Sleep(40);
}

// Clicks into an edit, empties it with the keys a user would use and types
// the digits.
void TypeIntoEdit(HWND dialog, int id, const char* digits) {
  ClickControl(dialog, id);
  PressKey(VK_END);
  for (int i = 0; i < 8; ++i) PressKey(VK_BACK);
  for (const char* p = digits; *p; ++p) PressKey(static_cast<WORD>(*p));  // VK '0'-'9'
  Sleep(100);
}

// A list row's bounds, asked across the process boundary.
bool ListRowRect(HWND list, int row, RECT& out) {
  DWORD processId = 0;
  GetWindowThreadProcessId(list, &processId);
  HANDLE process = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
  if (!process) return false;
  void* remote = VirtualAllocEx(process, nullptr, sizeof(RECT), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
  bool ok = false;
  if (remote) {
    RECT r = {};
    r.left = LVIR_BOUNDS;
    DWORD_PTR answer = 0;
    ok = WriteProcessMemory(process, remote, &r, sizeof r, nullptr) &&
         SendMessageTimeoutW(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(remote),
                             SMTO_ABORTIFHUNG, 5000, &answer) &&
         answer != 0 && ReadProcessMemory(process, remote, &out, sizeof out, nullptr);
    VirtualFreeEx(process, remote, 0, MEM_RELEASE);
  }
  CloseHandle(process);
  return ok;
}

bool RowTicked(HWND list, int row) {
  return ((SendMessageW(list, LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK) >> 12) - 1) == 1;
}

// Clicks the check box at the left of a row (the state image, 16 pixels wide).
void ClickRowCheckBox(HWND list, int row) {
  RECT r;
  ASSERT_TRUE(ListRowRect(list, row, r)) << "row " << row;
  POINT p = {r.left + 4 + 8, (r.top + r.bottom) / 2};
  ClientToScreen(list, &p);
  SendMouseClickAt(p.x, p.y);
}

// --- The runner stand-in's log: "RUN <pid>", then blocks "<TAG> <n>" + n bytes + LF.

struct RunnerLog {
  std::string command, inspect, repeat, end;
  bool haveInspect = false, haveRepeat = false, complete = false;
};

bool TakeBlock(const std::string& log, size_t& pos, const char* tag, std::string& bytes, bool& present) {
  const std::string head = std::string(tag) + " ";
  if (log.compare(pos, head.size(), head) != 0) return false;
  size_t eol = log.find('\n', pos);
  if (eol == std::string::npos) return false;
  long n = std::strtol(log.substr(pos + head.size(), eol - pos - head.size()).c_str(), nullptr, 10);
  pos = eol + 1;
  present = n >= 0;
  if (n < 0) n = 0;
  if (pos + static_cast<size_t>(n) + 1 > log.size()) return false;
  bytes = log.substr(pos, static_cast<size_t>(n));
  pos += static_cast<size_t>(n) + 1;
  return true;
}

RunnerLog ParseRunnerLog(const std::string& log) {
  RunnerLog out;
  size_t pos = log.find('\n');
  if (log.compare(0, 4, "RUN ") != 0 || pos == std::string::npos) return out;
  ++pos;
  bool present = false;
  if (!TakeBlock(log, pos, "COMMAND", out.command, present)) return out;
  if (!TakeBlock(log, pos, "INSPECT", out.inspect, out.haveInspect)) return out;
  if (!TakeBlock(log, pos, "REPEAT", out.repeat, out.haveRepeat)) return out;
  size_t eol = log.find('\n', pos);
  if (eol == std::string::npos) return out;
  out.end = log.substr(pos, eol - pos);
  out.complete = true;
  return out;
}

std::wstring Marks(HWND list) {
  std::wstring out;
  for (int r = 0; r < ListViewRowCount(list); ++r) out += ListViewCell(list, r, 11) == L"■" ? L"■" : L".";
  return out;
}

void Screenshot(HWND window, const wchar_t* name) {
  SaveWindowScreenshot(window, GetConfig().screens + L"\\" + name + L".bmp");
}

class RepeatAndRun : public EditorTest {};

TEST_F(RepeatAndRun, TickedRowsRunWithTheTypedRulesAndTheEditorComesBack) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder(true));
  const std::wstring job = L"繰返し試験";
  const std::string record =
      "画面をクリア,,,ショートカットを入力する,Win+D  (画面消去),,,,,2\r\n"
      "見積書を開く,,,アプリケーションを実行する,C:\\Tools\\estimate.exe,,,,,8\r\n"
      "合計欄をクリック,640,480,マウスでクリックする,,,,,,4\r\n"
      "金額を入力,,,文字を入力する,12000,,,,,1\r\n"
      "保存する,,,ショートカットを入力する,Ctrl+S,,,,,3";  // no line end
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(job, {{L"KeyRecord.def", record}}));
  Process editor;
  HWND dialog = StartEditorAndWait(editor, job);
  ASSERT_NE(dialog, nullptr);
  HWND list = GetDlgItem(dialog, 1000);
  SetForegroundWindow(dialog);

  // The range fields stay read-only until their rule is ticked.
  EXPECT_TRUE(GetWindowLongW(GetDlgItem(dialog, 1006), GWL_STYLE) & ES_READONLY);
  ClickControl(dialog, 1045);
  ASSERT_TRUE(WaitUntil([&] { return IsDlgButtonChecked(dialog, 1045) == BST_CHECKED; }, 3000));
  EXPECT_FALSE(GetWindowLongW(GetDlgItem(dialog, 1006), GWL_STYLE) & ES_READONLY);
  TypeIntoEdit(dialog, 1006, "2");
  TypeIntoEdit(dialog, 1007, "3");
  TypeIntoEdit(dialog, 1008, "4");
  EXPECT_EQ(Marks(list), L".■■..");

  ClickControl(dialog, 1047);
  ASSERT_TRUE(WaitUntil([&] { return IsDlgButtonChecked(dialog, 1047) == BST_CHECKED; }, 3000));
  TypeIntoEdit(dialog, 1012, "5");
  TypeIntoEdit(dialog, 1013, "12345");  // four digits at most
  TypeIntoEdit(dialog, 1014, "010");
  EXPECT_EQ(DialogItemText(dialog, 1013), L"1234");
  EXPECT_EQ(Marks(list), L".■■.■");
  TypeIntoEdit(dialog, 1013, "5");
  EXPECT_EQ(Marks(list), L".■■.■");

  // Row 4 unticked with a click on its check box.
  ASSERT_TRUE(RowTicked(list, 3));
  ClickRowCheckBox(list, 3);
  ASSERT_TRUE(WaitUntil([&] { return !RowTicked(list, 3); }, 3000)) << "row 4 is still ticked";
  for (int r : {0, 1, 2, 4}) EXPECT_TRUE(RowTicked(list, r)) << "row " << r + 1;
  Screenshot(dialog, L"repeat-rules");

  HWND picker = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (picker = FindWindowWithTitlePart(L"座標取得")) != nullptr; }, 10000));

  // Run: the editor and the picker's window hide while the runner runs.
  ClickControl(dialog, 1027);
  std::string log;
  ASSERT_TRUE(WaitUntil([&] { return ReadWholeFile(folder_.Path(L"runner-log.txt"), log) && !log.empty(); },
                        15000))
      << "the runner was not started";
  Sleep(1500);
  EXPECT_FALSE(IsWindowVisible(dialog)) << "the editor is shown while the runner runs";
  EXPECT_FALSE(IsWindowVisible(picker)) << "the picker is shown while the runner runs";

  ASSERT_TRUE(WriteBytes(folder_.Path(L"runner-release"), ""));
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(dialog) != FALSE; }, 5000))
      << "the editor did not come back after the runner ended";
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(picker) != FALSE; }, 3000));

  ASSERT_TRUE(ReadWholeFile(folder_.Path(L"runner-log.txt"), log));
  RunnerLog run = ParseRunnerLog(log);
  ASSERT_TRUE(run.complete) << log;
  const std::wstring jobFolder = folder_.Path(job);
  EXPECT_EQ(run.command, standin::ToUtf8(L"\"" + folder_.Path(L"Runvane.exe") + L"\" \"" + jobFolder +
                                         L"\\KeyInspec.def\" \"" + jobFolder + L"\\KeyRepeat.def\""));
  ASSERT_TRUE(run.haveInspect);
  const std::string expectedInspect =
      "画面をクリア,,,ショートカットを入力する,Win+D  (画面消去),,,,,2\r\n"
      "見積書を開く,,,アプリケーションを実行する,C:\\Tools\\estimate.exe,,,,,8\r\n"
      "合計欄をクリック,640,480,マウスでクリックする,,,,,,4\r\n"
      "\r\n"
      "保存する,,,ショートカットを入力する,Ctrl+S,,,,,3\r\n";
  EXPECT_TRUE(run.inspect == expectedInspect)
      << "decoded test-run file:\n" << standin::ToUtf8(FromShiftJis(run.inspect));
  ASSERT_TRUE(run.haveRepeat);
  EXPECT_EQ(run.repeat, "2,3,4\r\n\r\n5,5,010\r\n");
  EXPECT_EQ(run.end, "END released");
  // Only the scrambled test-run file lies in the job folder.
  EXPECT_FALSE(FileExists(jobFolder + L"\\KeyInspec.def"));
  EXPECT_TRUE(FileExists(jobFolder + L"\\KeyInspec.def.psw"));

  // "保存して終了": the rules are written again, the test-run files are gone.
  SetForegroundWindow(dialog);
  ClickControl(dialog, 1);
  ASSERT_TRUE(editor.WaitForExit(kExitTimeoutMs)) << DescribeWindowsOf(editor.id());
  EXPECT_EQ(editor.ExitCode(), 0u);
  std::string repeat;
  ASSERT_TRUE(ReadWholeFile(jobFolder + L"\\KeyRepeat.def", repeat));
  EXPECT_EQ(repeat, "2,3,4\r\n\r\n5,5,010\r\n");
  EXPECT_FALSE(FileExists(jobFolder + L"\\KeyInspec.def.psw"));
  EXPECT_FALSE(FileExists(jobFolder + L"\\KeyInspec.def"));
}

// Invalid rules at "選択した操作を実行": the message, and nothing runs.
TEST_F(RepeatAndRun, OverlappingRulesAreRefusedAndNothingRuns) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder(true));
  const std::string record =
      "a,,,マウスでクリックする,,,,,,4\r\nb,,,マウスでクリックする,,,,,,4\r\nc,,,マウスでクリックする,,,,,,4\r\n";
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"Overlap", {{L"KeyRecord.def", record},
                                                       {L"KeyRepeat.def", "1,2,2\r\n2,3,2\r\n\r\n"}}));
  Process editor;
  HWND dialog = StartEditorAndWait(editor, L"Overlap");
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(IsDlgButtonChecked(dialog, 1045), static_cast<UINT>(BST_CHECKED));
  EXPECT_EQ(DialogItemText(dialog, 1010), L"3");
  EXPECT_EQ(Marks(GetDlgItem(dialog, 1000)), L"■■■");
  SetForegroundWindow(dialog);
  ClickControl(dialog, 1027);

  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil(
      [&] {
        for (HWND w : TopLevelWindowsOf(editor.id(), true))
          if (w != dialog && WindowText(w) == L"データ検査") box = w;
        return box != nullptr;
      },
      5000))
      << DescribeWindowsOf(editor.id());
  Screenshot(box, L"repeat-rules-invalid");
  EXPECT_TRUE(IsWindowVisible(dialog));
  EXPECT_FALSE(FileExists(folder_.Path(L"runner-log.txt")));
  PressKey(VK_RETURN);
  ASSERT_TRUE(WaitUntil([&] { return !IsWindow(box); }, 3000));
  EXPECT_FALSE(FileExists(folder_.Path(L"Overlap\\KeyInspec.def.psw")));
  CloseWithCloseBoxAndExpectExitZero(editor, dialog);
}

}  // namespace
}  // namespace e2e

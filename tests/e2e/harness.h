// Driving Tavolex.exe from the outside under Wine: program folders, processes,
// windows, files and screenshots. Everything here uses plain Win32 calls from a
// separate process, as a user's tools would.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "tools/standins/standin.h"

namespace e2e {

// Where the build put the programs, and where the tests may write (Windows paths).
struct Config {
  std::wstring tavolex;   // Tavolex.exe
  std::wstring standins;  // folder of the companion stand-ins
  std::wstring work;      // root of the per-test program folders
  std::wstring screens;   // screenshots
};
Config& GetConfig();

// "Z:\..." for a Unix path ("/..."); other paths are returned with '/' as '\'.
std::wstring ToWindowsPath(const std::wstring& path);

// ---------------------------------------------------------------------------
// Text

std::wstring FromShiftJis(const std::string& bytes);
std::string ToShiftJis(const std::wstring& text);

// ---------------------------------------------------------------------------
// Files

// The whole file's bytes; false when it cannot be opened.
using standin::ReadWholeFile;
bool WriteBytes(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
bool DirectoryExists(const std::wstring& path);
std::vector<std::wstring> ListNames(const std::wstring& folder);  // sorted, no . and ..
void RemoveTree(const std::wstring& path);

// Every file and folder below root, relative path to its bytes (folders map to "<dir>").
std::map<std::wstring, std::string> SnapshotTree(const std::wstring& root);

// Each byte with its two 4-bit halves exchanged: the stored form of definition files.
std::string SwapNibbles(std::string bytes);

// Waits until pred() holds or the time is up; true when it held.
template <typename Pred>
bool WaitUntil(Pred pred, DWORD timeoutMs, DWORD stepMs = 50) {
  const DWORD start = GetTickCount();
  for (;;) {
    if (pred()) return true;
    if (GetTickCount() - start >= timeoutMs) return false;
    Sleep(stepMs);
  }
}

// ---------------------------------------------------------------------------
// Processes

class Process {
 public:
  Process() = default;
  Process(const Process&) = delete;
  Process& operator=(const Process&) = delete;
  Process(Process&& other) noexcept;
  Process& operator=(Process&& other) noexcept;
  ~Process();  // ends the process when it still runs

  // Starts exe with the command line "\"exe\" arguments" (arguments may be empty), in
  // the exe's folder.
  static Process Start(const std::wstring& exe, const std::wstring& arguments);
  // Starts a whole command line as standin::StartProgram does; with `hidden`, as
  // the editor starts its runner.
  static Process Run(const std::wstring& commandLine, bool hidden);

  bool started() const { return process_ != nullptr; }
  DWORD id() const { return id_; }
  HANDLE handle() const { return process_; }
  DWORD startError() const { return startError_; }

  bool Running() const;
  bool WaitForExit(DWORD timeoutMs) const;
  DWORD ExitCode() const;  // STILL_ACTIVE while running
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD id_ = 0;
  DWORD startError_ = 0;
};

struct ProcessEntry {
  DWORD id;
  DWORD parentId;
  std::wstring exeName;
};
std::vector<ProcessEntry> ListProcesses();

// Ends every process of the editor or of a stand-in (by executable name; "My.exe" is
// a stand-in that must never be started). The tests own the Wine prefix while they
// run, so nothing else carries these names.
void KillStrayPrograms();

// ---------------------------------------------------------------------------
// Windows

std::wstring WindowText(HWND window);
std::wstring ClassOf(HWND window);
std::vector<HWND> TopLevelWindowsOf(DWORD processId, bool visibleOnly);
// A description of the process's top-level windows, for failure messages.
std::string DescribeWindowsOf(DWORD processId);

// The visible, unowned dialog-class ("#32770") top-level window of the process; waits
// up to timeoutMs and gives up early when the process ends. nullptr when none came.
HWND WaitForDialog(const Process& process, DWORD timeoutMs);
// A visible top-level window of the process with this class and title; waits up to
// timeoutMs and gives up early when the process ends. nullptr when none came.
HWND WaitForWindow(const Process& process, const std::wstring& cls, const std::wstring& title,
                   DWORD timeoutMs = 10000);

// The dropped-down list of a combo box (class "ComboLBox") of the process; waits up
// to timeoutMs. nullptr when none came.
HWND WaitForDroppedList(const Process& process, DWORD timeoutMs = 5000);

// The first visible top-level window whose title contains the text.
HWND FindWindowWithTitlePart(const std::wstring& part);

std::wstring DialogItemText(HWND dialog, int id);
// The same text in UTF-8, for failure messages and comparisons with narrow literals.
std::string DialogItemUtf8(HWND dialog, int id);
// The text of a message box: its static controls' texts one after another.
std::wstring MessageBoxText(HWND box);

// List view contents, read across the process boundary through memory allocated in
// the owning process.
int ListViewColumnCount(HWND listView);
int ListViewRowCount(HWND listView);
std::wstring ListViewCell(HWND listView, int row, int column);

// The rectangle of a list-view cell in the list's client coordinates; false when
// the list gives none.
bool ListViewCellRect(HWND listView, int row, int column, RECT& rect);

// The centre of a list cell in this program's screen coordinates. The list
// answers in its own pixels, which on a scaled display are those of a program
// aware of the display's DPI: they are brought to this program's space.
bool CellCentreOnScreen(HWND list, int row, int column, POINT& p);

// ---------------------------------------------------------------------------
// Real user input (SendInput): the mouse moves to a screen point first and then
// presses there (controls see the hover before the click); keys go to the window
// that has the keyboard focus. Each helper waits a little after its input so the
// target can act on it.

void ClickScreenPoint(POINT point, bool rightButton = false);
// Clicks a point given in the window's client coordinates.
void ClickInWindow(HWND window, int x, int y);
// Clicks the middle of a window's screen rectangle.
void ClickMiddleOf(HWND window);
// Clicks the middle of a dialog control; fails the test when there is no such control.
void ClickControl(HWND dialog, int id);
void PressKey(WORD vk);
// A key pressed with a modifier held (VK_CONTROL, VK_MENU, VK_SHIFT).
void PressKeyWith(WORD modifier, WORD key);
// Alt+Space: the window's system menu.
void PressAltSpace();
// Types the text character by character (Unicode key events).
void TypeText(const std::wstring& text);
// Makes the window the foreground window; false when it does not become it.
bool BringToFront(HWND window);
// The colour of a screen pixel.
COLORREF ScreenPixel(int x, int y);

// Captures the window's screen rectangle into a 24-bit BMP file.
bool SaveWindowScreenshot(HWND window, const std::wstring& bmpPath);
// The same into <screens>\<name>.bmp.
bool SaveScreenshot(HWND window, const std::wstring& name);

// CF_TEXT of the clipboard; false when there is none.
bool ReadClipboardText(std::string& bytes);

// ---------------------------------------------------------------------------
// The runner stand-in's log: "RUN <pid>", then the blocks COMMAND, INSPECT and
// REPEAT, each a tag line "<TAG> <n>" followed by n bytes and a line feed (n = -1:
// nothing, the file was missing), then the line of how the run ended.

struct RunnerLog {
  std::string command, inspect, repeat, end;
  bool haveInspect = false, haveRepeat = false, complete = false;
};
RunnerLog ParseRunnerLog(const std::string& log);

// ---------------------------------------------------------------------------
// A fresh program folder for one test: <work>/<name> with a copy of Tavolex.exe and,
// when asked, the three companion stand-ins.

class ProgramFolder {
 public:
  ProgramFolder() = default;
  void Create(const std::wstring& name, bool withStandIns);

  const std::wstring& root() const { return root_; }
  std::wstring Path(const std::wstring& relative) const { return root_ + L"\\" + relative; }
  std::wstring Editor() const { return Path(L"Tavolex.exe"); }

  // A job folder with the given files (name to bytes).
  void MakeJob(const std::wstring& job, const std::map<std::wstring, std::string>& files) const;

 private:
  std::wstring root_;
};

// Base fixture: a program folder named after the test, stray programs ended before
// and after, and the editor started and driven by helpers.
class EditorTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Creates the program folder (call first in each test).
  void MakeFolder(bool withStandIns = false);

  // Starts the editor in the program folder; the job name is passed as one quoted
  // argument unless it is empty.
  Process StartEditor(const std::wstring& jobName);

  // Starts the editor and waits for its dialog; fails the test when none appears.
  HWND StartEditorAndWait(Process& editor, const std::wstring& jobName);

  // Closes the dialog with the close box and waits for the process to end.
  void CloseWithCloseBoxAndExpectExitZero(Process& editor, HWND dialog);
  // The close box after a change: the question whether to drop it is
  // answered Yes, and the process ends.
  void CloseDroppingChangesAndExpectExitZero(Process& editor, HWND dialog);

  ProgramFolder folder_;
};

std::string CurrentTestFolderName();

// Time-outs. The first start in a new Wine prefix is slow.
constexpr DWORD kDialogTimeoutMs = 30000;
constexpr DWORD kExitTimeoutMs = 15000;

}  // namespace e2e

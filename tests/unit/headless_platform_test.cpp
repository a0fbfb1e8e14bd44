// Tests of the headless platform itself: the in-memory file system with its
// faults, processes, clipboard, message boxes and the window system's
// notification rules.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "platform/headless/headless.h"
#include "platform/headless/runner.h"
#include "platform/platform.h"
#include "resources/templates.h"

namespace {

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override { headless::Reset(); }
  void TearDown() override { headless::Reset(); }
};

// A dialog handler that records what reaches it.
class Recorder : public plat::DialogHandler {
 public:
  std::vector<std::string> events;
  std::function<void(plat::Window)> init;
  std::function<void(plat::Window, int, int)> command;
  std::function<void(plat::Window, int)> timer;

  bool OnInitDialog(plat::Window dialog) override {
    if (init) init(dialog);
    return true;
  }
  void OnCommand(plat::Window dialog, int id, int code) override {
    events.push_back("cmd " + std::to_string(id) + " " + std::to_string(code));
    if (command) command(dialog, id, code);
  }
  long OnNotify(plat::Window, const plat::Notification& n) override {
    std::string e = "notify " + std::to_string(n.controlId) + " " + std::to_string(n.code) +
                    " item " + std::to_string(n.item);
    if (n.code == plat::kLvnItemChanged) {
      e += " " + std::to_string(n.oldState) + "->" + std::to_string(n.newState) + " mask " +
           std::to_string(n.changedMask);
    }
    events.push_back(e);
    return 0;
  }
  void OnTimer(plat::Window dialog, int id) override {
    events.push_back("timer " + std::to_string(id) + " at " + std::to_string(headless::Now()));
    if (timer) timer(dialog, id);
  }
};

// Runs dialog `id` with the recorder and a driver; returns the dialog result.
int RunDialog(int id, Recorder& r, const std::function<void(plat::Window)>& driver) {
  headless::OnDialog(id, driver);
  return plat::RunModalDialog(id, r, 0);
}

std::string ItemChanged(int id, int item, unsigned oldState, unsigned newState) {
  return "notify " + std::to_string(id) + " -101 item " + std::to_string(item) + " " +
         std::to_string(oldState) + "->" + std::to_string(newState) + " mask 8";
}

// ---------------------------------------------------------------- files

TEST_F(HeadlessTest, FreshMachineHasOnlyDriveC) {
  EXPECT_TRUE(plat::IsDirectory("C:"));
  EXPECT_TRUE(plat::IsDirectory("C:\\"));
  EXPECT_TRUE(plat::PathExists("c:\\"));
  EXPECT_FALSE(plat::PathExists("D:\\"));
  headless::AddDrive('d');
  EXPECT_TRUE(plat::IsDirectory("D:\\"));
  headless::AddShare("\\\\srv\\pub");
  EXPECT_TRUE(plat::CreateFolder("\\\\SRV\\Pub\\jobs"));
  EXPECT_TRUE(headless::HasFolder("\\\\srv\\pub\\JOBS\\"));
  EXPECT_EQ(plat::ModuleFileName(), "C:\\Tools\\Tavolex.exe");
  EXPECT_FALSE(plat::PathExists("C:\\Tools"));  // no files after Reset
}

TEST_F(HeadlessTest, CreateFolderRules) {
  EXPECT_FALSE(plat::CreateFolder("C:\\a\\b"));  // parent missing
  EXPECT_TRUE(plat::CreateFolder("C:\\a\\"));
  EXPECT_FALSE(plat::CreateFolder("C:\\A"));     // exists already
  EXPECT_TRUE(plat::CreateFolder("C:\\a\\b"));
  headless::FailCreate("c:\\A\\c");
  EXPECT_FALSE(plat::CreateFolder("C:\\a\\C"));
  EXPECT_FALSE(plat::RemoveFolder("C:\\a"));  // not empty
  EXPECT_TRUE(plat::RemoveFolder("C:\\a\\b\\"));
  EXPECT_TRUE(plat::RemoveFolder("C:\\a"));
  EXPECT_FALSE(plat::PathExists("C:\\a"));
}

TEST_F(HeadlessTest, PathsFoldAsciiButNeverASecondByte) {
  headless::MakeFolder("C:\\表A");  // 表 is 0x95 0x5C: its second byte is a backslash
  EXPECT_TRUE(plat::IsDirectory("C:\\表a"));
  EXPECT_TRUE(plat::IsDirectory("C:\\表A\\"));
  EXPECT_EQ(headless::FolderNames("C:"), std::vector<std::string>{"表A"});
  headless::MakeFolder("C:\\表");
  EXPECT_TRUE(plat::IsDirectory("C:\\表\\"));
  EXPECT_EQ(headless::FolderNames("C:\\"), (std::vector<std::string>{"表A", "表"}));

  // ア is 0x83 0x41; 0x83 0x61 is another character although 0x61 is 'a'.
  headless::PutFile("C:\\\x83\x41.txt", "one");
  EXPECT_TRUE(plat::PathExists("C:\\\x83\x41.TXT"));
  EXPECT_FALSE(plat::PathExists("C:\\\x83\x61.txt"));
  headless::PutFile("C:\\\x83\x61.txt", "two");
  EXPECT_EQ(headless::FileBytes("c:\\\x83\x41.txt"), "one");
  EXPECT_EQ(headless::FileBytes("c:\\\x83\x61.txt"), "two");
}

TEST_F(HeadlessTest, ListFolderGivesDotsAndEntriesInCreationOrder) {
  headless::MakeFolder("C:\\Tools\\JobB");
  headless::PutFile("C:\\Tools\\Tavolex.exe", "");
  headless::MakeFolder("C:\\Tools\\JobA");
  std::vector<plat::FolderEntry> entries;
  ASSERT_TRUE(plat::ListFolder("C:\\tools\\*.*", entries));
  ASSERT_EQ(entries.size(), 5u);
  EXPECT_EQ(entries[0].name, ".");
  EXPECT_EQ(entries[1].name, "..");
  EXPECT_EQ(entries[2].name, "JobB");
  EXPECT_TRUE(entries[2].isDirectory);
  EXPECT_EQ(entries[3].name, "Tavolex.exe");
  EXPECT_FALSE(entries[3].isDirectory);
  ASSERT_TRUE(plat::ListFolder("C:\\Tools\\*", entries));
  EXPECT_EQ(entries.size(), 5u);
  EXPECT_FALSE(plat::ListFolder("C:\\Missing\\*.*", entries));
  EXPECT_TRUE(entries.empty());
}

TEST_F(HeadlessTest, FilesReadAndWriteThroughHandles) {
  headless::MakeFolder("C:\\job");
  EXPECT_EQ(plat::OpenFile("C:\\job\\a.def", plat::OpenMode::Read), -1);
  EXPECT_EQ(plat::OpenFile("C:\\nothere\\a.def", plat::OpenMode::WriteTruncate), -1);
  int w = plat::OpenFile("C:\\job\\a.def", plat::OpenMode::WriteTruncate);
  ASSERT_GE(w, 0);
  EXPECT_TRUE(headless::HasFile("C:\\job\\a.def"));  // created at open time
  EXPECT_EQ(plat::WriteFile(w, "hello", 5), 5);
  EXPECT_TRUE(plat::FlushFile(w));
  EXPECT_TRUE(plat::CloseFile(w));
  int r = plat::OpenFile("C:\\JOB\\A.DEF", plat::OpenMode::Read);
  ASSERT_GE(r, 0);
  char buffer[8] = {};
  EXPECT_EQ(plat::ReadFile(r, buffer, 3), 3);
  EXPECT_EQ(plat::ReadFile(r, buffer + 3, 8), 2);
  EXPECT_EQ(plat::ReadFile(r, buffer, 8), 0);
  EXPECT_EQ(std::string(buffer), "hello");
  EXPECT_EQ(headless::OpenFileCount(), 1);
  EXPECT_TRUE(plat::CloseFile(r));
  EXPECT_EQ(headless::OpenFileCount(), 0);

  headless::FailOpen("C:\\job\\a.def");
  EXPECT_EQ(plat::OpenFile("C:\\job\\a.def", plat::OpenMode::Read), -1);
  headless::FailCreate("C:\\job\\b.def");
  EXPECT_EQ(plat::OpenFile("C:\\job\\b.def", plat::OpenMode::WriteTruncate), -1);
  EXPECT_FALSE(headless::HasFile("C:\\job\\b.def"));
}

TEST_F(HeadlessTest, FailWriteAfterWritesOnlyWhatFits) {
  headless::FailWriteAfter("C:\\out.def", 5);
  int h = plat::OpenFile("C:\\OUT.def", plat::OpenMode::WriteTruncate);
  ASSERT_GE(h, 0);
  EXPECT_EQ(plat::WriteFile(h, "abc", 3), 3);
  EXPECT_EQ(plat::WriteFile(h, "defgh", 5), 2);
  EXPECT_LT(plat::WriteFile(h, "x", 1), 1);
  EXPECT_TRUE(plat::CloseFile(h));
  EXPECT_EQ(headless::FileBytes("C:\\out.def"), "abcde");
}

TEST_F(HeadlessTest, DiskFreeLimitsAllFilesAndTruncationFreesSpace) {
  headless::PutFile("C:\\big.bin", std::string(100, 'x'));
  headless::SetDiskFree(6);
  int h = plat::OpenFile("C:\\a.txt", plat::OpenMode::WriteTruncate);
  EXPECT_EQ(plat::WriteFile(h, "1234", 4), 4);
  EXPECT_EQ(plat::WriteFile(h, "5678", 4), 2);
  plat::CloseFile(h);
  EXPECT_EQ(headless::FileBytes("C:\\a.txt"), "123456");
  // Truncating the file gives its space back.
  h = plat::OpenFile("C:\\a.txt", plat::OpenMode::WriteTruncate);
  EXPECT_EQ(plat::WriteFile(h, "abcdef", 6), 6);
  plat::CloseFile(h);
  headless::SetDiskFree(-1);
  h = plat::OpenFile("C:\\a.txt", plat::OpenMode::WriteTruncate);
  EXPECT_EQ(plat::WriteFile(h, "0123456789", 10), 10);
  plat::CloseFile(h);
}

TEST_F(HeadlessTest, ReplaceFileWithItsFaultsAndWriteTimes) {
  using plat::ReplaceResult;
  const char* const def = "C:\\j\\KeyRecord.def";
  const char* const tmp = "C:\\j\\KeyRecord.tmp";
  const char* const bak = "C:\\j\\KeyRecord.bak";
  headless::PutFile(def, "old");
  headless::PutFile(tmp, "new");
  headless::FailReplace("c:\\J\\keyrecord.DEF");
  EXPECT_EQ(plat::ReplaceFileWith(def, tmp, bak), ReplaceResult::Unchanged);
  EXPECT_EQ(headless::FileBytes(def), "old");
  EXPECT_EQ(headless::FileBytes(tmp), "new");

  const std::uint64_t written = plat::FileWriteTime(tmp);
  EXPECT_LT(plat::FileWriteTime(def), written);
  EXPECT_EQ(plat::ReplaceFileWith("C:\\j\\Other.def", tmp, bak), ReplaceResult::Replaced);  // target missing
  EXPECT_EQ(plat::FileWriteTime("C:\\j\\Other.def"), written);
  EXPECT_EQ(plat::FileWriteTime(tmp), 0u);
  EXPECT_EQ(headless::FileBytes("C:\\j\\Other.def"), "new");
  EXPECT_FALSE(headless::HasFile(tmp));
  EXPECT_EQ(plat::ReplaceFileWith("C:\\j\\Other.def", tmp, bak), ReplaceResult::Unchanged);  // no replacement

  headless::PutFile(tmp, "newer");
  headless::StrandReplace("C:\\j\\Other.def");
  EXPECT_EQ(plat::ReplaceFileWith("C:\\j\\Other.def", tmp, bak), ReplaceResult::TargetMoved);
  EXPECT_FALSE(headless::HasFile("C:\\j\\Other.def"));
  EXPECT_EQ(headless::FileBytes(bak), "new");
  EXPECT_EQ(headless::FileBytes(tmp), "newer");
}

TEST_F(HeadlessTest, DeleteFileAtAndItsFault) {
  headless::PutFile("C:\\j\\a.def", "x");
  headless::PutFile("C:\\j\\b.def", "y");
  EXPECT_FALSE(plat::DeleteFileAt("C:\\j\\missing.def"));
  EXPECT_FALSE(plat::DeleteFileAt("C:\\j"));  // a folder
  headless::FailDelete("C:\\j\\A.def");
  EXPECT_FALSE(plat::DeleteFileAt("C:\\j\\a.def"));
  EXPECT_TRUE(headless::HasFile("C:\\j\\a.def"));
  int h = plat::OpenFile("C:\\j\\b.def", plat::OpenMode::Read);
  EXPECT_FALSE(plat::DeleteFileAt("C:\\j\\b.def"));  // open: a sharing violation
  plat::CloseFile(h);
  EXPECT_TRUE(plat::DeleteFileAt("C:\\j\\b.def"));
  EXPECT_FALSE(headless::HasFile("C:\\j\\b.def"));
}

// ---------------------------------------------------------------- processes

TEST_F(HeadlessTest, StartProcessNeedsAnExistingProgram) {
  plat::ProcessStart start;
  start.commandLine = "C:\\Tools\\Pickmark.exe";
  EXPECT_EQ(plat::StartProcess(start), 0u);
  headless::PutFile("C:\\Tools\\Pickmark.exe", "");
  headless::PutFile("C:\\Program Files\\Run vane.exe", "");
  std::vector<std::uint32_t> hooked;
  headless::OnProcessStart([&](headless::ProcessRecord& p) { hooked.push_back(p.id); });
  EXPECT_EQ(plat::StartProcess(start), 1000u);
  start.commandLine = "\"C:\\Program Files\\Run vane.exe\" C:\\job\\KeyInspec.def";
  EXPECT_EQ(plat::StartProcess(start), 1004u);
  // Unquoted, the line is cut at each blank in turn; an application name is
  // taken as it stands.
  start.commandLine = "C:\\Program Files\\Run vane.exe";
  EXPECT_EQ(plat::StartProcess(start), 1008u);
  headless::PutFile("C:\\Program.exe", "");
  EXPECT_EQ(plat::StartProcess(start), 1012u);
  start.applicationName = "C:\\Program Files\\Run vane.exe";
  EXPECT_EQ(plat::StartProcess(start), 1016u);
  start.applicationName = "C:\\Program Files\\Run";
  EXPECT_EQ(plat::StartProcess(start), 0u);
  EXPECT_EQ(headless::FindProcess(1008)->program, "C:\\Program Files\\Run vane.exe");
  EXPECT_EQ(headless::FindProcess(1012)->program, "C:\\Program.exe");
  EXPECT_EQ(headless::FindProcess(1016)->program, "C:\\Program Files\\Run vane.exe");
  EXPECT_EQ(hooked, (std::vector<std::uint32_t>{1000, 1004, 1008, 1012, 1016}));
  const headless::ProcessRecord* p = headless::FindProcess(1004);
  ASSERT_NE(p, nullptr);
  EXPECT_TRUE(p->running);
  EXPECT_TRUE(p->startedByProgram);
  EXPECT_TRUE(plat::IsProcessRunning(1004));
}

TEST_F(HeadlessTest, TerminateReachesOnlyRunningProcessesTheProgramStarted) {
  headless::PutFile("C:\\Tools\\Pickmark.exe", "");
  plat::ProcessStart start;
  start.commandLine = "C:\\Tools\\Pickmark.exe";
  std::uint32_t foreign = headless::AddForeignProcess();
  plat::TerminateStartedProcess(foreign, 9);
  EXPECT_TRUE(plat::IsProcessRunning(foreign));

  std::uint32_t mine = plat::StartProcess(start);
  headless::EndProcess(mine);
  headless::SetNextProcessId(mine);  // the id is reused by another program
  EXPECT_EQ(headless::AddForeignProcess(), mine);
  plat::TerminateStartedProcess(mine, 9);
  EXPECT_TRUE(plat::IsProcessRunning(mine));

  std::uint32_t second = plat::StartProcess(start);
  plat::TerminateStartedProcess(second, 7);
  EXPECT_FALSE(plat::IsProcessRunning(second));
  EXPECT_TRUE(headless::FindProcess(second)->terminated);
  EXPECT_EQ(headless::FindProcess(second)->exitCode, 7u);
}

TEST_F(HeadlessTest, WaitLetsTheHookEndTheProcess) {
  headless::PutFile("C:\\Tools\\Titlescan.exe", "");
  headless::OnProcessWait([](headless::ProcessRecord& p) {
    headless::SetClipboard("Notepad");
    headless::EndProcess(p.id);
  });
  plat::ProcessStart start;
  start.commandLine = "C:\\Tools\\Titlescan.exe";
  std::uint32_t id = plat::StartProcess(start);
  plat::WaitForStartedProcess(id);
  EXPECT_FALSE(plat::IsProcessRunning(id));
  EXPECT_EQ(headless::ProcessWaits(), std::vector<std::uint32_t>{id});
  EXPECT_EQ(plat::ReadClipboardText(512), "Notepad");
}

TEST_F(HeadlessTest, SingleInstanceMutex) {
  EXPECT_TRUE(plat::AcquireSingleInstance("Tavolex"));
  EXPECT_FALSE(plat::AcquireSingleInstance("Tavolex"));
  headless::Reset();
  headless::HoldMutex("Tavolex");
  EXPECT_FALSE(plat::AcquireSingleInstance("Tavolex"));
}

TEST_F(HeadlessTest, ExitProcessEndsWithTheCode) {
  EXPECT_EXIT(plat::ExitProcess(1), ::testing::ExitedWithCode(1), "");
}

// The key state belongs to the input being handled: a key held for one
// command is up again for the next one, also after a nested dialog.
TEST_F(HeadlessTest, KeysAreDownOnlyForTheCommandTheyRaise) {
  Recorder r;
  std::vector<std::string> seen;
  r.command = [&](plat::Window, int id, int) {
    seen.push_back(std::to_string(id) + (plat::KeyDownForCurrentMessage(plat::kVkReturn) ? " enter" : "") +
                   (plat::KeyDownForCurrentMessage(plat::kVkEscape) ? " escape" : ""));
  };
  RunDialog(res::kMainDialog, r, [&](plat::Window d) {
    headless::PressEnter(d);
    EXPECT_FALSE(plat::KeyDownForCurrentMessage(plat::kVkReturn));
    headless::Click(d, 1);
    headless::PressEscape(d);
    headless::CloseBox(d);
    plat::SetFocusTo(d, 1);
    headless::PressSpace(d);
    plat::SetFocusTo(d, 1004);
    headless::PressSpace(d);  // an edit: no command
    // Enter confirms another dialog; the next click here sees no key.
    Recorder about;
    headless::OnDialog(res::kAboutDialog, [](plat::Window a) { headless::PressEnter(a); });
    plat::RunModalDialog(res::kAboutDialog, about, d);
    EXPECT_EQ(about.events, std::vector<std::string>{"cmd 1 0"});
    headless::Click(d, 2);
  });
  EXPECT_EQ(seen, (std::vector<std::string>{"1 enter", "1", "2 escape", "2", "1", "2"}));
}

// ---------------------------------------------------------------- clipboard and boxes

TEST_F(HeadlessTest, ClipboardNeverCutsACharacterInHalf) {
  EXPECT_EQ(plat::ReadClipboardText(512), "");
  EXPECT_TRUE(plat::WriteClipboardText("0,0"));
  EXPECT_EQ(headless::Clipboard(), "0,0");
  headless::SetClipboard("ab表c");  // a, b, 0x95 0x5C, c
  EXPECT_EQ(plat::ReadClipboardText(3), "ab");
  EXPECT_EQ(plat::ReadClipboardText(4), "ab");
  EXPECT_EQ(plat::ReadClipboardText(5), "ab表");
  EXPECT_EQ(plat::ReadClipboardText(0), "");
  headless::ClearClipboard();
  EXPECT_EQ(plat::ReadClipboardText(512), "");
  EXPECT_EQ(headless::ClipboardWrites(), std::vector<std::string>{"0,0"});
}

TEST_F(HeadlessTest, MessageBoxesTakeQueuedAnswersThenDefaults) {
  headless::QueueMessageBoxAnswer(plat::kIdYes);
  EXPECT_EQ(plat::ShowMessageBox(0, "q1", "タヴォレクス", plat::kMbYesNo | plat::kMbIconQuestion),
            plat::kIdYes);
  EXPECT_EQ(plat::ShowMessageBox(0, "q2", "タヴォレクス", plat::kMbYesNo), plat::kIdNo);
  EXPECT_EQ(plat::ShowMessageBox(0, "e", "データ検査", plat::kMbOk | plat::kMbIconError), plat::kIdOk);
  EXPECT_EQ(headless::UnansweredMessageBoxes(), 2);
  ASSERT_EQ(headless::MessageBoxes().size(), 3u);
  EXPECT_EQ(headless::MessageBoxes()[2].caption, "データ検査");
  EXPECT_EQ(plat::FocusWindow(), 0u);
}

// ---------------------------------------------------------------- dialogs

TEST_F(HeadlessTest, DialogIsBuiltFromItsTemplate) {
  Recorder r;
  bool driven = false;
  int result = RunDialog(res::kMainDialog, r, [&](plat::Window d) {
    driven = true;
    EXPECT_EQ(headless::OpenDialog(res::kMainDialog), d);
    EXPECT_EQ(plat::GetControlText(d, 1026), "新規");
    EXPECT_EQ(plat::GetControlText(d, 1004), "");
    EXPECT_TRUE(plat::IsEditReadOnly(d, 1001));
    EXPECT_FALSE(plat::IsEditReadOnly(d, 1004));
    EXPECT_TRUE(plat::IsControlVisible(d, 1081));
    EXPECT_TRUE(plat::IsControlEnabled(d, 1081));
    plat::Rect r1004 = plat::ControlRect(d, 1004);  // 31,316,89,12 in dialog units
    EXPECT_EQ(r1004.left, 46);
    EXPECT_EQ(r1004.top, 513);
    EXPECT_EQ(r1004.right, 46 + 133);
    EXPECT_EQ(r1004.bottom, 513 + 19);
    plat::Rect w = plat::WindowRect(d);
    EXPECT_EQ(w.right - w.left, 402 * 3 / 2 + 16);
    EXPECT_EQ(w.bottom - w.top, 436 * 13 / 8 + 39);
    EXPECT_TRUE(plat::HasSystemMenu(d));
    EXPECT_NE(plat::ControlWindow(d, 1004), plat::ControlWindow(d, 1005));
    EXPECT_EQ(headless::FocusedControl(d), 1082);  // the first visible, enabled tab stop
    EXPECT_EQ(plat::FocusWindow(), plat::ControlWindow(d, 1082));
  });
  EXPECT_TRUE(driven);
  EXPECT_EQ(result, plat::kIdCancel);
  EXPECT_EQ(headless::DialogsLeftOpen(), 1);
  EXPECT_EQ(headless::OpenDialog(res::kMainDialog), 0u);
  EXPECT_EQ(plat::RunModalDialog(999, r, 0), -1);
}

TEST_F(HeadlessTest, ProgramWritesRaiseOnlyWhatRealControlsRaise) {
  Recorder r;
  RunDialog(res::kMainDialog, r, [&](plat::Window d) {
    r.events.clear();
    plat::SetControlText(d, 1004, "abc");
    plat::SetControlText(d, 1004, "abc");  // unchanged: EN_CHANGE all the same
    plat::SetControlText(d, 1035, "label");
    plat::SetControlText(d, 1026, "button");
    plat::ComboReset(d, 1080);
    EXPECT_EQ(plat::ComboAdd(d, 1080, "A"), 0);
    plat::ComboSetSelection(d, 1080, 0);
    plat::SetButtonCheck(d, 1044, 1);
    plat::SetEditReadOnly(d, 1004, true);
    EXPECT_EQ(r.events, (std::vector<std::string>{"cmd 1004 768", "cmd 1004 768"}));
    EXPECT_EQ(plat::GetButtonCheck(d, 1044), 1);
    EXPECT_EQ(plat::GetControlText(d, 1080), "A");
  });
}

TEST_F(HeadlessTest, ListViewRaisesItemChangedOnlyOnRealChanges) {
  Recorder r;
  RunDialog(res::kMainDialog, r, [&](plat::Window d) {
    EXPECT_EQ(plat::ListInsertRow(d, 1000, 0, "1"), 0);  // no check boxes yet: nothing
    EXPECT_TRUE(r.events.empty());
    plat::ListDeleteAllRows(d, 1000);
    plat::ListAddExtendedStyle(d, 1000, plat::kLvsExCheckBoxes | plat::kLvsExFullRowSelect);
    EXPECT_EQ(plat::ListInsertRow(d, 1000, 0, "1"), 0);
    EXPECT_EQ(plat::ListInsertRow(d, 1000, 5, "2"), 1);
    EXPECT_TRUE(r.events.empty());  // unchecked without a notification
    plat::ListSetChecked(d, 1000, 1, false);  // already unchecked
    plat::ListSetChecked(d, 1000, 1, true);
    plat::ListSetChecked(d, 1000, 1, true);
    EXPECT_EQ(r.events, std::vector<std::string>{ItemChanged(1000, 1, 0x1000, 0x2000)});
    EXPECT_TRUE(plat::ListIsChecked(d, 1000, 1));
    r.events.clear();
    plat::ListSelectRow(d, 1000, 0);
    plat::ListSelectRow(d, 1000, 1);
    EXPECT_EQ(r.events, (std::vector<std::string>{ItemChanged(1000, 0, 0x1000, 0x1003),
                                                  ItemChanged(1000, 0, 0x1003, 0x1001),
                                                  ItemChanged(1000, 0, 0x1001, 0x1000),
                                                  ItemChanged(1000, 1, 0x2000, 0x2003)}));
    EXPECT_EQ(plat::ListFirstSelected(d, 1000), 1);
    r.events.clear();
    headless::ClickListRow(d, 1000, 1);  // already selected: NM_CLICK only
    headless::ToggleListCheck(d, 1000, 0);
    EXPECT_EQ(r.events, (std::vector<std::string>{"notify 1000 -2 item 1",
                                                  ItemChanged(1000, 0, 0x1000, 0x2000)}));
    r.events.clear();
    plat::ListDeleteAllRows(d, 1000);
    EXPECT_TRUE(r.events.empty());
    EXPECT_EQ(plat::ListFirstSelected(d, 1000), -1);
  });
}

// The same rules and the same expectations as the Win32 platform test
// (TestListNotificationRules), which checks them against the real controls.
std::string Change(int row, unsigned oldState, unsigned newState, unsigned mask, int firstSelected) {
  char buf[80];
  std::snprintf(buf, sizeof buf, "%d %x>%x m%x s%d", row, oldState, newState, mask, firstSelected);
  return buf;
}
using Changes = std::vector<std::string>;

class ChangeRecorder : public plat::DialogHandler {
 public:
  Changes got;
  std::vector<std::pair<int, int>> commands;
  bool OnInitDialog(plat::Window) override { return true; }
  void OnCommand(plat::Window, int id, int code) override { commands.emplace_back(id, code); }
  long OnNotify(plat::Window w, const plat::Notification& n) override {
    if (n.controlId == 1000 && n.code == plat::kLvnItemChanged) {
      got.push_back(Change(n.item, n.oldState, n.newState, n.changedMask, plat::ListFirstSelected(w, 1000)));
    }
    return 0;
  }
};

TEST_F(HeadlessTest, ListAndComboRulesMatchTheRealControls) {
  ChangeRecorder r;
  headless::OnDialog(res::kMainDialog, [&](plat::Window d) {
    Changes& got = r.got;
    plat::ListAddExtendedStyle(d, 1000, 0x20100E5);
    plat::ListInsertColumn(d, 1000, 0, "番号", 40, plat::kAlignLeft);
    plat::ListInsertColumn(d, 1000, 1, "操作する名称", 120, plat::kAlignCenter);
    got.clear();
    EXPECT_EQ(plat::ListInsertRow(d, 1000, 0, "1"), 0);
    EXPECT_EQ(plat::ListInsertRow(d, 1000, 1, "2"), 1);
    EXPECT_EQ(plat::ListInsertRow(d, 1000, 2, "3"), 2);
    EXPECT_TRUE(got.empty());
    EXPECT_FALSE(plat::ListIsChecked(d, 1000, 0));
    plat::ListSetCell(d, 1000, 1, 0, "x");
    plat::ListSetCell(d, 1000, 1, 0, "x");
    plat::ListSetCell(d, 1000, 1, 1, "name");
    EXPECT_EQ(got, Changes{Change(1, 0, 0, plat::kLvifText, -1)});
    got.clear();
    plat::ListSelectRow(d, 1000, 0);
    plat::ListSelectRow(d, 1000, 0);
    plat::ListSelectRow(d, 1000, 2);
    EXPECT_EQ(got, (Changes{Change(0, 0x1000, 0x1003, plat::kLvifState, 0),
                            Change(0, 0x1003, 0x1001, plat::kLvifState, -1),
                            Change(0, 0x1001, 0x1000, plat::kLvifState, 2),
                            Change(2, 0x1000, 0x1003, plat::kLvifState, 2)}));
    got.clear();

    plat::ListDeleteAllRows(d, 1000);
    plat::ListReserveRows(d, 1000, 100);
    plat::ListSetRedraw(d, 1000, false);
    EXPECT_TRUE(headless::Calls(d, 1000).redrawOff);
    EXPECT_EQ(plat::ListInsertNumberedRow(d, 1000, 0), 0);
    EXPECT_EQ(plat::ListInsertNumberedRow(d, 1000, 1), 1);
    EXPECT_EQ(plat::ListInsertNumberedRow(d, 1000, 0), 0);
    plat::ListSetRedraw(d, 1000, true);
    EXPECT_FALSE(headless::Calls(d, 1000).redrawOff);
    EXPECT_EQ(headless::Calls(d, 1000).reservedRows, 100);
    EXPECT_EQ(plat::ListRowCount(d, 1000), 3);
    EXPECT_TRUE(got.empty());
    EXPECT_EQ(plat::ListGetCell(d, 1000, 0, 0), "1");
    EXPECT_EQ(plat::ListGetCell(d, 1000, 2, 0), "3");
    EXPECT_FALSE(plat::ListIsChecked(d, 1000, 0));
    plat::ListSetCheckedAll(d, 1000, true);
    plat::ListSetChecked(d, 1000, 1, false);
    got.clear();
    plat::ListSetCheckedAll(d, 1000, true);
    EXPECT_EQ(got, Changes{Change(1, 0x1000, 0x2000, plat::kLvifState, -1)});
    EXPECT_TRUE(plat::ListIsChecked(d, 1000, 2));
    got.clear();
    plat::ListSelectRow(d, 1000, 1);
    got.clear();
    plat::ListDeleteRow(d, 1000, 1);
    plat::ListDeleteRow(d, 1000, 0);
    EXPECT_EQ(got, Changes{Change(1, 0x2003, 0x2000, plat::kLvifState, -1)});
    got.clear();
    EXPECT_EQ(plat::ListRowCount(d, 1000), 1);
    EXPECT_EQ(plat::ListGetCell(d, 1000, 0, 0), "1");
    EXPECT_EQ(plat::ListFirstSelected(d, 1000), -1);
    plat::ListSetColumnWidth(d, 1000, 0, plat::kColumnAutosize);
    EXPECT_GT(plat::ListColumnWidth(d, 1000, 0), 0);
    plat::ListSetCell(d, 1000, 0, 0, "1");
    EXPECT_EQ(got, Changes{Change(0, 0, 0, plat::kLvifText, -1)});
    EXPECT_EQ(plat::ListGetCell(d, 1000, 0, 0), "1");
    plat::ListSetCheckedAll(d, 1000, false);
    EXPECT_FALSE(plat::ListIsChecked(d, 1000, 0));
    plat::ListInsertNumberedRow(d, 1000, 1);
    got.clear();
    plat::ListSetCheckedAllSilently(d, 1000, true);
    EXPECT_TRUE(got.empty());
    EXPECT_TRUE(plat::ListIsChecked(d, 1000, 0) && plat::ListIsChecked(d, 1000, 1));
    plat::ListSelectRow(d, 1000, 1);
    got.clear();
    plat::ListClearSelection(d, 1000);
    plat::ListClearSelection(d, 1000);
    EXPECT_EQ(got, Changes{Change(1, 0x2003, 0x2000, plat::kLvifState, -1)});
    got.clear();
    plat::ListInsertNumberedRow(d, 1000, 2, true);
    EXPECT_TRUE(got.empty());
    EXPECT_TRUE(plat::ListIsChecked(d, 1000, 2));

    plat::ComboReset(d, 1080);
    plat::ComboAdd(d, 1080, "A");
    plat::ComboAdd(d, 1080, "B");
    plat::ComboSetSelection(d, 1080, 0);
    r.commands.clear();
    plat::SetControlText(d, 1080, "B");
    EXPECT_EQ(plat::ComboGetSelection(d, 1080), 0);
    EXPECT_EQ(plat::GetControlText(d, 1080), "A");
    EXPECT_TRUE(r.commands.empty());
  });
  plat::RunModalDialog(res::kMainDialog, r, 0);
}

TEST_F(HeadlessTest, NumberedRowsFollowTheirPosition) {
  Recorder r;
  RunDialog(res::kMainDialog, r, [&](plat::Window d) {
    plat::ListInsertColumn(d, 1000, 0, "No", 20, plat::kAlignLeft);
    for (int i = 0; i < 12; ++i) plat::ListInsertNumberedRow(d, 1000, i);
    plat::ListInsertNumberedRow(d, 1000, 99);  // past the end: appended
    EXPECT_EQ(plat::ListGetCell(d, 1000, 12, 0), "13");
    plat::ListSetColumnWidth(d, 1000, 0, plat::kColumnAutosize);
    EXPECT_EQ(plat::ListColumnWidth(d, 1000, 0), 2 * 7 + 12);  // "13" as wide as "No"
    plat::ListDeleteRow(d, 1000, 0);
    plat::ListDeleteRow(d, 1000, 50);  // no such row: nothing
    EXPECT_EQ(plat::ListRowCount(d, 1000), 12);
    EXPECT_EQ(plat::ListGetCell(d, 1000, 11, 0), "12");
    EXPECT_EQ(plat::ListGetCell(d, 1000, 11, 0, 2), "1");  // cut to the buffer
  });
}

TEST_F(HeadlessTest, ListCellsColumnsAndBuffers) {
  Recorder r;
  RunDialog(res::kMainDialog, r, [&](plat::Window d) {
    plat::ListInsertColumn(d, 1000, 0, "No", 20, plat::kAlignLeft);
    plat::ListInsertColumn(d, 1000, 1, "名称", 40, plat::kAlignCenter);
    plat::ListInsertRow(d, 1000, 0, "1");
    plat::ListSetCell(d, 1000, 0, 1, "表表表");
    plat::ListSetCell(d, 1000, 0, 5, "no such column");
    EXPECT_EQ(plat::ListGetCell(d, 1000, 0, 1), "表表表");
    EXPECT_EQ(plat::ListGetCell(d, 1000, 0, 1, 4), "表");  // 3 bytes fit: one character
    EXPECT_EQ(plat::ListGetCell(d, 1000, 0, 5), "");
    plat::ListSetColumnWidth(d, 1000, 1, plat::kColumnAutosize);
    EXPECT_EQ(plat::ListColumnWidth(d, 1000, 1), 6 * 7 + 12);
    plat::ListSetColumnWidth(d, 1000, 0, plat::kColumnAutosize);
    EXPECT_EQ(plat::ListColumnWidth(d, 1000, 0), 2 * 7 + 12);  // the title is the widest
    EXPECT_EQ(headless::ListColumns(d, 1000)[1].align, plat::kAlignCenter);
    plat::SetControlText(d, 1004, "ab表");
    EXPECT_EQ(plat::GetControlText(d, 1004, 4), "ab");
    plat::ListEnsureVisible(d, 1000, 0);
    plat::ListRedrawRow(d, 1000, 0);
    plat::ListRedrawRow(d, 1000, 0);
    EXPECT_EQ(headless::Calls(d, 1000).ensureVisibleRows, std::vector<int>{0});
    EXPECT_EQ(headless::Calls(d, 1000).rowRedraws.at(0), 2);
  });
}

TEST_F(HeadlessTest, UserActionsRaiseWhatTheUserRaises) {
  Recorder r;
  RunDialog(res::kMainDialog, r, [&](plat::Window d) {
    r.events.clear();
    headless::Click(d, 1044);  // auto check box: toggles, then BN_CLICKED
    EXPECT_EQ(plat::GetButtonCheck(d, 1044), 1);
    plat::EnableControl(d, 1026, false);
    headless::Click(d, 1026);  // disabled: nothing
    plat::ShowControl(d, 1023, false);
    headless::Click(d, 1023);  // hidden: nothing
    headless::Type(d, 1001, "5");  // read-only: nothing
    headless::Type(d, 1004, "name");
    plat::ComboAdd(d, 1080, "x");
    plat::ComboAdd(d, 1080, "y");
    headless::ChooseComboItem(d, 1080, 1);
    headless::DropDownCombo(d, 1080);
    EXPECT_EQ(r.events, (std::vector<std::string>{"cmd 1044 0", "cmd 1004 768", "cmd 1080 1",
                                                  "cmd 1080 7"}));
    EXPECT_EQ(plat::GetControlText(d, 1004), "name");
    EXPECT_EQ(plat::ComboGetSelection(d, 1080), 1);
    EXPECT_EQ(plat::GetControlText(d, 1001), "");
    r.events.clear();
    headless::PressEnter(d);  // the default button "保存して終了" is id 1
    headless::PressEscape(d);
    headless::CloseBox(d);
    EXPECT_EQ(r.events, (std::vector<std::string>{"cmd 1 0", "cmd 2 0", "cmd 2 0"}));
  });
}

TEST_F(HeadlessTest, EditLimitAppliesToTypingOnly) {
  Recorder r;
  RunDialog(res::kMainDialog, r, [&](plat::Window d) {
    plat::LimitText(d, 1006, 4);
    EXPECT_EQ(headless::TextLimit(d, 1006), 4);
    plat::SetEditReadOnly(d, 1006, false);
    headless::Type(d, 1006, "123456");
    EXPECT_EQ(plat::GetControlText(d, 1006), "1234");
    plat::SetControlText(d, 1006, "123456");
    EXPECT_EQ(plat::GetControlText(d, 1006), "123456");
  });
}

TEST_F(HeadlessTest, TimersFireInDueOrderAndRepeatUntilStopped) {
  Recorder r;
  r.init = [](plat::Window d) {
    plat::StartTimer(d, 888, 1000);
    plat::StartTimer(d, 999, 2500);
    plat::StartTimer(d, 1234, 100);
    plat::StopTimer(d, 1234);
  };
  r.timer = [](plat::Window d, int id) {
    if (id == 999) plat::StopTimer(d, 999);  // one-shot, as the editor uses them
  };
  RunDialog(res::kMainDialog, r, [&](plat::Window d) {
    EXPECT_EQ(headless::TimerPeriod(d, 888), 1000u);
    headless::AdvanceTime(3000);
    EXPECT_EQ(r.events, (std::vector<std::string>{"timer 888 at 1000", "timer 888 at 2000",
                                                  "timer 999 at 2500", "timer 888 at 3000"}));
    EXPECT_FALSE(headless::TimerRunning(d, 999));
    EXPECT_TRUE(headless::TimerRunning(d, 888));
    r.events.clear();
    headless::AdvanceTime(500);
    plat::StartTimer(d, 888, 1000);  // replaces: due one second from now
    headless::AdvanceTime(999);
    EXPECT_TRUE(r.events.empty());
    headless::AdvanceTime(1);
    EXPECT_EQ(r.events, std::vector<std::string>{"timer 888 at 4500"});
  });
}

TEST_F(HeadlessTest, NestedDialogsRunWithTheirOwnDrivers) {
  Recorder outer, inner;
  outer.command = [&](plat::Window d, int id, int) {
    if (id == 1026) {
      int answer = plat::RunModalDialog(res::kJobNameDialog, inner, d);
      plat::SetControlText(d, 1004, answer == plat::kIdOk ? "ok" : "cancel");
    }
    if (id == 1) plat::EndModalDialog(d, plat::kIdOk);
  };
  inner.command = [&](plat::Window d, int id, int) {
    if (id == 1 || id == 2) plat::EndModalDialog(d, id);
  };
  headless::OnDialog(res::kJobNameDialog, [&](plat::Window d) {
    plat::Window main = headless::OpenDialog(res::kMainDialog);
    EXPECT_EQ(plat::FocusWindow(), plat::ControlWindow(d, 1019));
    headless::Click(main, 2);  // the owner is disabled while the nested dialog runs
    headless::Type(d, 1019, "Job");
    headless::PressEnter(d);
    headless::Type(d, 1019, "too late");  // the dialog has ended
  });
  int result = RunDialog(res::kMainDialog, outer, [&](plat::Window d) {
    headless::Click(d, 1026);
    EXPECT_EQ(plat::GetControlText(d, 1004), "ok");
    headless::Click(d, 1);
  });
  EXPECT_EQ(result, plat::kIdOk);
  EXPECT_EQ(headless::DialogsShown(), (std::vector<int>{res::kMainDialog, res::kJobNameDialog}));
  EXPECT_EQ(headless::DialogsLeftOpen(), 0);
  EXPECT_EQ(inner.events, (std::vector<std::string>{"cmd 1019 768", "cmd 1 0"}));
  EXPECT_EQ(outer.events, (std::vector<std::string>{"cmd 1026 0", "cmd 1004 768", "cmd 1 0"}));
}

TEST_F(HeadlessTest, DialogWindowPlacementAndTopLevelWindows) {
  headless::SetDesktopSize(1280, 1024);
  headless::SetDialogOuterSize(res::kMainDialog, 600, 700);
  Recorder r;
  r.init = [](plat::Window d) {
    plat::AppendSystemMenuItem(d, 16, plat::LoadResourceString(res::kAboutMenuString).c_str());
    plat::SetDialogIcon(d, res::kIcon);
    plat::Rect desk = plat::DesktopRect();
    plat::Rect w = plat::WindowRect(d);
    plat::PlaceWindow(d, 5, desk.bottom - w.bottom - 50, true);
    plat::MoveControlToTop(d, 1020, 635, 473, 45, 16);
    EXPECT_TRUE(plat::AnimationOpen(d, 106, res::kStatusAnimation));
    EXPECT_FALSE(plat::AnimationOpen(d, 1004, res::kStatusAnimation));
    plat::AnimationPlay(d, 106, 0, -1, -1);
  };
  std::uint32_t picker = headless::AddForeignProcess();
  plat::Window pickerWindow = headless::AddTopLevelWindow(picker, "座標取得", true, false);
  RunDialog(res::kMainDialog, r, [&](plat::Window d) {
    EXPECT_EQ(headless::SystemMenuItems(d),
              (std::vector<std::string>{"", "ラディモについて(&A)..."}));
    EXPECT_EQ(headless::DialogIcon(d), res::kIcon);
    plat::Rect w = plat::WindowRect(d);
    EXPECT_EQ(w.left, 5);
    EXPECT_EQ(w.top, 1024 - 700 - 50);
    EXPECT_TRUE(plat::IsTopmost(d));
    EXPECT_EQ(headless::ZOrder(d).front(), 1020);
    EXPECT_EQ(plat::ControlRect(d, 1020).right, 680);
    std::vector<plat::TopLevelWindow> tops = plat::TopLevelWindows();
    ASSERT_EQ(tops.size(), 2u);
    EXPECT_EQ(tops[0].window, d);
    EXPECT_EQ(tops[0].processId, headless::OwnProcessId());
    EXPECT_EQ(tops[1].title, "座標取得");
    plat::PlaceWindow(pickerWindow, 69, 148, true);
    EXPECT_EQ(plat::TopLevelWindows()[0].window, pickerWindow);
    plat::ShowWindowCmd(d, plat::kSwHide);
    EXPECT_FALSE(plat::IsWindowVisible(d));
    headless::Click(d, 1026);  // a hidden dialog cannot be clicked
    plat::ShowWindowCmd(d, plat::kSwRestore);
    EXPECT_EQ(headless::LastShowCommand(d), plat::kSwRestore);
    plat::AnimationStop(d, 106);
    EXPECT_FALSE(headless::Animation(d, 106).playing);
    EXPECT_EQ(headless::Animation(d, 106).stopCount, 1);
    headless::EndProcess(picker);  // its window goes with it
    EXPECT_EQ(plat::TopLevelWindows().size(), 1u);
  });
  EXPECT_TRUE(r.events.empty());
  EXPECT_TRUE(plat::TopLevelWindows().empty());
}

TEST_F(HeadlessTest, WindowQueriesAnswerFromTheWindowTable) {
  const std::uint32_t other = headless::AddForeignProcess();
  const plat::Window below = headless::AddTopLevelWindow(other, "下の窓", true, false);  // 100,100 - 500,400
  const plat::Window above = headless::AddTopLevelWindow(other, std::string(600, 'a'), true, false);
  plat::SetWindowBounds(above, 300, 300, 100, 100, false);
  headless::AddTopLevelWindow(other, "hidden", false, false);  // at 100,100 too, on top
  EXPECT_EQ(plat::TopLevelWindowAt(100, 100), below);
  EXPECT_EQ(plat::TopLevelWindowAt(350, 350), above);
  EXPECT_EQ(plat::TopLevelWindowAt(500, 200), plat::kNoWindow);  // the right edge is outside
  EXPECT_EQ(plat::WindowTitle(above).size(), 511u);
  EXPECT_EQ(plat::WindowProcessId(below), other);

  // The foreground: set by a test, or by a button pressed over a window.
  EXPECT_EQ(plat::ForegroundWindow(), plat::kNoWindow);
  headless::SetForegroundWindow(above);
  EXPECT_EQ(plat::ForegroundWindow(), above);
  std::vector<plat::InputEvent::Kind> seen;
  headless::OnInputSent([&](const headless::SentInput& s) { seen.push_back(s.event.kind); });
  plat::InputEvent move, down;
  move.x = move.y = 150;
  down.kind = plat::InputEvent::RightDown;
  plat::SendInputEvents({move, down});
  EXPECT_EQ(plat::ForegroundWindow(), below);
  EXPECT_EQ(seen, (std::vector<plat::InputEvent::Kind>{plat::InputEvent::Move, plat::InputEvent::RightDown}));

  headless::RemoveTopLevelWindow(below);
  EXPECT_FALSE(plat::WindowExists(below));
  EXPECT_EQ(plat::ForegroundWindow(), plat::kNoWindow);
  EXPECT_EQ(plat::WindowProcessId(below), 0u);
  EXPECT_EQ(plat::WindowTitle(below), "");
  EXPECT_TRUE(plat::WindowExists(above));
}

TEST_F(HeadlessTest, ResetForgetsDriversAndHooks) {
  bool driven = false, hooked = false;
  headless::OnDialog(res::kAboutDialog, [&](plat::Window) { driven = true; });
  headless::OnProcessStart([&](headless::ProcessRecord&) { hooked = true; });
  headless::Reset();
  headless::PutFile("C:\\p.exe", "");
  plat::ProcessStart start;
  start.commandLine = "C:\\p.exe";
  EXPECT_NE(plat::StartProcess(start), 0u);
  Recorder r;
  EXPECT_EQ(plat::RunModalDialog(res::kAboutDialog, r, 0), plat::kIdCancel);
  EXPECT_FALSE(driven);
  EXPECT_FALSE(hooked);
}

}  // namespace

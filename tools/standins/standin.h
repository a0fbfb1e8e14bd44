// Shared helpers of the companion stand-ins that the end-to-end tests place beside
// Tavolex.exe. Each stand-in talks to the test through small files in its own folder.
#pragma once

#include <windows.h>

#include <string>

namespace standin {

// The folder of the running executable, with a trailing backslash.
std::wstring ModuleFolder();

// The whole file, or false when it cannot be opened (other writers are allowed).
bool ReadWholeFile(const std::wstring& path, std::string& bytes);

// Appends the bytes; creates the file when missing.
bool AppendToFile(const std::wstring& path, const std::string& bytes);

bool FileExists(const std::wstring& path);

std::string ToUtf8(const std::wstring& text);

// Puts the bytes (Shift-JIS, no terminator needed) on the clipboard as CF_TEXT,
// retrying while another program holds the clipboard open.
bool PutClipboardText(HWND owner, const std::string& bytes);

// Screen coordinates between the editor and its companions are those a program
// without DPI awareness sees. Windows gives a program that declares nothing
// exactly that; some systems (Wine) treat such a program as aware of each
// monitor's DPI instead, so the stand-ins and the tests say it outright. Call
// first, before any window exists.
void UseDpiUnawareCoordinates();

// Starts a program with the command line; with `hidden`, as the editor starts
// its runner (no window, shown hidden, handles inherited). The process
// handle, or nullptr; `id` receives the process id when given.
HANDLE StartProgram(const std::wstring& commandLine, bool hidden, DWORD* id = nullptr);

// The pointer to a point of the primary screen, in this program's
// coordinates, through SendInput as a user's mouse; the button events given
// (MOUSEEVENTF_LEFTDOWN, ...) go with the move, none for a move alone.
void SendMouse(POINT point, DWORD buttons);

}  // namespace standin

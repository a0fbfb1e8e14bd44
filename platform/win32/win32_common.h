// Shared by the Windows implementation of platform.h: the Windows headers and
// the Shift-JIS <-> UTF-16 conversion at the boundary.
#pragma once

#include "platform/platform.h"

#ifndef UNICODE
#define UNICODE
#endif
#ifndef _UNICODE
#define _UNICODE
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

// platform.h names an enumerator MessageBox; this layer calls MessageBoxW by name.
#undef MessageBox

#include <cstddef>
#include <string>

namespace plat {

// A window of platform.h as the system's handle, and back.
inline HWND H(Window w) { return reinterpret_cast<HWND>(w); }
inline Window W(HWND h) { return reinterpret_cast<Window>(h); }

}  // namespace plat

namespace plat::win32 {

constexpr UINT kShiftJis = 932;

// Shift-JIS to UTF-16. Bytes that are not valid Shift-JIS become the
// system's replacement character, and `exact`, when given, is set to false;
// a null pointer is the empty text.
std::wstring ToWide(const char* sjis, bool* exact = nullptr);

// UTF-16 (`length` code units, or up to the NUL when length is -1) to
// Shift-JIS. A character that code page 932 cannot represent becomes '?'
// (never a look-alike), and `exact`, when given, is set to false.
std::string ToSjis(const wchar_t* text, int length = -1, bool* exact = nullptr);

// True when `c` is the first byte of a two-byte Shift-JIS character.
inline bool IsSjisLeadByte(unsigned char c) { return (c >= 0x81 && c <= 0x9F) || (c >= 0xE0 && c <= 0xFC); }

// Cuts the text to at most maxBytes bytes without splitting a two-byte character.
void CutToBytes(std::string& text, std::size_t maxBytes);

// The text of a window as it is; empty for no window.
std::wstring WideWindowText(HWND window);

// The text of a window, converted; at most bufferSize - 1 bytes. `exact`,
// when given, is set to false when Shift-JIS cannot write all of it.
std::string WindowText(HWND window, std::size_t bufferSize, bool* exact = nullptr);

HINSTANCE ModuleInstance();

// The DPI a window is drawn at (96 at 100 %; the system's where the system
// has no DPI per window).
UINT DpiOf(HWND window);

// Jobs and the companion programs give screen coordinates as a program
// without DPI awareness sees them, while the dialog itself is aware of each
// monitor's DPI. While an object of this class lives, the thread's window
// calls (window rectangles, placement, the desktop's size) use the unaware
// coordinates; the system scales them. Does nothing where the system has no
// per-thread DPI awareness.
class UnawareCoordinates {
 public:
  UnawareCoordinates();
  ~UnawareCoordinates();
  UnawareCoordinates(const UnawareCoordinates&) = delete;
  UnawareCoordinates& operator=(const UnawareCoordinates&) = delete;

 private:
  HANDLE previous_ = nullptr;  // the thread's DPI awareness context before
};

// A list view whose LVN_ITEMCHANGING and LVN_ITEMCHANGED the dialogs keep
// to themselves while it is set (nullptr: none).
extern HWND SilencedList;

}  // namespace plat::win32

// Key presses and mouse clicks as a user makes them (SendInput), for the
// end-to-end tests.
#pragma once

#include <windows.h>

#include "tests/e2e/harness.h"

namespace e2e::input {

inline void SendKey(WORD virtualKey, bool up) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  SendInput(1, &input, sizeof input);
}

inline void PressKey(WORD virtualKey) {
  SendKey(virtualKey, false);
  Sleep(30);
  SendKey(virtualKey, true);
  Sleep(200);
}

// Alt+Space: the window's system menu.
inline void PressAltSpace() {
  SendKey(VK_MENU, false);
  Sleep(30);
  PressKey(VK_SPACE);
  SendKey(VK_MENU, true);
  Sleep(300);
}

// A left click in the middle of a window.
inline void ClickMiddleOf(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  const int x = (r.left + r.right) / 2, y = (r.top + r.bottom) / 2;
  const int width = GetSystemMetrics(SM_CXSCREEN), height = GetSystemMetrics(SM_CYSCREEN);
  INPUT input[3] = {};
  for (INPUT& i : input) i.type = INPUT_MOUSE;
  input[0].mi.dx = static_cast<LONG>((x * 65535LL) / (width - 1));
  input[0].mi.dy = static_cast<LONG>((y * 65535LL) / (height - 1));
  input[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  input[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  input[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(1, &input[0], sizeof(INPUT));
  Sleep(100);
  SendInput(1, &input[1], sizeof(INPUT));
  Sleep(50);
  SendInput(1, &input[2], sizeof(INPUT));
  Sleep(200);
}

// Makes the window the foreground window; false when it does not become it.
inline bool BringToFront(HWND window) {
  return WaitUntil(
      [&] {
        if (GetForegroundWindow() == window) return true;
        SetForegroundWindow(window);
        return false;
      },
      5000, 100);
}

}  // namespace e2e::input

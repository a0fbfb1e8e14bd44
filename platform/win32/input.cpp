// The runner's input: SendInput events, the pointer, the stop keys
// Shift+Esc, short waits that keep the message queue served, the clock, and
// the process's unaware screen coordinates.
#include <algorithm>
#include <cstdio>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_common.h"

namespace plat {
namespace {

constexpr int kStopHotKeyId = 1;
bool stopHotKeyRegistered = false;
bool stopKeysPressed = false;

// The pending messages: the hot key is noted, the rest (the status window's
// painting) is dispatched.
void ServeMessages() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_HOTKEY && msg.wParam == kStopHotKeyId) {
      stopKeysPressed = true;
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

bool KeyIsDown(int vk) { return (GetAsyncKeyState(vk) & 0x8000) != 0; }

INPUT KeyboardInput(const InputEvent& e) {
  INPUT in = {};
  in.type = INPUT_KEYBOARD;
  const bool up = e.kind == InputEvent::KeyUp || e.kind == InputEvent::CharUp;
  if (e.kind == InputEvent::CharDown || e.kind == InputEvent::CharUp) {
    in.ki.wScan = static_cast<WORD>(e.unit);
    in.ki.dwFlags = KEYEVENTF_UNICODE;
  } else {
    in.ki.wVk = static_cast<WORD>(e.virtualKey);
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(static_cast<UINT>(e.virtualKey), MAPVK_VK_TO_VSC));
    if (e.extended) in.ki.dwFlags |= KEYEVENTF_EXTENDEDKEY;
  }
  if (up) in.ki.dwFlags |= KEYEVENTF_KEYUP;
  return in;
}

}  // namespace

void UseUnawareCoordinatesForProcess() {
  // Some systems (Wine) treat a program that declares nothing as aware of
  // each monitor's DPI, so the process says it outright.
  using SetProcessContextFn = BOOL(WINAPI*)(HANDLE);
  const HANDLE unaware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));  // DPI_AWARENESS_CONTEXT_UNAWARE
  auto set = reinterpret_cast<SetProcessContextFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
  if (set != nullptr) set(unaware);
}

std::u16string ToUtf16(const char* sjis, bool* exact) {
  const std::wstring wide = win32::ToWide(sjis, exact);
  return std::u16string(wide.begin(), wide.end());
}

std::size_t SendInputEvents(const std::vector<InputEvent>& events) {
  if (events.empty()) return 0;
  win32::UnawareCoordinates unaware;
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  const int width = std::max(1, GetSystemMetrics(SM_CXVIRTUALSCREEN));
  const int height = std::max(1, GetSystemMetrics(SM_CYVIRTUALSCREEN));
  std::vector<INPUT> inputs;
  inputs.reserve(events.size());
  for (const InputEvent& e : events) {
    INPUT in = {};
    in.type = INPUT_MOUSE;
    switch (e.kind) {
      case InputEvent::Move:
        // The middle of the pixel in the 0..65535 range over the virtual
        // screen, so that the system's rounding down lands on it.
        in.mi.dx = static_cast<LONG>(((e.x - left) * 65536LL + width / 2) / width);
        in.mi.dy = static_cast<LONG>(((e.y - top) * 65536LL + height / 2) / height);
        in.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_VIRTUALDESK;
        break;
      case InputEvent::LeftDown: in.mi.dwFlags = MOUSEEVENTF_LEFTDOWN; break;
      case InputEvent::LeftUp: in.mi.dwFlags = MOUSEEVENTF_LEFTUP; break;
      case InputEvent::RightDown: in.mi.dwFlags = MOUSEEVENTF_RIGHTDOWN; break;
      case InputEvent::RightUp: in.mi.dwFlags = MOUSEEVENTF_RIGHTUP; break;
      default: in = KeyboardInput(e); break;
    }
    inputs.push_back(in);
  }
  const UINT sent = SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
  const InputEvent& last = events.back();
  if (sent == inputs.size() && last.kind == InputEvent::Move) {
    POINT p = {};
    if (GetCursorPos(&p) && (p.x != last.x || p.y != last.y)) SetCursorPos(last.x, last.y);
  }
  return sent;
}

bool PointerPosition(int* x, int* y) {
  win32::UnawareCoordinates unaware;
  POINT p = {};
  if (!GetCursorPos(&p)) return false;
  *x = p.x;
  *y = p.y;
  return true;
}

Rect VirtualScreen() {
  win32::UnawareCoordinates unaware;
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN);
  const int top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return {left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

void WatchStopKeys() {
  stopKeysPressed = false;
  // MOD_NOREPEAT: holding the keys gives one press.
  stopHotKeyRegistered = RegisterHotKey(nullptr, kStopHotKeyId, MOD_SHIFT | 0x4000, VK_ESCAPE) != FALSE;
  GetAsyncKeyState(VK_ESCAPE);  // forgets a press from before the run
}

void EndStopKeys() {
  if (stopHotKeyRegistered) UnregisterHotKey(nullptr, kStopHotKeyId);
  stopHotKeyRegistered = false;
}

bool StopKeysPressed() {
  ServeMessages();
  // The key state serves when another program holds the hot key; the low
  // bit catches a press shorter than the time between two looks.
  if (!stopKeysPressed && KeyIsDown(VK_SHIFT) && (GetAsyncKeyState(VK_ESCAPE) & 0x8001) != 0) {
    stopKeysPressed = true;
  }
  return stopKeysPressed;
}

void WaitBriefly(unsigned milliseconds) {
  MsgWaitForMultipleObjectsEx(0, nullptr, milliseconds, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  ServeMessages();
}

std::uint64_t Milliseconds() { return GetTickCount64(); }

std::string LocalTimeText() {
  SYSTEMTIME t = {};
  GetLocalTime(&t);
  char text[32];
  std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u.%03u", t.wYear, t.wMonth, t.wDay, t.wHour,
                t.wMinute, t.wSecond, t.wMilliseconds);
  return text;
}

}  // namespace plat

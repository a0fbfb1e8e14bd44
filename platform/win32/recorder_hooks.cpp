// The recorder's view of the user's input: the low-level mouse and keyboard
// hooks, the system's click sizes, the characters a key types and the
// password style of the focused control.
#include <cwctype>
#include <vector>

#include "platform/platform.h"
#include "platform/win32/win32_common.h"

namespace plat {
namespace {

// The hooks live on a thread of their own that does nothing but serve its
// messages, so that they answer at once however long the recorder takes
// over an event (the system drops a hook that answers late).
HHOOK mouseHook = nullptr;
HHOOK keyboardHook = nullptr;
HANDLE hookThread = nullptr;
DWORD hookThreadId = 0;
CRITICAL_SECTION queueLock;
// Filled by the hook procedures, emptied by TakeHookedInput, under queueLock.
std::vector<HookedInput> queued;
std::vector<POINT> queuedPoints;  // the hooks' points, in the display's pixels

void Queue(const HookedInput& e, POINT p) {
  EnterCriticalSection(&queueLock);
  queued.push_back(e);
  queuedPoints.push_back(p);
  LeaveCriticalSection(&queueLock);
}

LRESULT CALLBACK MouseProc(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    HookedInput e;
    bool wanted = true;
    switch (message) {
      case WM_LBUTTONDOWN: e.kind = HookedInput::LeftDown; break;
      case WM_LBUTTONUP: e.kind = HookedInput::LeftUp; break;
      case WM_RBUTTONDOWN: e.kind = HookedInput::RightDown; break;
      case WM_RBUTTONUP: e.kind = HookedInput::RightUp; break;
      case WM_MBUTTONDOWN: case WM_XBUTTONDOWN: e.kind = HookedInput::OtherButtonDown; break;
      case WM_MBUTTONUP: case WM_XBUTTONUP: e.kind = HookedInput::OtherButtonUp; break;
      case WM_MOUSEWHEEL: case WM_MOUSEHWHEEL: e.kind = HookedInput::Wheel; break;
      default: wanted = false; break;  // moves: the pointer is read when needed
    }
    if (wanted) {
      e.ms = GetTickCount64();
      Queue(e, reinterpret_cast<const MSLLHOOKSTRUCT*>(data)->pt);
    }
  }
  return CallNextHookEx(nullptr, code, message, data);
}

LRESULT CALLBACK KeyboardProc(int code, WPARAM message, LPARAM data) {
  if (code == HC_ACTION) {
    const auto* k = reinterpret_cast<const KBDLLHOOKSTRUCT*>(data);
    HookedInput e;
    e.kind = message == WM_KEYDOWN || message == WM_SYSKEYDOWN ? HookedInput::KeyDown : HookedInput::KeyUp;
    e.ms = GetTickCount64();
    e.virtualKey = static_cast<int>(k->vkCode);
    e.scanCode = static_cast<int>(k->scanCode);
    e.extended = (k->flags & LLKHF_EXTENDED) != 0;
    Queue(e, POINT{});
  }
  return CallNextHookEx(nullptr, code, message, data);
}

// The hooks give points in the display's pixels (those of a program aware
// of each monitor's DPI). The virtual screen seen both ways gives the scale
// that the runner's input undoes: it spreads the unaware virtual screen over
// the whole display.
struct Scale {
  RECT display = {}, unaware = {};
  POINT ToUnaware(POINT p) const {
    const LONG dw = display.right - display.left, dh = display.bottom - display.top;
    if (dw <= 0 || dh <= 0) return p;
    return POINT{unaware.left + MulDiv(p.x - display.left, unaware.right - unaware.left, dw),
                 unaware.top + MulDiv(p.y - display.top, unaware.bottom - unaware.top, dh)};
  }
};

RECT VirtualScreenRect() {
  const int left = GetSystemMetrics(SM_XVIRTUALSCREEN), top = GetSystemMetrics(SM_YVIRTUALSCREEN);
  return RECT{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN), top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

Scale DisplayScale() {
  using SetContextFn = HANDLE(WINAPI*)(HANDLE);
  static auto set = reinterpret_cast<SetContextFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
  Scale scale;
  scale.display = scale.unaware = VirtualScreenRect();
  if (set == nullptr) return scale;
  // Aware of each monitor (v2, or v1 where v2 is unknown, as on Wine 8).
  HANDLE before = set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4)));
  if (before == nullptr) before = set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-3)));
  if (before != nullptr) {
    scale.display = VirtualScreenRect();
    set(reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1)));  // unaware
    scale.unaware = VirtualScreenRect();
    set(before);
  }
  return scale;
}

void RemoveHooks() {
  if (mouseHook != nullptr) UnhookWindowsHookEx(mouseHook);
  if (keyboardHook != nullptr) UnhookWindowsHookEx(keyboardHook);
  mouseHook = keyboardHook = nullptr;
}

// Installs the hooks, tells the starter through `ready` whether they are in,
// and serves its messages until WM_QUIT.
DWORD WINAPI HookThread(LPVOID readyEvent) {
  MSG msg;
  PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // the thread's queue, for WM_QUIT
  const HINSTANCE module = GetModuleHandleW(nullptr);
  mouseHook = SetWindowsHookExW(WH_MOUSE_LL, MouseProc, module, 0);
  keyboardHook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardProc, module, 0);
  const bool installed = mouseHook != nullptr && keyboardHook != nullptr;
  if (!installed) RemoveHooks();
  SetEvent(static_cast<HANDLE>(readyEvent));
  if (!installed) return 1;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  RemoveHooks();
  return 0;
}

}  // namespace

bool StartInputHooks() {
  static bool lockMade = false;
  if (!lockMade) InitializeCriticalSection(&queueLock);
  lockMade = true;
  if (hookThread != nullptr) return true;
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (ready == nullptr) return false;
  hookThread = CreateThread(nullptr, 0, HookThread, ready, 0, &hookThreadId);
  if (hookThread != nullptr) WaitForSingleObject(ready, INFINITE);
  CloseHandle(ready);
  DWORD code = STILL_ACTIVE;
  if (hookThread != nullptr && GetExitCodeThread(hookThread, &code) && code == STILL_ACTIVE) return true;
  if (hookThread != nullptr) {
    WaitForSingleObject(hookThread, INFINITE);
    CloseHandle(hookThread);
  }
  hookThread = nullptr;
  return false;
}

void StopInputHooks() {
  if (hookThread == nullptr) return;
  PostThreadMessageW(hookThreadId, WM_QUIT, 0, 0);
  WaitForSingleObject(hookThread, 5000);
  CloseHandle(hookThread);
  hookThread = nullptr;
}

std::vector<HookedInput> TakeHookedInput() {
  std::vector<HookedInput> out;
  std::vector<POINT> points;
  if (hookThread == nullptr) return out;
  EnterCriticalSection(&queueLock);
  out.swap(queued);
  points.swap(queuedPoints);
  LeaveCriticalSection(&queueLock);
  const Scale scale = DisplayScale();
  for (std::size_t i = 0; i < out.size() && i < points.size(); ++i) {
    if (out[i].kind >= HookedInput::KeyDown) continue;
    const POINT p = scale.ToUnaware(points[i]);
    out[i].x = p.x;
    out[i].y = p.y;
  }
  return out;
}

ClickMetrics SystemClickMetrics() {
  win32::UnawareCoordinates unaware;
  ClickMetrics m;
  m.doubleClickMs = GetDoubleClickTime();
  m.doubleClickWidth = GetSystemMetrics(SM_CXDOUBLECLK);
  m.doubleClickHeight = GetSystemMetrics(SM_CYDOUBLECLK);
  m.dragWidth = GetSystemMetrics(SM_CXDRAG);
  m.dragHeight = GetSystemMetrics(SM_CYDRAG);
  return m;
}

std::string KeyText(Window window, int virtualKey, int scanCode, bool shift, bool ctrlAlt, bool* exact) {
  if (exact != nullptr) *exact = true;
  const HKL layout = GetKeyboardLayout(GetWindowThreadProcessId(H(window), nullptr));
  BYTE state[256] = {};
  if (shift) state[VK_SHIFT] = state[VK_LSHIFT] = 0x80;
  if (ctrlAlt) state[VK_CONTROL] = state[VK_LCONTROL] = state[VK_MENU] = state[VK_RMENU] = 0x80;
  if ((GetKeyState(VK_CAPITAL) & 1) != 0) state[VK_CAPITAL] = 0x01;
  wchar_t typed[8] = {};
  // Flag 0x4: the dead-key state of the keyboard stays as the user left it.
  const int n = ToUnicodeEx(static_cast<UINT>(virtualKey), static_cast<UINT>(scanCode), state, typed, 8, 0x4, layout);
  if (n <= 0) return std::string();
  return win32::ToSjis(typed, n, exact);
}

bool FocusIsPassword(Window window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(H(window), nullptr), &info) || info.hwndFocus == nullptr) {
    return false;
  }
  // ES_PASSWORD's bit means other things for other controls: edits only.
  wchar_t name[64] = {};
  GetClassNameW(info.hwndFocus, name, 64);
  for (wchar_t& c : name) c = static_cast<wchar_t>(std::towlower(c));
  return std::wstring(name).find(L"edit") != std::wstring::npos &&
         (GetWindowLongPtrW(info.hwndFocus, GWL_STYLE) & ES_PASSWORD) != 0;
}

}  // namespace plat

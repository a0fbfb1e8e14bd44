// The recorder's section of the Win32 platform layer: the hooks see input
// with its point and key, a key's characters come from the window's keyboard
// layout, and a focused password edit is told from a plain one.
#include "platform/win32/win32_common.h"

#include <cstdio>

#include "platform/platform.h"

namespace {

int failures = 0;

void Expect(bool ok, const char* what) {
  if (ok) return;
  ++failures;
  std::printf("FAIL recorder section: %s\n", what);
}

}  // namespace

int TestRecorderSection() {
  using H = plat::HookedInput;
  using E = plat::InputEvent;
  Expect(plat::SystemClickMetrics().doubleClickMs > 0, "the double-click time");
  Expect(plat::StartInputHooks(), "the hooks are installed");
  E move;
  move.x = 123;
  move.y = 234;
  E down, up, key, keyUp;
  down.kind = E::LeftDown;
  up.kind = E::LeftUp;
  key.kind = E::KeyDown;
  key.virtualKey = VK_F13;  // a key no window acts on
  keyUp = key;
  keyUp.kind = E::KeyUp;
  plat::SendInputEvents({move, down, up, key, keyUp});
  std::vector<H> seen;
  const std::uint64_t start = plat::Milliseconds();
  while (seen.size() < 4 && plat::Milliseconds() - start < 2000) {
    plat::WaitBriefly(20);
    for (const H& h : plat::TakeHookedInput()) seen.push_back(h);
  }
  plat::StopInputHooks();
  Expect(seen.size() == 4, "a click and a key make four events (no moves)");
  if (seen.size() == 4) {
    Expect(seen[0].kind == H::LeftDown && seen[0].x == 123 && seen[0].y == 234 && seen[1].kind == H::LeftUp,
           "the button's events at the pointer");
    Expect(seen[2].kind == H::KeyDown && seen[2].virtualKey == VK_F13 && seen[3].kind == H::KeyUp, "the key's events");
  }

  HWND top = CreateWindowExW(0, L"STATIC", L"記録の窓", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 50, 50, 300, 200, nullptr,
                             nullptr, plat::win32::ModuleInstance(), nullptr);
  HWND plain = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 10, 10, 100, 20, top, nullptr,
                               plat::win32::ModuleInstance(), nullptr);
  HWND secret = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_PASSWORD, 10, 40, 100, 20, top, nullptr,
                                plat::win32::ModuleInstance(), nullptr);
  const plat::Window window = plat::W(top);
  bool exact = false;
  const int scan = static_cast<int>(MapVirtualKeyW('A', MAPVK_VK_TO_VSC));
  Expect(plat::KeyText(window, 'A', scan, false, false, &exact) == "a" && exact, "a letter");
  Expect(plat::KeyText(window, 'A', scan, true, false, &exact) == "A", "a capital with Shift");
  Expect(plat::KeyText(window, VK_RETURN, 0x1C, false, false, &exact) == "\r", "Enter types a carriage return");
  Expect(plat::KeyText(window, VK_F5, 0x3F, false, false, &exact).empty(), "F5 types nothing");
  SetFocus(plain);
  Expect(!plat::FocusIsPassword(window), "a plain edit");
  SetFocus(secret);
  Expect(plat::FocusIsPassword(window), "a password edit");
  DestroyWindow(top);
  return failures;
}

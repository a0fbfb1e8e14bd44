// The runner's section of the Win32 platform layer, with the rules its
// headless twin copies: Shift-JIS converted as code page 932 does, a move
// landing on its pixel, the stop keys seen, a maximised window restored
// before it is placed, the window under a point with the windows that let
// clicks pass skipped, and the questions about a window that is gone.
#include "platform/win32/win32_common.h"

#include <cstdio>

#include "platform/platform.h"

namespace {

int failures = 0;

void Expect(bool ok, const char* what) {
  if (ok) return;
  ++failures;
  std::printf("FAIL runner section: %s\n", what);
}

plat::InputEvent Key(plat::InputEvent::Kind kind, int vk) {
  plat::InputEvent e;
  e.kind = kind;
  e.virtualKey = vk;
  return e;
}

}  // namespace

int TestRunnerSection() {
  bool exact = false;
  Expect(plat::ToUtf16("日本①～― a", &exact) == u"日本\u2460\uFF5E\u2015 a" && exact, "Shift-JIS to UTF-16");
  plat::ToUtf16("a\x82", &exact);
  Expect(!exact, "a lone lead byte is not exact");

  const plat::Rect screen = plat::VirtualScreen();
  for (POINT p : {POINT{1, 1}, POINT{123, 234}, POINT{screen.right - 1, screen.bottom - 1}}) {
    plat::InputEvent move;
    move.x = p.x;
    move.y = p.y;
    int x = -1, y = -1;
    Expect(plat::SendInputEvents({move}) == 1 && plat::PointerPosition(&x, &y) && x == p.x && y == p.y,
           "a move lands on its pixel");
  }

  using E = plat::InputEvent;
  plat::WatchStopKeys();
  Expect(!plat::StopKeysPressed(), "no stop before the keys");
  Expect(plat::SendInputEvents({Key(E::KeyDown, VK_SHIFT), Key(E::KeyDown, VK_ESCAPE), Key(E::KeyUp, VK_ESCAPE),
                                Key(E::KeyUp, VK_SHIFT)}) == 4,
         "four key events inserted");
  const std::uint64_t start = plat::Milliseconds();
  while (!plat::StopKeysPressed() && plat::Milliseconds() - start < 2000) plat::WaitBriefly(20);
  Expect(plat::StopKeysPressed(), "Shift+Esc is seen");
  plat::EndStopKeys();
  plat::WatchStopKeys();
  Expect(!plat::StopKeysPressed(), "a new watch forgets the earlier press");
  plat::EndStopKeys();

  const std::uint64_t before = plat::Milliseconds();
  plat::WaitBriefly(60);
  Expect(plat::Milliseconds() - before >= 50, "a brief wait waits");

  HWND w = CreateWindowExW(0, L"STATIC", L"placed", WS_OVERLAPPEDWINDOW, 50, 50, 200, 150, nullptr, nullptr,
                           plat::win32::ModuleInstance(), nullptr);
  ShowWindow(w, SW_SHOWMAXIMIZED);
  const plat::Window window = plat::W(w);
  Expect(plat::ArrangeTopLevelWindow(window, -8, 20, 300, 200), "placed");
  const plat::Rect r = plat::WindowRect(window);
  Expect(!IsZoomed(w) && r.left == -8 && r.top == 20 && r.right == 292 && r.bottom == 220,
         "a maximised window is restored, then placed");
  DestroyWindow(w);
  Expect(!plat::OpenAsExplorerDoes("C:\\no\\such\\program.exe", ""), "a missing program does not open");

  // Two plain windows, one partly over the other, and a layered window that
  // lets clicks pass over both.
  WNDCLASSW cls = {};
  cls.lpfnWndProc = DefWindowProcW;
  cls.hInstance = plat::win32::ModuleInstance();
  cls.lpszClassName = L"TavolexWindowQueries";
  RegisterClassW(&cls);
  auto make = [&](const wchar_t* title, int x, int y, DWORD exStyle) {
    HWND h = CreateWindowExW(WS_EX_TOPMOST | exStyle, cls.lpszClassName, title, WS_POPUP | WS_VISIBLE, x, y, 200,
                             150, nullptr, nullptr, cls.hInstance, nullptr);
    if (exStyle & WS_EX_LAYERED) SetLayeredWindowAttributes(h, 0, 235, LWA_ALPHA);
    return h;
  };
  HWND lower = make(L"下の窓", 300, 300, 0);
  HWND upper = make(L"上の窓", 400, 350, 0);
  HWND passing = make(L"", 300, 300, WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE);
  SetForegroundWindow(upper);  // which also raises it
  plat::WaitBriefly(50);
  Expect(plat::TopLevelWindowAt(310, 310) == plat::W(lower), "the window under a point");
  Expect(plat::TopLevelWindowAt(450, 400) == plat::W(upper), "the upper of two windows");
  Expect(plat::ForegroundWindow() == plat::W(upper), "the foreground window");
  Expect(plat::WindowProcessId(plat::W(upper)) == GetCurrentProcessId(), "a window's process");
  Expect(plat::WindowTitle(plat::W(lower)) == "\x89\xba\x82\xcc\x91\x8b", "a window's title in Shift-JIS");
  DestroyWindow(upper);
  DestroyWindow(passing);
  Expect(plat::TopLevelWindowAt(450, 400) == plat::W(lower), "a closed window is no longer under the point");
  Expect(!plat::WindowExists(plat::W(upper)) && plat::WindowProcessId(plat::W(upper)) == 0 &&
             plat::WindowTitle(plat::W(upper)).empty() && plat::WindowExists(plat::W(lower)),
         "a closed window is gone");
  DestroyWindow(lower);
  return failures;
}

// The coordinate picker's marker window (RunMarkerWindow).
//
// The program is aware of each monitor's DPI and draws the window at the
// monitor's scale, so that the marker lies at (markerX, markerY) of the
// window in the coordinates of a program without DPI awareness: the editor
// places the window in those coordinates, and the answers are given in them.
//
// During a drag the square around the marker's centre is cut out of the
// window, so that the pixels under the marker can be magnified. The drag
// never changes the foreground: a window that takes it loses it again under
// a window manager (Wine's X11 driver then cancels the mode and takes the
// capture). The capture comes from the button press alone, but Wine routes a
// capture's moves only to the foreground's thread, and Escape goes to the
// window with the focus; so the magnifier's timer also follows the pointer
// and reads the button and Escape from their state. Only the menu takes the
// foreground, so that it closes when the user clicks elsewhere.
#include <algorithm>
#include <string>

#include "platform/platform.h"
#include "platform/win32/win32_common.h"

namespace plat {
namespace {

// The layout at 96 DPI.
constexpr int kWidth = 176;
constexpr int kHeight = 112;
constexpr int kHeader = 18;                // the title strip
constexpr int kRing = 15;                  // the marker's ring, around its centre
constexpr int kHole = 10;                  // half the side of the square cut out during a drag
constexpr int kMagnifierX = 64, kMagnifierY = 22, kMagnifierSize = 105;
constexpr int kMagnifiedPixels = 21;       // odd: the centre pixel is the marker's
constexpr int kNoteTop = 72;               // the point's text below the marker
constexpr UINT_PTR kMagnifierTimer = 1;
constexpr UINT kMagnifierPeriod = 40;
constexpr UINT_PTR kRaiseTimer = 2;
constexpr UINT kFirstRaise = 150;    // after the other program has handled the change
constexpr UINT kSecondRaise = 1200;  // after the editor's next poll
constexpr int kRaises = 2;

constexpr COLORREF kHeaderColor = RGB(0, 70, 140);
constexpr COLORREF kMarkerColor = RGB(220, 0, 0);
constexpr COLORREF kBackColor = RGB(250, 250, 240);
constexpr COLORREF kTextColor = RGB(0, 0, 0);
constexpr COLORREF kWarningColor = RGB(200, 0, 0);

struct Marker {
  const MarkerWindowSetup* setup = nullptr;
  MarkerHandler* handler = nullptr;
  UINT dpi = 96;
  HFONT font = nullptr;
  HMENU menu = nullptr;
  bool dragging = false;
  POINT grab = {};             // the pointer from the window's corner, screen pixels
  POINT pointer = {};          // where the drag last followed the pointer to
  RECT start = {};             // the window before the drag
  MarkerNote point;            // the point during and after a drag
  MarkerNote note;             // the last answer, or the hint
  HBITMAP magnified = nullptr; // the pixels around the centre, kMagnifiedPixels square
  int raisesLeft = 0;
  bool inMenu = false;         // the menu is shown: it stays on top
};

Marker g_marker;

int Scale(int v) { return MulDiv(v, static_cast<int>(g_marker.dpi), 96); }

void UseDpi(HWND window, UINT dpi) {
  g_marker.dpi = dpi;
  if (g_marker.font) DeleteObject(g_marker.font);
  g_marker.font = CreateFontW(-Scale(12), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                              OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                              DEFAULT_PITCH | FF_DONTCARE, L"MS UI Gothic");
  SetWindowPos(window, nullptr, 0, 0, Scale(kWidth), Scale(kHeight),
               SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

POINT CentreInWindow() { return {Scale(g_marker.setup->markerX), Scale(g_marker.setup->markerY)}; }

// The marker's centre in the coordinates of a program without DPI awareness.
POINT MarkerPoint(HWND window) {
  const Rect r = WindowRect(W(window));
  return {r.left + g_marker.setup->markerX, r.top + g_marker.setup->markerY};
}

void CaptureMagnified(HWND window) {
  RECT r = {};
  GetWindowRect(window, &r);
  const POINT c = CentreInWindow();
  const int half = kMagnifiedPixels / 2;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  if (!g_marker.magnified) {
    g_marker.magnified = CreateCompatibleBitmap(screen, kMagnifiedPixels, kMagnifiedPixels);
  }
  HGDIOBJ old = SelectObject(memory, g_marker.magnified);
  BitBlt(memory, 0, 0, kMagnifiedPixels, kMagnifiedPixels, screen, r.left + c.x - half, r.top + c.y - half,
         SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
}

void DrawTextIn(HDC dc, const std::string& sjis, RECT r, COLORREF color) {
  const std::wstring text = win32::ToWide(sjis.c_str());
  SetTextColor(dc, color);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, DT_LEFT | DT_TOP | DT_NOPREFIX);
}

void DrawMarker(HDC dc) {
  const POINT c = CentreInWindow();
  const int ring = Scale(kRing), hole = Scale(kHole);
  HPEN ringPen = CreatePen(PS_SOLID, std::max(2, Scale(2)), kMarkerColor);
  HPEN linePen = CreatePen(PS_SOLID, 1, kMarkerColor);
  HGDIOBJ oldPen = SelectObject(dc, ringPen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(g_marker.dragging ? HOLLOW_BRUSH : WHITE_BRUSH));
  Ellipse(dc, c.x - ring, c.y - ring, c.x + ring + 1, c.y + ring + 1);
  SelectObject(dc, linePen);
  const int reach = ring + Scale(4);
  if (g_marker.dragging) {
    // Arms from outside the ring to the cut-out square.
    MoveToEx(dc, c.x - reach, c.y, nullptr);
    LineTo(dc, c.x - hole, c.y);
    MoveToEx(dc, c.x + hole + 1, c.y, nullptr);
    LineTo(dc, c.x + reach + 1, c.y);
    MoveToEx(dc, c.x, c.y - reach, nullptr);
    LineTo(dc, c.x, c.y - hole);
    MoveToEx(dc, c.x, c.y + hole + 1, nullptr);
    LineTo(dc, c.x, c.y + reach + 1);
  } else {
    MoveToEx(dc, c.x - reach, c.y, nullptr);
    LineTo(dc, c.x + reach + 1, c.y);
    MoveToEx(dc, c.x, c.y - reach, nullptr);
    LineTo(dc, c.x, c.y + reach + 1);
  }
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(ringPen);
  DeleteObject(linePen);
}

void DrawMagnifier(HDC dc) {
  const int x = Scale(kMagnifierX), y = Scale(kMagnifierY), size = Scale(kMagnifierSize);
  if (g_marker.magnified) {
    HDC memory = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(memory, g_marker.magnified);
    SetStretchBltMode(dc, COLORONCOLOR);
    StretchBlt(dc, x, y, size, size, memory, 0, 0, kMagnifiedPixels, kMagnifiedPixels, SRCCOPY);
    SelectObject(memory, old);
    DeleteDC(memory);
  }
  // The centre pixel, framed.
  const int cell = size / kMagnifiedPixels, half = kMagnifiedPixels / 2;
  HPEN pen = CreatePen(PS_SOLID, 1, kMarkerColor);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(HOLLOW_BRUSH));
  Rectangle(dc, x + half * cell - 1, y + half * cell - 1, x + (half + 1) * cell + 1, y + (half + 1) * cell + 1);
  SelectObject(dc, GetStockObject(BLACK_PEN));
  Rectangle(dc, x - 1, y - 1, x + size + 1, y + size + 1);
  SelectObject(dc, oldBrush);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void Paint(HWND window) {
  PAINTSTRUCT ps;
  HDC target = BeginPaint(window, &ps);
  RECT client;
  GetClientRect(window, &client);
  HDC dc = CreateCompatibleDC(target);
  HBITMAP buffer = CreateCompatibleBitmap(target, client.right, client.bottom);
  HGDIOBJ oldBitmap = SelectObject(dc, buffer);
  HGDIOBJ oldFont = SelectObject(dc, g_marker.font);
  SetBkMode(dc, TRANSPARENT);

  HBRUSH back = CreateSolidBrush(kBackColor);
  FillRect(dc, &client, back);
  DeleteObject(back);
  RECT header = {0, 0, client.right, Scale(kHeader)};
  HBRUSH headerBrush = CreateSolidBrush(kHeaderColor);
  FillRect(dc, &header, headerBrush);
  DeleteObject(headerBrush);
  header.left = Scale(4);
  header.top = Scale(2);
  DrawTextIn(dc, g_marker.setup->title, header, RGB(255, 255, 255));
  FrameRect(dc, &client, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));

  DrawMarker(dc);
  RECT pointText = {Scale(3), Scale(kNoteTop), Scale(kMagnifierX) - Scale(2), client.bottom - Scale(2)};
  DrawTextIn(dc, g_marker.point.text, pointText, g_marker.point.warning ? kWarningColor : kTextColor);
  if (g_marker.dragging) {
    DrawMagnifier(dc);
  } else {
    RECT noteText = {Scale(kMagnifierX), Scale(kMagnifierY), client.right - Scale(3), client.bottom - Scale(2)};
    DrawTextIn(dc, g_marker.note.text, noteText, g_marker.note.warning ? kWarningColor : kTextColor);
  }

  BitBlt(target, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
  SelectObject(dc, oldFont);
  SelectObject(dc, oldBitmap);
  DeleteObject(buffer);
  DeleteDC(dc);
  EndPaint(window, &ps);
}

bool OnMarker(POINT client) {
  const POINT c = CentreInWindow();
  const int dx = client.x - c.x, dy = client.y - c.y, r = Scale(kRing + 3);
  return dx * dx + dy * dy <= r * r;
}

// The marker goes back above the other topmost windows a few times over the
// next moments: the editor, also topmost, may raise its own window again
// when it is activated or acts on an answer (it polls once a second), and
// Wine may stack it so on the screen while its own window order still
// shows the marker first, so the marker leaves the topmost band for an
// instant to be stacked anew.
void KeepOnTop(HWND window) {
  g_marker.raisesLeft = kRaises;
  SetTimer(window, kRaiseTimer, kFirstRaise, nullptr);
}

void Raise(HWND window) {
  SetWindowPos(window, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// The window that had the foreground gets it back.
void GiveForegroundBack(HWND window, HWND previous) {
  if (previous && previous != window && IsWindow(previous) && GetForegroundWindow() != previous) {
    SetForegroundWindow(previous);
  }
  KeepOnTop(window);
}

// The button that is the left one for the user (the buttons may be swapped;
// GetAsyncKeyState reads the physical ones).
int DragButton() { return GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON; }

void BeginDrag(HWND window) {
  POINT pointer;
  GetCursorPos(&pointer);
  GetWindowRect(window, &g_marker.start);
  g_marker.grab = {pointer.x - g_marker.start.left, pointer.y - g_marker.start.top};
  g_marker.pointer = pointer;
  GetAsyncKeyState(VK_ESCAPE);  // forgets a press from before the drag
  g_marker.dragging = true;
  SetCapture(window);
  const POINT c = CentreInWindow();
  const int hole = Scale(kHole);
  HRGN shape = CreateRectRgn(0, 0, Scale(kWidth), Scale(kHeight));
  HRGN cut = CreateRectRgn(c.x - hole, c.y - hole, c.x + hole + 1, c.y + hole + 1);
  CombineRgn(shape, shape, cut, RGN_DIFF);
  DeleteObject(cut);
  SetWindowRgn(window, shape, TRUE);  // the system owns the region now
  SetTimer(window, kMagnifierTimer, kMagnifierPeriod, nullptr);
  const POINT p = MarkerPoint(window);
  g_marker.point = g_marker.handler->OnMarkerMoved(p.x, p.y);
  CaptureMagnified(window);
  InvalidateRect(window, nullptr, FALSE);
}

void FollowPointer(HWND window) {
  POINT pointer;
  if (!GetCursorPos(&pointer)) return;
  g_marker.pointer = pointer;
  SetWindowPos(window, HWND_TOPMOST, pointer.x - g_marker.grab.x, pointer.y - g_marker.grab.y, 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
  const POINT p = MarkerPoint(window);
  g_marker.point = g_marker.handler->OnMarkerMoved(p.x, p.y);
  CaptureMagnified(window);
  InvalidateRect(window, nullptr, FALSE);
}

// Ends a drag: with `answer`, the point is given to the handler; without
// (Escape, or the capture taken away), the window goes back where it was.
void EndDrag(HWND window, bool answer) {
  if (!g_marker.dragging) return;
  g_marker.dragging = false;
  KillTimer(window, kMagnifierTimer);
  if (GetCapture() == window) ReleaseCapture();
  SetWindowRgn(window, nullptr, TRUE);
  if (answer) {  // the drag's last move already told the handler this point
    const POINT p = MarkerPoint(window);
    g_marker.note = g_marker.handler->OnMarkerDropped(p.x, p.y);
  } else {
    SetWindowPos(window, HWND_TOPMOST, g_marker.start.left, g_marker.start.top, 0, 0, SWP_NOSIZE | SWP_NOACTIVATE);
    g_marker.point = {};
  }
  KeepOnTop(window);
  InvalidateRect(window, nullptr, FALSE);
}

// The magnifier's tick during a drag: the drag as the pointer, the button
// and Escape stand now, whichever window their messages went to.
void TrackDrag(HWND window) {
  if (!(GetAsyncKeyState(DragButton()) & 0x8000)) {
    FollowPointer(window);
    EndDrag(window, true);
    return;
  }
  if (GetAsyncKeyState(VK_ESCAPE) & 0x8001) {
    EndDrag(window, false);
    return;
  }
  POINT pointer;
  if (GetCursorPos(&pointer) && (pointer.x != g_marker.pointer.x || pointer.y != g_marker.pointer.y)) {
    FollowPointer(window);
    return;
  }
  CaptureMagnified(window);
  InvalidateRect(window, nullptr, FALSE);
}

void ShowMenu(HWND window, POINT screen) {
  if (!g_marker.menu) {
    g_marker.menu = CreatePopupMenu();
    for (std::size_t i = 0; i < g_marker.setup->menu.size(); ++i) {
      AppendMenuW(g_marker.menu, MF_STRING, i + 1, win32::ToWide(g_marker.setup->menu[i].c_str()).c_str());
    }
  }
  HWND previous = GetForegroundWindow();
  SetForegroundWindow(window);  // so that the menu closes when the user clicks elsewhere
  g_marker.inMenu = true;
  const int command = TrackPopupMenu(g_marker.menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_NONOTIFY, screen.x,
                                     screen.y, 0, window, nullptr);
  g_marker.inMenu = false;
  PostMessageW(window, WM_NULL, 0, 0);
  GiveForegroundBack(window, previous);
  if (command > 0) {
    g_marker.note = g_marker.handler->OnMenuChosen(command - 1);
    InvalidateRect(window, nullptr, FALSE);
  }
}

LRESULT CALLBACK MarkerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_WINDOWPOSCHANGING:
      // Shown or moved by the editor: never activated.
      reinterpret_cast<WINDOWPOS*>(lParam)->flags |= SWP_NOACTIVATE;
      return 0;
    case WM_WINDOWPOSCHANGED:
      // Moved onto a stored point by the editor, which then takes the focus.
      if (!g_marker.dragging && !(reinterpret_cast<const WINDOWPOS*>(lParam)->flags & SWP_NOMOVE)) KeepOnTop(window);
      break;
    case WM_SETCURSOR: {
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(window, &p);
      SetCursor(LoadCursorW(nullptr, g_marker.dragging || OnMarker(p) ? IDC_SIZEALL : IDC_ARROW));
      return TRUE;
    }
    case WM_LBUTTONDOWN: {
      const POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (!g_marker.dragging && OnMarker(p)) BeginDrag(window);
      return 0;
    }
    case WM_MOUSEMOVE:
      if (g_marker.dragging) FollowPointer(window);
      return 0;
    case WM_LBUTTONUP:
      if (g_marker.dragging) {
        FollowPointer(window);
        EndDrag(window, true);
      }
      return 0;
    case WM_CAPTURECHANGED:
      EndDrag(window, false);
      return 0;
    case WM_KEYDOWN:
      if (wParam == VK_ESCAPE) EndDrag(window, false);
      return 0;
    case WM_TIMER:
      if (wParam == kRaiseTimer) {
        if (--g_marker.raisesLeft <= 0) {
          KillTimer(window, kRaiseTimer);
        } else {
          SetTimer(window, kRaiseTimer, kSecondRaise, nullptr);
        }
        if (!g_marker.dragging && !g_marker.inMenu) Raise(window);
      }
      if (wParam == kMagnifierTimer && g_marker.dragging) TrackDrag(window);
      return 0;
    case WM_RBUTTONUP: {
      if (g_marker.dragging) return 0;
      POINT p = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      ClientToScreen(window, &p);
      ShowMenu(window, p);
      return 0;
    }
    case 0x02E0: {  // WM_DPICHANGED: moved onto a monitor of another scale
      UseDpi(window, HIWORD(wParam));
      InvalidateRect(window, nullptr, FALSE);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int RunMarkerWindow(const MarkerWindowSetup& setup, MarkerHandler& handler) {
  g_marker.setup = &setup;
  g_marker.handler = &handler;
  g_marker.note = {setup.hint, false};

  WNDCLASSW cls = {};
  cls.lpfnWndProc = MarkerProc;
  cls.hInstance = win32::ModuleInstance();
  cls.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  cls.hIcon = LoadIconW(win32::ModuleInstance(), MAKEINTRESOURCEW(103));
  cls.lpszClassName = L"TavolexCoordinateMarker";
  if (!RegisterClassW(&cls)) return 1;

  // The top right of the main screen's work area, away from the editor at
  // the bottom left.
  RECT work = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, cls.lpszClassName,
                                win32::ToWide(setup.title.c_str()).c_str(), WS_POPUP, work.right - 16 - kWidth,
                                work.top + 16, kWidth, kHeight, nullptr, nullptr, cls.hInstance, nullptr);
  if (!window) return 1;
  UseDpi(window, win32::DpiOf(window));
  RECT r;
  GetWindowRect(window, &r);
  SetWindowPos(window, HWND_TOPMOST, work.right - Scale(16) - (r.right - r.left), work.top + Scale(16), 0, 0,
               SWP_NOSIZE | SWP_NOACTIVATE);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  UpdateWindow(window);

  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}

}  // namespace plat

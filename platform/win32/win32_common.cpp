#include "platform/win32/win32_common.h"

#include <vector>

namespace plat::win32 {

std::wstring ToWide(const char* sjis, bool* exact) {
  if (exact) *exact = true;
  if (!sjis || !*sjis) return {};
  if (exact && MultiByteToWideChar(kShiftJis, MB_ERR_INVALID_CHARS, sjis, -1, nullptr, 0) <= 0) *exact = false;
  int n = MultiByteToWideChar(kShiftJis, 0, sjis, -1, nullptr, 0);
  if (n <= 0) return {};
  std::wstring out(static_cast<std::size_t>(n), L'\0');
  MultiByteToWideChar(kShiftJis, 0, sjis, -1, &out[0], n);
  out.resize(static_cast<std::size_t>(n - 1));  // without the terminator
  return out;
}

std::string ToSjis(const wchar_t* text, int length, bool* exact) {
  if (exact) *exact = true;
  if (!text) return {};
  if (length < 0) length = static_cast<int>(wcslen(text));
  if (length == 0) return {};
  BOOL usedDefault = FALSE;
  int n = WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text, length, nullptr, 0, "?", &usedDefault);
  if (n <= 0) {
    if (exact) *exact = false;
    return {};
  }
  std::string out(static_cast<std::size_t>(n), '\0');
  usedDefault = FALSE;
  WideCharToMultiByte(kShiftJis, WC_NO_BEST_FIT_CHARS, text, length, &out[0], n, "?", &usedDefault);
  if (exact && usedDefault) *exact = false;
  // A NUL inside the counted text would end the text early for every caller.
  std::size_t nul = out.find('\0');
  if (nul != std::string::npos) out.resize(nul);
  return out;
}

void CutToBytes(std::string& text, std::size_t maxBytes) {
  if (text.size() <= maxBytes) return;
  std::size_t i = 0;
  while (i < text.size()) {
    std::size_t len = IsSjisLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1;
    if (i + len > maxBytes) break;
    i += len;
  }
  text.resize(i);
}

std::wstring WideWindowText(HWND window) {
  const int length = window ? GetWindowTextLengthW(window) : 0;
  if (length <= 0) return {};
  std::vector<wchar_t> buf(static_cast<std::size_t>(length) + 1, L'\0');
  const int got = GetWindowTextW(window, buf.data(), length + 1);
  return std::wstring(buf.data(), static_cast<std::size_t>(got < 0 ? 0 : got));
}

std::string WindowText(HWND window, std::size_t bufferSize, bool* exact) {
  if (exact) *exact = true;
  if (bufferSize == 0) return {};
  const std::wstring wide = WideWindowText(window);
  std::string text = ToSjis(wide.c_str(), static_cast<int>(wide.size()), exact);
  CutToBytes(text, bufferSize - 1);
  return text;
}

HINSTANCE ModuleInstance() { return GetModuleHandleW(nullptr); }

namespace {

// SetThreadDpiAwarenessContext, looked up at run time (Windows 10 1607 and later).
using SetThreadDpiContextFn = HANDLE(WINAPI*)(HANDLE);

SetThreadDpiContextFn SetThreadDpiContext() {
  static SetThreadDpiContextFn fn = reinterpret_cast<SetThreadDpiContextFn>(reinterpret_cast<void*>(
      GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetThreadDpiAwarenessContext")));
  return fn;
}

const HANDLE kDpiAwarenessContextUnaware = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-1));

}  // namespace

UnawareCoordinates::UnawareCoordinates() {
  if (SetThreadDpiContextFn set = SetThreadDpiContext()) previous_ = set(kDpiAwarenessContextUnaware);
}

UnawareCoordinates::~UnawareCoordinates() {
  if (previous_ != nullptr) SetThreadDpiContext()(previous_);
}

HWND SilencedList = nullptr;

UINT DpiOf(HWND window) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto fn = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  UINT dpi = fn ? fn(window) : 0;
  if (dpi == 0) {
    HDC dc = GetDC(nullptr);
    dpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSX));
    ReleaseDC(nullptr, dc);
  }
  return dpi ? dpi : 96;
}

}  // namespace plat::win32

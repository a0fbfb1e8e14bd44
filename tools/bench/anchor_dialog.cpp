// An anchor of the start-up benchmark: the least a dialog program can do, to
// compare the editor's start with. Built three times:
//   bench_bare_dialog.exe      a modal dialog, nothing in it;
//   bench_list_dialog.exe      (ANCHOR_LIST_VIEW, with a Common Controls 6
//                              manifest) a modal dialog with one report list
//                              view of one column, filled with `rows` rows
//                              (argument, default 1) at WM_INITDIALOG;
//   bench_template_dialog.exe  (ANCHOR_EDITOR_TEMPLATE, with the editor's
//                              resources and manifest) the editor's main
//                              dialog template, shown as it is: every control
//                              of the editor, none of its work.
// The first two use the editor's dialog size and font, from a template in
// memory.
#ifndef UNICODE
#define UNICODE
#endif
#include <windows.h>
#if defined(ANCHOR_LIST_VIEW) || defined(ANCHOR_EDITOR_TEMPLATE)
#include <commctrl.h>
#endif
#ifdef ANCHOR_EDITOR_TEMPLATE
#include "resources/templates.h"
#endif

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <utility>
#include <vector>

namespace {

constexpr int kListId = 1000;

#ifndef ANCHOR_EDITOR_TEMPLATE
class TemplateWriter {
 public:
  void Word(WORD w) { words_.push_back(w); }
  void DWord(DWORD d) {
    Word(LOWORD(d));
    Word(HIWORD(d));
  }
  void Text(const wchar_t* s) {
    while (*s) Word(static_cast<WORD>(*s++));
    Word(0);
  }
  void AlignDWord() {
    if (words_.size() % 2 != 0) Word(0);
  }
  std::vector<WORD> Take() { return std::move(words_); }

 private:
  std::vector<WORD> words_;
};

// DLGTEMPLATE of the editor's size and font, with one list view or none.
std::vector<WORD> MakeTemplate(bool withList) {
  TemplateWriter t;
  t.DWord(WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | DS_MODALFRAME | DS_SETFONT);
  t.DWord(WS_EX_APPWINDOW);
  t.Word(withList ? 1 : 0);
  t.Word(0), t.Word(0), t.Word(402), t.Word(436);
  t.Word(0);  // no menu
  t.Word(0);  // the dialog class
  t.Text(withList ? L"Anchor: list view" : L"Anchor: bare dialog");
  t.Word(9);
  t.Text(L"MS UI Gothic");
  if (withList) {
    t.AlignDWord();
    t.DWord(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | 0x0001 /*LVS_REPORT*/ | 0x0004 /*LVS_SINGLESEL*/);
    t.DWord(WS_EX_STATICEDGE);
    t.Word(3), t.Word(17), t.Word(396), t.Word(263);
    t.Word(kListId);
    t.Text(L"SysListView32");
    t.Word(0);  // no text
    t.Word(0);  // no creation data
  }
  return t.Take();
}
#endif

#ifdef ANCHOR_LIST_VIEW
int g_rows = 1;
#endif

INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG: {
#ifdef ANCHOR_LIST_VIEW
      HWND list = GetDlgItem(dialog, kListId);
      wchar_t title[] = L"No.";
      LVCOLUMNW col = {};
      col.mask = LVCF_WIDTH | LVCF_TEXT;
      col.cx = 120;
      col.pszText = title;
      SendMessageW(list, LVM_INSERTCOLUMNW, 0, reinterpret_cast<LPARAM>(&col));
      for (int i = 0; i < g_rows; ++i) {
        wchar_t text[16];
        std::swprintf(text, 16, L"%d", i + 1);
        LVITEMW item = {};
        item.mask = LVIF_TEXT;
        item.iItem = i;
        item.pszText = text;
        SendMessageW(list, LVM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&item));
      }
#endif
      return TRUE;
    }
    case WM_COMMAND:
      if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) EndDialog(dialog, LOWORD(wParam));
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
#ifdef ANCHOR_EDITOR_TEMPLATE
  (void)commandLine;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES | ICC_ANIMATE_CLASS | ICC_STANDARD_CLASSES};
  InitCommonControlsEx(&icc);
  return static_cast<int>(DialogBoxParamW(instance, MAKEINTRESOURCEW(res::kMainDialog), nullptr, Proc, 0));
#else
#ifdef ANCHOR_LIST_VIEW
  const bool withList = true;
  if (commandLine != nullptr && *commandLine != L'\0') g_rows = std::max(0, _wtoi(commandLine));
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_LISTVIEW_CLASSES};
  InitCommonControlsEx(&icc);
#else
  const bool withList = false;
  (void)commandLine;
#endif
  std::vector<WORD> dialogTemplate = MakeTemplate(withList);
  return static_cast<int>(DialogBoxIndirectParamW(
      instance, reinterpret_cast<LPCDLGTEMPLATEW>(dialogTemplate.data()), nullptr, Proc, 0));
#endif
}

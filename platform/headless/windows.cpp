// The headless window system: modal dialogs built from the dialog templates,
// top-level windows and their order, timers, and the records of painting.
#include <algorithm>

#include "platform/headless/internal.h"

namespace headless {
namespace detail {

WindowSystem& Windows() {
  static WindowSystem system;
  return system;
}

void ResetWindows() { Windows() = WindowSystem(); }

plat::Window NewHandle() {
  plat::Window handle = Windows().nextHandle;
  Windows().nextHandle += 4;
  return handle;
}

Dialog* FindAnyDialog(plat::Window dialog) {
  if (dialog == 0) return nullptr;
  for (const auto& d : Windows().dialogs) {
    if (d->window == dialog) return d.get();
  }
  return nullptr;
}

Dialog* FindDialog(plat::Window dialog) {
  Dialog* d = FindAnyDialog(dialog);
  return d != nullptr && !d->destroyed ? d : nullptr;
}

Control* FindControl(Dialog& dialog, int controlId) {
  for (Control& c : dialog.controls) {
    if (c.id == controlId) return &c;
  }
  return nullptr;
}

Control* FindControl(plat::Window dialog, int controlId) {
  Dialog* d = FindDialog(dialog);
  return d != nullptr ? FindControl(*d, controlId) : nullptr;
}

TopWindow* FindTop(plat::Window window) {
  for (TopWindow& top : Windows().tops) {
    if (top.window == window) return &top;
  }
  return nullptr;
}

namespace {

// The position just below the topmost windows.
std::size_t FirstNonTopmost() {
  std::size_t i = 0;
  while (i < Windows().tops.size() && Windows().tops[i].topmost) ++i;
  return i;
}

void InsertTop(const TopWindow& top) {
  auto& tops = Windows().tops;
  tops.insert(tops.begin() + static_cast<std::ptrdiff_t>(top.topmost ? 0 : FirstNonTopmost()), top);
}

void RemoveTop(plat::Window window) {
  auto& tops = Windows().tops;
  tops.erase(std::remove_if(tops.begin(), tops.end(),
                            [window](const TopWindow& t) { return t.window == window; }),
             tops.end());
}

// A control of an open dialog, found by its own window handle.
Control* FindControlWindow(plat::Window window, Dialog** owner) {
  if (window == 0) return nullptr;
  for (const auto& d : Windows().dialogs) {
    if (d->destroyed) continue;
    for (Control& c : d->controls) {
      if (c.window == window) {
        *owner = d.get();
        return &c;
      }
    }
  }
  return nullptr;
}

std::unique_ptr<Dialog> CreateDialog(const res::DialogTemplate& tpl, plat::DialogHandler& handler,
                                     plat::Window owner) {
  auto d = std::make_unique<Dialog>();
  d->templateId = tpl.id;
  d->tpl = &tpl;
  d->handler = &handler;
  d->window = NewHandle();
  d->owner = owner;
  for (std::size_t i = 0; i < tpl.controlCount; ++i) {
    const res::ControlTemplate& t = tpl.controls[i];
    Control c;
    c.tpl = &t;
    c.id = t.id;
    c.cls = t.cls;
    c.style = t.style;
    c.window = NewHandle();
    bool fixedText = t.cls == res::ControlClass::Static || t.cls == res::ControlClass::Button;
    c.text = fixedText && t.text != nullptr ? t.text : "";
    c.enabled = (t.style & res::kWsDisabled) == 0;
    c.readOnly = t.cls == res::ControlClass::Edit && (t.style & res::kEsReadOnly) != 0;
    c.rect = {ToPixelsX(t.x), ToPixelsY(t.y), ToPixelsX(t.x) + ToPixelsX(t.width),
              ToPixelsY(t.y) + ToPixelsY(t.height)};
    d->controls.push_back(c);
    d->zorder.push_back(static_cast<int>(i));  // each new control goes below the others
  }
  int clientWidth = ToPixelsX(tpl.width);
  int clientHeight = ToPixelsY(tpl.height);
  int outerWidth = clientWidth + 16;
  int outerHeight = clientHeight + 39;
  auto size = Windows().outerSizes.find(tpl.id);
  if (size != Windows().outerSizes.end()) {
    outerWidth = size->second.first;
    outerHeight = size->second.second;
  }
  int border = std::max(0, (outerWidth - clientWidth) / 2);
  d->clientOffset = {border, std::max(0, outerHeight - clientHeight - border), 0, 0};
  TopWindow top;
  top.window = d->window;
  top.processId = kOwnProcessId;
  top.title = tpl.caption != nullptr ? tpl.caption : "";
  top.owned = owner != 0;
  int x = ToPixelsX(tpl.x), y = ToPixelsY(tpl.y);
  top.rect = {x, y, x + outerWidth, y + outerHeight};
  InsertTop(top);
  return d;
}

// WM_INITDIALOG answered TRUE: the focus goes to the first control in the
// z-order that is a visible, enabled tab stop.
void SetDefaultFocus(Dialog& d) {
  for (int index : d.zorder) {
    const Control& c = d.controls[static_cast<std::size_t>(index)];
    if ((c.style & res::kWsTabStop) != 0 && c.visible && c.enabled) {
      d.focus = index;
      return;
    }
  }
}

}  // namespace

void RemoveWindowsOf(std::uint32_t processId) {
  auto& tops = Windows().tops;
  tops.erase(std::remove_if(tops.begin(), tops.end(),
                            [processId](const TopWindow& t) {
                              return t.processId == processId && FindAnyDialog(t.window) == nullptr;
                            }),
             tops.end());
}

void BringToTop(plat::Window window) {
  TopWindow* top = FindTop(window);
  if (top == nullptr) return;
  TopWindow copy = *top;
  RemoveTop(window);
  InsertTop(copy);
}

void SendCommand(Dialog& dialog, int controlId, int code) {
  if (!dialog.destroyed) dialog.handler->OnCommand(dialog.window, controlId, code);
}

long SendNotify(Dialog& dialog, const plat::Notification& n) {
  return dialog.destroyed ? 0 : dialog.handler->OnNotify(dialog.window, n);
}

}  // namespace detail

using detail::Dialog;
using detail::FindAnyDialog;
using detail::FindDialog;
using detail::Windows;

// ---------------------------------------------------------------- test control

void OnDialog(int templateId, const std::function<void(plat::Window)>& driver) {
  Windows().drivers[templateId] = driver;
}

int DialogsLeftOpen() { return Windows().leftOpen; }
std::vector<int> DialogsShown() { return Windows().shown; }

plat::Window OpenDialog(int templateId) {
  const auto& dialogs = Windows().dialogs;
  for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
    if (!(*it)->destroyed && (*it)->templateId == templateId) return (*it)->window;
  }
  return 0;
}

bool DialogEnded(plat::Window dialog) {
  const detail::Dialog* d = detail::FindAnyDialog(dialog);
  return d != nullptr && d->ended;
}

std::vector<int> ZOrder(plat::Window dialog) {
  std::vector<int> ids;
  if (Dialog* d = FindAnyDialog(dialog)) {
    for (int index : d->zorder) ids.push_back(d->controls[static_cast<std::size_t>(index)].id);
  }
  return ids;
}

bool TimerRunning(plat::Window dialog, int timerId) {
  Dialog* d = FindAnyDialog(dialog);
  return d != nullptr && d->timers.count(timerId) > 0;
}

unsigned TimerPeriod(plat::Window dialog, int timerId) {
  Dialog* d = FindAnyDialog(dialog);
  if (d == nullptr) return 0;
  auto it = d->timers.find(timerId);
  return it != d->timers.end() ? it->second.period : 0;
}

bool SystemMenuItemGreyed(plat::Window dialog, unsigned command) {
  Dialog* d = FindDialog(dialog);
  return d != nullptr && d->systemMenuGreyed.count(command) > 0;
}

std::vector<std::string> SystemMenuItems(plat::Window dialog) {
  Dialog* d = FindAnyDialog(dialog);
  return d != nullptr ? d->systemMenu : std::vector<std::string>();
}

int DialogIcon(plat::Window dialog) {
  Dialog* d = FindAnyDialog(dialog);
  return d != nullptr ? d->icon : 0;
}

int FocusedControl(plat::Window dialog) {
  Dialog* d = FindAnyDialog(dialog);
  if (d == nullptr || d->focus < 0) return 0;
  return d->controls[static_cast<std::size_t>(d->focus)].id;
}

void SetDesktopSize(int width, int height) {
  Windows().desktopWidth = width;
  Windows().desktopHeight = height;
}

void SetDialogOuterSize(int templateId, int width, int height) {
  Windows().outerSizes[templateId] = {width, height};
}

plat::Window AddTopLevelWindow(std::uint32_t processId, const std::string& title, bool visible,
                               bool owned) {
  detail::TopWindow top;
  top.window = detail::NewHandle();
  top.processId = processId;
  top.title = title;
  top.visible = visible;
  top.owned = owned;
  top.rect = {100, 100, 500, 400};
  detail::InsertTop(top);
  return top.window;
}

void RemoveTopLevelWindow(plat::Window window) {
  if (FindAnyDialog(window) == nullptr) detail::RemoveTop(window);
}

int LastShowCommand(plat::Window window) {
  detail::TopWindow* top = detail::FindTop(window);
  return top != nullptr ? top->lastShowCommand : -1;
}

std::vector<DrawCall> DrawCalls() { return Windows().drawCalls; }
void ClearDrawCalls() { Windows().drawCalls.clear(); }

bool PaintOwnerDrawn(plat::Window dialog, int controlId) {
  Dialog* d = FindDialog(dialog);
  detail::Control* c = d != nullptr ? detail::FindControl(*d, controlId) : nullptr;
  if (c == nullptr || !c->IsButtonType(res::kBsOwnerDraw)) return false;
  plat::DrawItem item;
  item.controlId = controlId;
  item.rect = {0, 0, c->rect.right - c->rect.left, c->rect.bottom - c->rect.top};
  item.focused = d->focus >= 0 && &d->controls[static_cast<std::size_t>(d->focus)] == c;
  item.disabled = !c->enabled;
  item.context = dialog;
  return d->handler->OnDrawItem(dialog, item);
}

plat::CtlColorAnswer QueryCtlColor(plat::Window dialog, plat::CtlColorKind kind, int controlId) {
  Dialog* d = FindDialog(dialog);
  plat::CtlColorAnswer a = d != nullptr ? d->handler->OnCtlColor(dialog, kind, controlId) : plat::CtlColorAnswer{};
  const auto& brushes = Windows().brushes;
  if (a.handled && std::find(brushes.begin(), brushes.end(), a.brushColor) == brushes.end()) {
    ++Windows().unpreparedBrushAnswers;
  }
  return a;
}

std::vector<plat::Color> PreparedBrushes() { return Windows().brushes; }
int UnpreparedBrushAnswers() { return Windows().unpreparedBrushAnswers; }

std::uint64_t Now() { return Windows().now; }

void AdvanceTime(unsigned milliseconds) {
  const std::uint64_t target = Windows().now + milliseconds;
  for (;;) {
    // The timer due first (ties: the one started first) among open dialogs.
    Dialog* dueDialog = nullptr;
    int dueId = 0;
    const detail::Timer* due = nullptr;
    for (const auto& d : Windows().dialogs) {
      if (d->destroyed || d->ended) continue;
      for (const auto& entry : d->timers) {
        const detail::Timer& t = entry.second;
        if (t.due > target) continue;
        if (due == nullptr || t.due < due->due || (t.due == due->due && t.order < due->order)) {
          due = &t;
          dueDialog = d.get();
          dueId = entry.first;
        }
      }
    }
    if (due == nullptr) break;
    Windows().now = std::max(Windows().now, due->due);
    detail::Timer& fired = dueDialog->timers[dueId];
    fired.due += std::max(fired.period, 10u);  // repeats until stopped, as on Windows
    dueDialog->handler->OnTimer(dueDialog->window, dueId);
  }
  Windows().now = std::max(Windows().now, target);
}

}  // namespace headless

// ---------------------------------------------------------------- platform

namespace plat {

using headless::detail::Dialog;
using headless::detail::FindDialog;
using headless::detail::TopWindow;
using headless::detail::Windows;

int RunModalDialog(int templateId, DialogHandler& handler, Window owner) {
  const res::DialogTemplate* tpl = res::FindDialogTemplate(templateId);
  if (tpl == nullptr) return -1;
  Windows().dialogs.push_back(headless::detail::CreateDialog(*tpl, handler, owner));
  Dialog& d = *Windows().dialogs.back();
  Windows().shown.push_back(templateId);
  Dialog* ownerDialog = FindDialog(owner);
  if (ownerDialog != nullptr) ++ownerDialog->disabledBy;  // a modal dialog disables its owner

  if (handler.OnInitDialog(d.window) && !d.ended) headless::detail::SetDefaultFocus(d);
  if (!d.ended) {
    if (TopWindow* top = headless::detail::FindTop(d.window)) top->visible = true;
    auto driver = Windows().drivers.find(templateId);
    if (driver != Windows().drivers.end()) {
      auto play = driver->second;  // a copy: the driver may register drivers itself
      play(d.window);
    }
  }
  if (!d.ended) {
    d.ended = true;
    d.result = kIdCancel;
    ++Windows().leftOpen;
  }

  d.destroyed = true;
  d.timers.clear();
  headless::detail::RemoveTop(d.window);
  if (ownerDialog != nullptr && !ownerDialog->destroyed) --ownerDialog->disabledBy;
  return d.result;
}

void PrepareSolidBrushes(const std::vector<Color>& colors) {
  auto& brushes = Windows().brushes;
  for (Color color : colors) {
    if (std::find(brushes.begin(), brushes.end(), color) == brushes.end()) brushes.push_back(color);
  }
}

void EndModalDialog(Window dialog, int result) {
  if (Dialog* d = FindDialog(dialog)) {
    d->ended = true;
    d->result = result;  // the last call wins, as with EndDialog
  }
}

Window FocusWindow() {
  const auto& dialogs = Windows().dialogs;
  for (auto it = dialogs.rbegin(); it != dialogs.rend(); ++it) {
    const Dialog& d = **it;
    if (d.destroyed) continue;
    return d.focus >= 0 ? d.controls[static_cast<std::size_t>(d.focus)].window : d.window;
  }
  return 0;
}

std::string LoadResourceString(int stringId) {
  const char* text = res::FindString(stringId);
  return text != nullptr ? text : "";
}

bool HasSystemMenu(Window dialog) {
  Dialog* d = FindDialog(dialog);
  return d != nullptr && (d->tpl->style & res::kWsSysMenu) != 0;
}

void AppendSystemMenuItem(Window dialog, unsigned commandId, const char* text, bool separatorBefore) {
  (void)commandId;
  if (!HasSystemMenu(dialog)) return;
  Dialog* d = FindDialog(dialog);
  if (separatorBefore) d->systemMenu.push_back("");
  d->systemMenu.push_back(text != nullptr ? text : "");
}

void EnableSystemMenuItem(Window dialog, unsigned commandId, bool enable) {
  if (!HasSystemMenu(dialog)) return;
  Dialog* d = FindDialog(dialog);
  if (enable) {
    d->systemMenuGreyed.erase(commandId);
  } else {
    d->systemMenuGreyed.insert(commandId);
  }
}

void SetDialogIcon(Window dialog, int iconResourceId) {
  if (Dialog* d = FindDialog(dialog)) d->icon = iconResourceId;
}

Rect DesktopRect() { return {0, 0, Windows().desktopWidth, Windows().desktopHeight}; }

Rect WindowRect(Window window) {
  if (const TopWindow* top = headless::detail::FindTop(window)) return top->rect;
  Dialog* d = nullptr;
  if (const auto* c = headless::detail::FindControlWindow(window, &d)) {
    const TopWindow* top = headless::detail::FindTop(d->window);
    if (top == nullptr) return {};
    int x = top->rect.left + d->clientOffset.left;
    int y = top->rect.top + d->clientOffset.top;
    return {x + c->rect.left, y + c->rect.top, x + c->rect.right, y + c->rect.bottom};
  }
  return {};
}

void PlaceWindow(Window window, int x, int y, bool topmost) {
  TopWindow* top = headless::detail::FindTop(window);
  if (top == nullptr) return;
  int width = top->rect.right - top->rect.left;
  int height = top->rect.bottom - top->rect.top;
  top->rect = {x, y, x + width, y + height};
  top->topmost = topmost;
  top->visible = true;
  headless::detail::BringToTop(window);
}

bool IsTopmost(Window window) {
  const TopWindow* top = headless::detail::FindTop(window);
  return top != nullptr && top->topmost;
}

void ShowWindowCmd(Window window, int showCommand) {
  if (TopWindow* top = headless::detail::FindTop(window)) {
    top->visible = showCommand != kSwHide;
    top->lastShowCommand = showCommand;
    return;
  }
  Dialog* d = nullptr;
  if (auto* c = headless::detail::FindControlWindow(window, &d)) c->visible = showCommand != kSwHide;
}

bool IsWindowVisible(Window window) {
  if (const TopWindow* top = headless::detail::FindTop(window)) return top->visible;
  Dialog* d = nullptr;
  if (const auto* c = headless::detail::FindControlWindow(window, &d)) {
    return c->visible && IsWindowVisible(d->window);
  }
  return false;
}

void StartTimer(Window dialog, int timerId, unsigned milliseconds) {
  Dialog* d = FindDialog(dialog);
  if (d == nullptr) return;
  headless::detail::Timer& t = d->timers[timerId];  // replaces a running one
  t.period = milliseconds;
  t.due = Windows().now + std::max(milliseconds, 10u);  // USER_TIMER_MINIMUM
  t.order = Windows().timerOrder++;
}

void StopTimer(Window dialog, int timerId) {
  if (Dialog* d = FindDialog(dialog)) d->timers.erase(timerId);
}

std::vector<TopLevelWindow> TopLevelWindows() {
  std::vector<TopLevelWindow> windows;
  for (const TopWindow& top : Windows().tops) {
    TopLevelWindow w;
    w.window = top.window;
    w.visible = top.visible;
    w.owned = top.owned;
    w.processId = top.processId;
    w.title = headless::detail::CutText(top.title, 511);
    windows.push_back(w);
  }
  return windows;
}

bool SetWindowBounds(Window window, int x, int y, int width, int height, bool top) {
  TopWindow* t = headless::detail::FindTop(window);
  if (t == nullptr) return false;
  t->rect = {x, y, x + width, y + height};
  t->visible = true;  // SWP_SHOWWINDOW
  if (top) headless::detail::BringToTop(window);
  return true;
}

// --- Drawing: recorded for the tests.
namespace {
void Record(const DrawItem& item, const char* kind, const Rect& r, Color color,
            const std::string& text, bool sunken) {
  headless::DrawCall call;
  call.kind = kind;
  call.controlId = item.controlId;
  call.rect = r;
  call.color = color;
  call.text = text;
  call.sunken = sunken;
  Windows().drawCalls.push_back(call);
}
}  // namespace

void DrawFillRect(const DrawItem& item, const Rect& r, Color color) {
  Record(item, "FillRect", r, color, "", false);
}
void DrawCenteredText(const DrawItem& item, const Rect& r, const char* text, Color color) {
  Record(item, "CenteredText", r, color, text != nullptr ? text : "", false);
}
void DrawEdge(const DrawItem& item, const Rect& r, bool sunken) {
  Record(item, "Edge", r, 0, "", sunken);
}
void DrawFocusRect(const DrawItem& item, const Rect& r) { Record(item, "FocusRect", r, 0, "", false); }

}  // namespace plat

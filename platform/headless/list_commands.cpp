// Edit commands of a list: the keys a list reports and its right-click menu,
// as the Win32 layer gives them.
#include <deque>
#include <set>
#include <utility>

#include "platform/headless/internal.h"

namespace headless {
namespace {

using detail::Control;
using detail::Dialog;

struct ListCommandState {
  std::set<std::pair<plat::Window, int>> reportingLists;
  std::deque<int> menuChoices;
  std::vector<MenuRecord> menus;
};

ListCommandState& State() {
  static ListCommandState state;
  return state;
}

// An open, shown dialog that the user can reach (no nested modal dialog).
Dialog* Reachable(plat::Window dialog) {
  Dialog* d = detail::FindDialog(dialog);
  if (d == nullptr || d->ended || d->disabledBy > 0) return nullptr;
  const detail::TopWindow* top = detail::FindTop(dialog);
  return top != nullptr && top->visible ? d : nullptr;
}

}  // namespace

namespace detail {
void ResetListCommands() { State() = ListCommandState(); }
}  // namespace detail

long PressKey(plat::Window dialog, int virtualKey, unsigned modifiers) {
  Dialog* d = Reachable(dialog);
  if (d == nullptr || d->focus < 0) return 0;
  const Control& focused = d->controls[static_cast<std::size_t>(d->focus)];
  if (State().reportingLists.count({dialog, focused.id}) == 0) return 0;
  detail::InputKeys keys({virtualKey});
  plat::ListKeyNotification n;
  n.controlId = focused.id;
  n.code = plat::kListKeyDown;
  n.key = virtualKey;
  n.modifiers = modifiers;
  return detail::SendNotify(*d, n);
}

void RightClickListRow(plat::Window dialog, int controlId, int row) {
  detail::ClickListRowWith(dialog, controlId, row, plat::kNmRClick);
}

void QueueMenuChoice(int id) { State().menuChoices.push_back(id); }
std::vector<MenuRecord> Menus() { return State().menus; }

}  // namespace headless

namespace plat {

void ReportListKeys(Window dialog, int controlId) {
  headless::State().reportingLists.insert({dialog, controlId});
}

int ShowListMenu(Window dialog, int listId, int row, const std::vector<MenuEntry>& entries) {
  (void)dialog, (void)listId;
  headless::ListCommandState& state = headless::State();
  headless::MenuRecord record;
  record.entries = entries;
  record.row = row;
  if (!state.menuChoices.empty()) {
    // A disabled entry or a separator cannot be chosen: the menu stays
    // open and is then dismissed.
    const int choice = state.menuChoices.front();
    state.menuChoices.pop_front();
    for (const MenuEntry& e : entries) {
      if (e.id != 0 && e.id == choice && e.enabled) record.answer = choice;
    }
  }
  state.menus.push_back(record);
  return record.answer;
}

}  // namespace plat

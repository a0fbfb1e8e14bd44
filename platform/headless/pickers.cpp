// The pickers' part of the platform, in memory.
#include "platform/headless/pickers.h"

#include <map>
#include <set>

#include "platform/headless/internal.h"

namespace headless {
namespace {

struct PickerState {
  std::map<std::uint32_t, std::string> programs;
  std::set<plat::Window> inexactTitles;
  std::set<std::pair<plat::Window, int>> inexactEdits;  // edits holding such a title
  std::uint32_t parent = 0;
  std::map<std::pair<plat::Window, int>, plat::Window> finders;
  MarkerDriver markerDriver;
};

PickerState& State() {
  static PickerState state;
  return state;
}

std::string FileNameOf(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

void SetProcessProgram(std::uint32_t processId, const std::string& fileName) {
  State().programs[processId] = fileName;
}
void SetTitleInexact(plat::Window window) { State().inexactTitles.insert(window); }
void SetParentProcess(std::uint32_t processId) { State().parent = processId; }

void PointFinder(plat::Window dialog, int controlId, plat::Window target) {
  auto key = std::make_pair(dialog, controlId);
  if (!State().finders.count(key)) return;  // not a finder
  State().finders[key] = target == dialog ? plat::kNoWindow : target;
  if (detail::Dialog* d = detail::FindDialog(dialog)) detail::SendCommand(*d, controlId, plat::kFinderPointed);
}

void OnMarkerWindow(const MarkerDriver& driver) { State().markerDriver = driver; }

void ResetPickers() { State() = PickerState(); }

}  // namespace headless

namespace plat {

std::vector<ProgramWindow> ProgramWindows() {
  std::vector<ProgramWindow> out;
  for (const TopLevelWindow& t : TopLevelWindows()) {
    ProgramWindow w;
    static_cast<TopLevelWindow&>(w) = t;
    auto it = headless::State().programs.find(t.processId);
    if (it != headless::State().programs.end()) {
      w.programName = it->second;
    } else if (const headless::ProcessRecord* p = headless::FindProcess(t.processId)) {
      w.programName = headless::FileNameOf(p->program);
    }
    out.push_back(w);
  }
  return out;
}

std::uint32_t CurrentProcessId() { return headless::OwnProcessId(); }
std::uint32_t ParentProcessId() { return headless::State().parent; }

std::string GetControlTextExact(Window dialog, int controlId, std::size_t bufferSize, bool* exact) {
  std::string text = GetControlText(dialog, controlId, bufferSize);
  // '?' in a title copied from such a window stands for what Shift-JIS cannot
  // write; the user may have cut it away since.
  if (exact) {
    *exact = !headless::State().inexactEdits.count({dialog, controlId}) ||
             text.find('?') == std::string::npos;
  }
  return text;
}

bool CopyWindowTitleToControl(Window source, Window dialog, int controlId) {
  for (const TopLevelWindow& t : TopLevelWindows()) {
    if (t.window != source) continue;
    SetControlText(dialog, controlId, t.title.c_str());
    if (headless::State().inexactTitles.count(source)) {
      headless::State().inexactEdits.insert({dialog, controlId});
    } else {
      headless::State().inexactEdits.erase({dialog, controlId});
    }
    return true;
  }
  return false;
}

void MakeWindowFinder(Window dialog, int controlId) {
  headless::State().finders[{dialog, controlId}] = kNoWindow;
}

Window FinderTarget(Window dialog, int controlId) {
  auto it = headless::State().finders.find({dialog, controlId});
  return it == headless::State().finders.end() ? kNoWindow : it->second;
}

int RunMarkerWindow(const MarkerWindowSetup& setup, MarkerHandler& handler) {
  Window marker = headless::AddTopLevelWindow(headless::OwnProcessId(), setup.title, true, false);
  PlaceWindow(marker, 1700, 20, true);
  if (headless::State().markerDriver) headless::State().markerDriver(marker, setup, handler);
  headless::RemoveTopLevelWindow(marker);
  return 0;
}

}  // namespace plat

// Shortcuts on the user's desktop, made with the shell's own shortcut object.
#include "platform/platform.h"
#include "platform/win32/win32_common.h"

#include <objbase.h>
#include <shlobj.h>
#include <shobjidl.h>

namespace plat {

namespace {

// COM for the thread while it lives: initialised here unless the thread
// already has it (in either apartment model).
class ComForThread {
 public:
  ComForThread() : result_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~ComForThread() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComForThread(const ComForThread&) = delete;
  ComForThread& operator=(const ComForThread&) = delete;
  // RPC_E_CHANGED_MODE: COM is there, in the other model.
  bool Ready() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }
  HRESULT Result() const { return result_; }

 private:
  HRESULT result_;
};

template <typename T>
void Release(T*& object) {
  if (object) object->Release();
  object = nullptr;
}

}  // namespace

ShortcutOutcome CreateDesktopShortcut(const ShortcutSpec& shortcut) {
  ShortcutOutcome outcome;
  PWSTR desktop = nullptr;
  const HRESULT found = SHGetKnownFolderPath(FOLDERID_Desktop, 0, nullptr, &desktop);
  if (FAILED(found) || desktop == nullptr) {
    if (desktop) CoTaskMemFree(desktop);
    outcome.result = ShortcutOutcome::NoDesktop;
    outcome.error = static_cast<std::uint32_t>(found);
    return outcome;
  }
  const std::wstring path = std::wstring(desktop) + L"\\" + win32::ToWide(shortcut.name.c_str()) + L".lnk";
  CoTaskMemFree(desktop);
  outcome.path = win32::ToSjis(path.c_str());

  ComForThread com;
  IShellLinkW* link = nullptr;
  HRESULT hr = com.Ready() ? CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                              reinterpret_cast<void**>(&link))
                           : com.Result();
  if (FAILED(hr) || link == nullptr) {
    outcome.result = ShortcutOutcome::NoShellLink;
    outcome.error = static_cast<std::uint32_t>(hr);
    return outcome;
  }
  hr = link->SetPath(win32::ToWide(shortcut.target.c_str()).c_str());
  if (SUCCEEDED(hr)) hr = link->SetArguments(win32::ToWide(shortcut.arguments.c_str()).c_str());
  if (SUCCEEDED(hr)) hr = link->SetWorkingDirectory(win32::ToWide(shortcut.workingFolder.c_str()).c_str());
  if (SUCCEEDED(hr)) hr = link->SetIconLocation(win32::ToWide(shortcut.iconFile.c_str()).c_str(), 0);
  IPersistFile* file = nullptr;
  if (SUCCEEDED(hr)) hr = link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
  // Save replaces a file of that name.
  if (SUCCEEDED(hr)) hr = file->Save(path.c_str(), TRUE);
  Release(file);
  Release(link);
  outcome.result = SUCCEEDED(hr) ? ShortcutOutcome::Created : ShortcutOutcome::NotSaved;
  outcome.error = SUCCEEDED(hr) ? 0 : static_cast<std::uint32_t>(hr);
  return outcome;
}

}  // namespace plat

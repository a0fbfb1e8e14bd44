// End-to-end tests of Tavolex.exe, run under Wine by tools/wine/run-under-wine.sh.
//
//   e2e_tests.exe [gtest flags] --tavolex=PATH --standins=DIR --work=DIR --screens=DIR
//
// Paths may be Unix paths ("/..."); they are reached through Wine's Z: drive.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "tests/e2e/harness.h"

namespace {

bool TakeOption(const std::wstring& argument, const wchar_t* name, std::wstring& value) {
  const std::wstring prefix = std::wstring(L"--") + name + L"=";
  if (argument.compare(0, prefix.size(), prefix) != 0) return false;
  value = e2e::ToWindowsPath(argument.substr(prefix.size()));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  // The coordinates this program compares are those of the jobs and companions.
  standin::UseDpiUnawareCoordinates();
  ::testing::InitGoogleTest(&argc, argv);

  // Our own options, read from the wide command line so that any path survives.
  e2e::Config& config = e2e::GetConfig();
  int wideCount = 0;
  wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &wideCount);
  for (int i = 1; wide && i < wideCount; ++i) {
    const std::wstring argument = wide[i];
    TakeOption(argument, L"tavolex", config.tavolex) ||
        TakeOption(argument, L"standins", config.standins) ||
        TakeOption(argument, L"work", config.work) ||
        TakeOption(argument, L"screens", config.screens);
  }
  if (wide) LocalFree(wide);

  if (config.tavolex.empty() || config.standins.empty() || config.work.empty() ||
      config.screens.empty()) {
    std::fprintf(stderr,
                 "usage: e2e_tests [gtest flags] --tavolex=PATH --standins=DIR --work=DIR "
                 "--screens=DIR\n");
    return 2;
  }
  if (!e2e::FileExists(config.tavolex))
    std::fprintf(stderr, "warning: %s does not exist\n", standin::ToUtf8(config.tavolex).c_str());
  CreateDirectoryW(config.work.c_str(), nullptr);
  CreateDirectoryW(config.screens.c_str(), nullptr);
  return RUN_ALL_TESTS();
}

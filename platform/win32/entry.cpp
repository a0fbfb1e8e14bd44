// The program's entry point: the command line as Shift-JIS arguments.
#include <string>
#include <vector>

#include "app/app.h"
#include "platform/win32/win32_common.h"

#include <shellapi.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::string> args;
  for (int i = 1; argv && i < argc; ++i) {
    // A character code page 932 cannot represent becomes '?', which no job
    // name may contain, so such an argument is refused rather than altered.
    args.push_back(plat::win32::ToSjis(argv[i]));
  }
  if (argv) LocalFree(argv);
  return app::RunTavolex(args);
}

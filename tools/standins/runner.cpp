// Runner stand-in (built as Runvane.exe) for the end-to-end tests.
//
// Command line: "runner" "<test-run file>" "<repeat file>". Reads the test-run file's
// scrambled form (its path plus ".psw", every byte with its 4-bit halves swapped),
// appends to runner-log.txt beside itself:
//
//   RUN <process id>
//   COMMAND <n>      then n bytes: the whole command line, UTF-8
//   INSPECT <n>      then n bytes: the unscrambled test-run lines (-1: no file)
//   REPEAT <n>       then n bytes: the repeat file as it is (-1: no file)
//   END released | END timeout
//
// (each block of bytes is followed by a line feed), and stays alive until the file
// runner-release appears beside it (it deletes that file and ends), or for at most
// 120 seconds. Nothing is synthesised: the editor only watches the process.
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "tools/standins/standin.h"

namespace {

std::string Block(const char* tag, bool present, const std::string& bytes) {
  std::string out = tag;
  out += ' ';
  out += present ? std::to_string(bytes.size()) : std::string("-1");
  out += '\n';
  if (present) out += bytes;
  out += '\n';
  return out;
}

unsigned char SwapNibbles(unsigned char b) {
  return static_cast<unsigned char>((b << 4) | (b >> 4));
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
  standin::UseDpiUnawareCoordinates();
  const std::wstring folder = standin::ModuleFolder();
  const std::wstring log = folder + L"runner-log.txt";
  const std::wstring release = folder + L"runner-release";

  const wchar_t* command = GetCommandLineW();
  int argc = 0;
  wchar_t** argv = CommandLineToArgvW(command, &argc);

  std::string inspect, repeat;
  bool haveInspect = false, haveRepeat = false;
  // argv[0] is the runner itself, argv[1] the test-run file, argv[2] the repeat file.
  if (argv && argc > 1) {
    haveInspect = standin::ReadWholeFile(std::wstring(argv[1]) + L".psw", inspect);
    for (char& c : inspect) c = static_cast<char>(SwapNibbles(static_cast<unsigned char>(c)));
  }
  if (argv && argc > 2) haveRepeat = standin::ReadWholeFile(argv[2], repeat);
  if (argv) LocalFree(argv);

  std::string entry = "RUN " + std::to_string(GetCurrentProcessId()) + "\n";
  entry += Block("COMMAND", true, standin::ToUtf8(command));
  entry += Block("INSPECT", haveInspect, inspect);
  entry += Block("REPEAT", haveRepeat, repeat);
  standin::AppendToFile(log, entry);

  const DWORD start = GetTickCount();
  bool released = false;
  while (GetTickCount() - start < 120000) {
    if (standin::FileExists(release)) {
      DeleteFileW(release.c_str());
      released = true;
      break;
    }
    Sleep(100);
  }
  standin::AppendToFile(log, released ? "END released\n" : "END timeout\n");
  return 0;
}

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
//
// Command line "runner" /record "<file>": a recording. It logs the same blocks
// (INSPECT and REPEAT -1), waits for runner-release in the same way, then copies
// record-capture.def from beside itself to <file> (when the test put one there)
// and ends with the exit code written in record-exit.txt beside it (0 without).
#include <windows.h>
#include <shellapi.h>

#include <cstdlib>
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
  std::wstring captureFile;
  if (argv && argc > 2 && std::wstring(argv[1]) == L"/record") {
    captureFile = argv[2];
  } else if (argv && argc > 1) {
    // argv[0] is the runner itself, argv[1] the test-run file, argv[2] the repeat file.
    haveInspect = standin::ReadWholeFile(std::wstring(argv[1]) + L".psw", inspect);
    for (char& c : inspect) c = static_cast<char>(SwapNibbles(static_cast<unsigned char>(c)));
    if (argc > 2) haveRepeat = standin::ReadWholeFile(argv[2], repeat);
  }
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
  int exitCode = 0;
  if (!captureFile.empty()) {
    std::string capture, code;
    if (standin::ReadWholeFile(folder + L"record-capture.def", capture)) {
      HANDLE file = CreateFileW(captureFile.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
      DWORD written = 0;
      if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, capture.data(), static_cast<DWORD>(capture.size()), &written, nullptr);
        CloseHandle(file);
      }
    }
    if (standin::ReadWholeFile(folder + L"record-exit.txt", code)) exitCode = std::atoi(code.c_str());
  }
  standin::AppendToFile(log, released ? "END released\n" : "END timeout\n");
  return exitCode;
}

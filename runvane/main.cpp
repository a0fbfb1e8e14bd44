// The runner's entry point: the arguments come from the platform, which
// reads the command line in UTF-16 and hands it on in Shift-JIS.
#include "platform/platform.h"
#include "runvane/recorder.h"
#include "runvane/runner.h"

int main() {
  const std::vector<std::string> arguments = plat::CommandLineArguments();
  return runvane::IsRecordCommand(arguments) ? runvane::RunRecording(arguments) : runvane::RunCommandLine(arguments);
}

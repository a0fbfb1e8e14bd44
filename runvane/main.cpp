// The runner's entry point: the arguments come from the platform, which
// reads the command line in UTF-16 and hands it on in Shift-JIS.
#include "platform/platform.h"
#include "runvane/runner.h"

int main() { return runvane::RunCommandLine(plat::CommandLineArguments()); }

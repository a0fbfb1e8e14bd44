// The window-title picker's entry point: the arguments come from the
// platform, in Shift-JIS.
#include "platform/platform.h"
#include "titlescan/titlescan.h"

int main() { return titlescan::RunTitlescan(plat::CommandLineArguments()); }

// The program's entry point. A plain main: the arguments come from the
// platform, which reads the command line in UTF-16. A character code page 932
// cannot represent becomes '?', which no job name may contain, so such an
// argument is refused rather than altered.
#include "app/app.h"
#include "platform/platform.h"

int main() { return app::RunTavolex(plat::CommandLineArguments()); }

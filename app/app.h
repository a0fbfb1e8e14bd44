// The program's entry and exit.
#pragma once

#include <string>
#include <vector>

namespace app {

// Runs the editor with its command-line arguments (Shift-JIS, without the
// program's own name) and returns the process's exit code.
int RunTavolex(const std::vector<std::string>& args);

}  // namespace app

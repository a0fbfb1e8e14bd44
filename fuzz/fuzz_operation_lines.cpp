// Text from the clipboard, whatever its bytes: judging it never ends the
// program; what is taken are operation lines only, and the text the editor
// puts on the clipboard for them gives the same lines back.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "operations/line_text.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> lines = ops::OperationLinesOf(text);
  for (const std::string& line : lines) Check(ops::IsOperationLine(line));
  Check(ops::OperationLinesOf(ops::LinesAsText(lines)) == lines);
  return 0;
}

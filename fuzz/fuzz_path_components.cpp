// FindLastChar and NextPathComponent on arbitrary Shift-JIS text:
// FindLastChar gives the last whole-character position of the byte, and the
// component loop ends with every component inside its 260-byte buffer.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "jobstore/paths.h"
#include "text/sjis.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1) return 0;
  const char c = static_cast<char>(data[0]);
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  const char* text = input.c_str();
  const std::size_t length = std::strlen(text);

  // Character starts, found by one walk from the start.
  std::vector<bool> starts(length + 1, false);
  for (std::size_t i = 0; i < length; i += text::IsLeadByte(static_cast<unsigned char>(text[i])) ? 2 : 1) {
    starts[i] = true;
  }
  long expected = -1;
  for (std::size_t i = 0; i < length; ++i) {
    if (starts[i] && text[i] == c) expected = static_cast<long>(i);
  }
  Check(jobstore::FindLastChar(text, c) == expected);

  // Exactly kPathSize bytes on the heap for the component.
  std::unique_ptr<char[]> component(new char[jobstore::kPathSize]);
  const char* rest = text;
  std::size_t rounds = 0;
  for (;;) {
    const char* next = jobstore::NextPathComponent(rest, component.get());
    if (next == nullptr) break;
    Check(++rounds <= length);
    Check(next > rest && next <= text + length);
    rest = next;
    const std::size_t n = std::strlen(component.get());
    Check(n > 0 && n < jobstore::kPathSize);
    Check(std::strchr(component.get(), '"') == nullptr);
  }
  Check(component[0] == '\0');
  return 0;
}

// GetCsvItem on arbitrary lines, field numbers and output sizes: the output
// stays inside its buffer, is terminated, and a cut result is the full
// field's prefix without a dangling lead byte.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>

#include "text/csv.h"
#include "text/sjis.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3) return 0;
  const int n = data[0] % 16 + 1;
  // Mostly tiny buffers, where the cut happens; sometimes one of ample size.
  const std::size_t smallSize = data[1] % 12 + 1;
  const std::string line(reinterpret_cast<const char*>(data + 2), size - 2);
  if (line.c_str()[0] == '\0') return 0;  // an empty line ends the process by design

  const std::size_t fullSize = line.size() + 1;
  std::unique_ptr<char[]> full(new char[fullSize]);
  const bool found = text::GetCsvItem(n, line.c_str(), full.get(), fullSize);
  const std::size_t fullLength = std::strlen(full.get());
  Check(fullLength < fullSize);
  Check(fullLength <= std::strlen(line.c_str()));
  if (!found) Check(fullLength == 0);

  // Exactly smallSize bytes on the heap, so that any write past them is seen.
  std::unique_ptr<char[]> small(new char[smallSize]);
  const bool foundSmall = text::GetCsvItem(n, line.c_str(), small.get(), smallSize);
  Check(foundSmall == found);
  Check(std::memchr(small.get(), '\0', smallSize) != nullptr);
  const std::size_t smallLength = std::strlen(small.get());
  const std::size_t room = smallSize - 1;
  Check(std::memcmp(small.get(), full.get(), smallLength) == 0);
  if (fullLength <= room) {
    Check(smallLength == fullLength);
  } else {
    // Cut: the whole room is used unless its last byte would be the first
    // half of a character that did not fit; then that byte is given up.
    const bool halfAtEnd = room > 0 &&
                           text::IsLeadByte(static_cast<unsigned char>(full[room - 1])) &&
                           text::BeginsCharacter(full.get(), room - 1);
    Check(smallLength == (halfAtEnd ? room - 1 : room));
  }
  return 0;
}

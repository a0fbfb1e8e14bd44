// Reading one comma-separated field of a definition line.
#include "text/csv.h"

#include "platform/platform.h"
#include "text/sjis.h"

namespace text {

namespace {

[[noreturn]] void ArgumentError() {
  plat::ShowMessageBox(plat::FocusWindow(), "引数の指定に誤りがあります", "GetCsvItem",
                       plat::kMbOk);
  plat::ExitProcess(1);
}

}  // namespace

bool GetCsvItem(int n, const char* line, char* out, std::size_t outSize) {
  if (n <= 0 || line == nullptr || line[0] == '\0' || out == nullptr || outSize == 0) {
    ArgumentError();
  }
  out[0] = '\0';

  // Find field n. Quotes toggle wherever they stand; neither a comma nor a
  // quote can be the second byte of a character, so bytes suffice here.
  std::size_t begin = 0, end = 0, i = 0;
  int field = 1;
  bool quoted = false;
  bool closed = false;
  for (; line[i] != '\0'; ++i) {
    if (line[i] == '"') {
      quoted = !quoted;
    } else if (line[i] == ',' && !quoted) {
      if (field == n) {
        end = i;
        closed = true;
        break;
      }
      ++field;
      if (field == n) begin = i + 1;
    }
  }
  if (!closed) {
    if (field < n) return false;
    end = i;
  }

  // Trim: line end, leading blanks, trailing blanks, one enclosing quote pair.
  while (end > begin && (line[end - 1] == '\r' || line[end - 1] == '\n')) --end;
  while (begin < end && line[begin] == ' ') ++begin;
  while (end > begin && line[end - 1] == ' ') --end;
  if (end > begin && line[begin] == '"' && line[end - 1] == '"') {
    ++begin;
    if (end > begin) --end;
  }

  // Copy, turning a doubled quote into one; cut at the buffer's end.
  const std::size_t room = outSize - 1;
  std::size_t o = 0;
  std::size_t k = begin;
  while (k < end && o < room) {
    out[o++] = line[k];
    k += (line[k] == '"' && k + 1 < end && line[k + 1] == '"') ? 2 : 1;
  }
  out[o] = '\0';
  // A cut must not leave the first half of a two-byte character behind.
  if (k < end && o > 0 && IsLeadByte(static_cast<unsigned char>(out[o - 1])) &&
      BeginsCharacter(out, o - 1)) {
    out[o - 1] = '\0';
  }
  return true;
}

}  // namespace text

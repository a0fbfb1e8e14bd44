// Operation lines as text from outside a job file (the clipboard): whether a
// line is one that a job can hold.
#pragma once

#include <string>

namespace ops {

// The longest line a job file gives back whole: 1,023 bytes (its reader's
// buffer holds 1,024 with the terminator).
constexpr std::size_t kLongestStoredLine = 1023;

// True when the text is one operation line that a job's file reads back as
// the same one line: ten fields, a known action name in field 4, at most
// kLongestStoredLine bytes, no line end or NUL inside, and not a line the
// file's reader skips (one that begins with "//").
bool IsOperationLine(const std::string& line);

}  // namespace ops

// Operation lines as text outside a job file (the clipboard): the text of
// stored lines, and the operation lines that a text holds.
#pragma once

#include <string>
#include <vector>

namespace ops {

// The longest line a job file gives back whole: 1,023 bytes (its reader's
// buffer holds 1,024 with the terminator).
constexpr std::size_t kLongestStoredLine = 1023;

// A line that begins with "//" is a comment, which a job file's reader
// skips.
inline bool IsCommentLine(const char* line) { return line[0] == '/' && line[1] == '/'; }

// The length of a line without the CR and LF bytes at its end.
std::size_t LengthWithoutLineEnd(const std::string& line);

// True when the text is one operation line that a job's file reads back as
// the same one line: ten fields, a known action name in field 4, at most
// kLongestStoredLine bytes, no line end or NUL inside, and not a line the
// file's reader skips (one that begins with "//").
bool IsOperationLine(const std::string& line);

// The text of stored lines: each without its line end, followed by CR LF.
std::string LinesAsText(const std::vector<std::string>& lines);
// The lines of a text, ended by CR LF, LF or CR; empty lines left out.
std::vector<std::string> LinesOf(const std::string& text);
// The operation lines of a text: its lines (LinesOf) when every one is an
// operation line; nothing otherwise.
std::vector<std::string> OperationLinesOf(const std::string& text);

}  // namespace ops

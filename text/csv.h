// Reading one comma-separated field of a definition line.
#pragma once

#include <cstddef>

namespace text {

// Copies field n (counted from 1) of `line` into `out`, which holds
// `outSize` bytes; a longer field is cut there (never a half character).
// True when field n exists. Field number 0, an empty or absent line, or an
// absent or zero-sized output is a programming error: a message box
// "引数の指定に誤りがあります" with caption "GetCsvItem", then exit code 1.
bool GetCsvItem(int n, const char* line, char* out, std::size_t outSize);

}  // namespace text

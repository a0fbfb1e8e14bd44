// The operations of the current job: one Shift-JIS text line per operation,
// in order, exactly as they stand in "KeyRecord.def".
#pragma once

#include <string>
#include <vector>

namespace jobstore {

extern const char MissingLinePlaceholder[];  // "There is no target data"

int LineCount();

// The lines a record file's bytes hold as the list loads them: read as fgets
// reads them (at most 1023 bytes each, up to and including the next LF),
// comment ("//") and empty lines skipped.
std::vector<std::string> DefinitionLinesOf(const std::string& bytes);

// Appends the lines of RecordFilePath (DefinitionLinesOf); a file that cannot
// be read adds nothing.
void LoadDefinitionLines();
// Writes every line to RecordFilePath, each ended by CR LF (appended in place
// to lines that do not end in LF). The old file is replaced only when every
// write succeeded; false leaves it as it was.
bool SaveDefinitionLines();
void FreeDefinitionLines();

// The list copies every text it is given.
void AppendLine(const char* text);
void InsertLineAt(int index, const char* text);   // 0 <= index <= LineCount()
void ReplaceLineAt(int index, const char* text);  // no element at index: nothing happens
void RemoveLineAt(int index);                     // no element at index: nothing happens
// The element's own text, valid until the element is replaced or removed;
// MissingLinePlaceholder for an index without an element.
const char* LineAt(int index);

}  // namespace jobstore

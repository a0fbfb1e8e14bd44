// The resource script of the program, generated from the dialog and string
// tables of resources/templates.h.
#pragma once

#include <string>
#include <vector>

namespace makeres {

// Shift-JIS (code page 932) to UTF-16 code units; false when the text is not
// valid Shift-JIS.
bool SjisToUtf16(const std::string& sjis, std::u16string& out);

// A wide string literal, L"...", with every code unit written as a \xNNNN
// escape so that the resource compiler needs no code page.
std::string WideLiteral(const std::u16string& text);

struct ResourceFiles {
  std::string icon;      // .ico for icon 103
  std::string animation; // .avi for resource 104 of type "AVI"
  std::string manifest;  // the application manifest, RT_MANIFEST 1
};

// The whole resource script; empty with `error` set when a text cannot be converted.
std::string MakeResourceScript(const ResourceFiles& files, std::string& error);

// The resource script of a companion program: its dialogs (by template id),
// the program's icon as icon 103, its manifest and its version information
// under its own name ("Titlescan"). Empty with `error` set on failure.
struct CompanionResources {
  std::string name;
  std::string icon;
  std::string manifest;
  std::vector<int> dialogs;
};
std::string MakeCompanionScript(const CompanionResources& companion, std::string& error);

}  // namespace makeres

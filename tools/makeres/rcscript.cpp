#include "tools/makeres/rcscript.h"

#include <iconv.h>

#include <cstdio>
#include <cstring>
#include <sstream>
#include <vector>

#include "resources/templates.h"

namespace makeres {
namespace {

const char* ClassName(res::ControlClass cls) {
  switch (cls) {
    case res::ControlClass::Static: return "STATIC";
    case res::ControlClass::Edit: return "EDIT";
    case res::ControlClass::Button: return "BUTTON";
    case res::ControlClass::ComboBox: return "COMBOBOX";
    case res::ControlClass::ListView: return "SysListView32";
    case res::ControlClass::Animation: return "SysAnimate32";
  }
  return "STATIC";
}

std::string Hex(std::uint32_t v) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", static_cast<unsigned>(v));
  return buf;
}

// A narrow literal for file names and fixed ASCII words.
std::string NarrowLiteral(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

bool ParseVersion(const char* text, unsigned (&parts)[4]) {
  return std::sscanf(text, "%u.%u.%u.%u", &parts[0], &parts[1], &parts[2], &parts[3]) == 4;
}

class Script {
 public:
  explicit Script(std::string& error) : error_(error) {}

  // The text as a wide literal; records the first conversion failure.
  std::string Text(const char* sjis) {
    std::u16string wide;
    if (!SjisToUtf16(sjis ? sjis : "", wide)) {
      if (error_.empty()) error_ = std::string("not Shift-JIS: ") + (sjis ? sjis : "");
      return "L\"\"";
    }
    return WideLiteral(wide);
  }

  void Dialog(const res::DialogTemplate& d) {
    out << d.id << " DIALOGEX " << d.x << ", " << d.y << ", " << d.width << ", " << d.height << "\n";
    out << "STYLE " << Hex(d.style) << "\n";
    out << "EXSTYLE " << Hex(d.exStyle) << "\n";
    if (d.caption && *d.caption) out << "CAPTION " << Text(d.caption) << "\n";
    // Shift-JIS character set, so that a Japanese face is chosen on any system.
    out << "FONT " << d.pointSize << ", " << NarrowLiteral(d.fontName) << ", 0, 0, 0x80\n";
    out << "BEGIN\n";
    for (std::size_t i = 0; i < d.controlCount; ++i) {
      const res::ControlTemplate& c = d.controls[i];
      out << "  CONTROL ";
      if (c.iconResource != 0) {
        out << c.iconResource;  // an icon static names its icon by resource id
      } else {
        out << Text(c.text);
      }
      out << ", " << c.id << ", " << NarrowLiteral(ClassName(c.cls)) << ", "
          << Hex(c.style | res::kWsChild | res::kWsVisible) << ", " << c.x << ", " << c.y << ", " << c.width
          << ", " << c.height << ", " << Hex(c.exStyle) << "\n";
    }
    out << "END\n\n";
  }

  std::ostringstream out;

 private:
  std::string& error_;
};

// The version resource of a program named `name` (ASCII).
bool VersionInfo(std::ostringstream& out, const char* name, std::string& error) {
  unsigned v[4];
  if (!ParseVersion(res::kVersionText, v)) {
    error = "bad version text";
    return false;
  }
  const std::string comma = std::to_string(v[0]) + "," + std::to_string(v[1]) + "," + std::to_string(v[2]) +
                            "," + std::to_string(v[3]);
  std::u16string version(res::kVersionText, res::kVersionText + std::strlen(res::kVersionText));
  auto ascii = [](const char* t) { return std::u16string(t, t + std::strlen(t)); };
  out << "1 VERSIONINFO\n";
  out << "FILEVERSION " << comma << "\nPRODUCTVERSION " << comma << "\n";
  out << "FILEFLAGSMASK 0x3F\nFILEFLAGS 0x0\nFILEOS 0x40004\nFILETYPE 0x1\nFILESUBTYPE 0x0\n";
  out << "BEGIN\n  BLOCK \"StringFileInfo\"\n  BEGIN\n    BLOCK \"041104B0\"\n    BEGIN\n";
  const std::pair<const char*, std::u16string> values[] = {
      {"CompanyName", ascii("Tavolex developers")},
      {"FileDescription", ascii(name)},
      {"FileVersion", version},
      {"InternalName", ascii(name)},
      {"LegalCopyright", ascii("Copyright (C) Tavolex developers")},
      {"OriginalFilename", ascii((std::string(name) + ".exe").c_str())},
      {"ProductName", ascii("Tavolex")},
      {"ProductVersion", version},
  };
  for (const auto& [key, value] : values) {
    out << "      VALUE " << NarrowLiteral(key) << ", " << WideLiteral(value) << "\n";
  }
  out << "    END\n  END\n  BLOCK \"VarFileInfo\"\n  BEGIN\n";
  out << "    VALUE \"Translation\", 0x411, 1200\n  END\nEND\n";

  return true;
}

}  // namespace

bool SjisToUtf16(const std::string& sjis, std::u16string& out) {
  out.clear();
  if (sjis.empty()) return true;
  iconv_t cd = iconv_open("UTF-16LE", "CP932");
  if (cd == reinterpret_cast<iconv_t>(-1)) return false;
  std::vector<char> in(sjis.begin(), sjis.end());
  std::vector<char> buf(in.size() * 4 + 8);
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = buf.data();
  std::size_t outLeft = buf.size();
  std::size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (r == static_cast<std::size_t>(-1) || inLeft != 0) return false;
  std::size_t bytes = buf.size() - outLeft;
  for (std::size_t i = 0; i + 1 < bytes; i += 2) {
    out.push_back(static_cast<char16_t>(static_cast<unsigned char>(buf[i]) |
                                        (static_cast<unsigned char>(buf[i + 1]) << 8)));
  }
  return true;
}

std::string WideLiteral(const std::u16string& text) {
  std::string out = "L\"";
  char buf[8];
  for (char16_t u : text) {
    std::snprintf(buf, sizeof buf, "\\x%04X", static_cast<unsigned>(u));
    out += buf;
  }
  return out + "\"";
}

std::string MakeResourceScript(const ResourceFiles& files, std::string& error) {
  error.clear();
  Script s(error);
  std::ostringstream& out = s.out;
  out << "// Generated by makeres from resources/templates.cpp; do not edit.\n";
  out << "LANGUAGE 0, 0\n\n";  // neutral: found whatever the user's language

  for (int id : {res::kAboutDialog, res::kMainDialog, res::kJobNameDialog}) {
    const res::DialogTemplate* d = res::FindDialogTemplate(id);
    if (!d) {
      error = "missing dialog template " + std::to_string(id);
      return {};
    }
    s.Dialog(*d);
  }

  out << "STRINGTABLE\nBEGIN\n";
  out << "  " << res::kAboutMenuString << ", " << s.Text(res::FindString(res::kAboutMenuString)) << "\n";
  out << "END\n\n";

  out << res::kIcon << " ICON " << NarrowLiteral(files.icon) << "\n";
  out << res::kStatusAnimation << " AVI " << NarrowLiteral(files.animation) << "\n";
  out << "1 24 " << NarrowLiteral(files.manifest) << "\n\n";  // RT_MANIFEST

  if (!VersionInfo(out, "Tavolex", error)) return {};

  if (!error.empty()) return {};
  return out.str();
}

std::string MakeCompanionScript(const CompanionResources& companion, std::string& error) {
  error.clear();
  Script s(error);
  std::ostringstream& out = s.out;
  out << "// Generated by makeres from resources/templates.cpp; do not edit.\n";
  out << "LANGUAGE 0, 0\n\n";
  for (int id : companion.dialogs) {
    const res::DialogTemplate* d = res::FindDialogTemplate(id);
    if (!d) {
      error = "missing dialog template " + std::to_string(id);
      return {};
    }
    s.Dialog(*d);
  }
  out << res::kIcon << " ICON " << NarrowLiteral(companion.icon) << "\n";
  out << "1 24 " << NarrowLiteral(companion.manifest) << "\n\n";  // RT_MANIFEST
  if (!VersionInfo(out, companion.name.c_str(), error)) return {};
  if (!error.empty()) return {};
  return out.str();
}

}  // namespace makeres

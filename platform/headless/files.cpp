// The in-memory file system of the headless platform.
//
// Paths are Shift-JIS with backslashes (forward slashes are accepted too, as
// Windows does). A path is split into a root ("C:" or "\\srv\pub") and its
// names, with a lead-byte-aware scan, so that a 0x5C second byte (as in 表)
// is never taken for a separator. Names are compared after FoldCase, which
// upper-cases ASCII letters only outside two-byte characters. As Win32 does,
// empty names and "." are dropped, ".." goes up, and trailing dots and blanks
// of a name are ignored.
#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <stdexcept>

#include "platform/headless/internal.h"
#include "text/sjis.h"

namespace headless {
namespace detail {

std::string CutText(const std::string& text, std::size_t maxBytes) {
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t len = text::IsLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + len > maxBytes || end + len > text.size()) break;
    end += len;
  }
  return text.substr(0, end);
}

std::string CutToBuffer(const std::string& text, std::size_t bufferSize) {
  return bufferSize == 0 ? std::string() : CutText(text, bufferSize - 1);
}

std::string FoldCase(const std::string& text) {
  std::string out = text;
  for (std::size_t i = 0; i < out.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(out[i]);
    if (text::IsLeadByte(c)) {
      ++i;  // keep the second byte as it is
    } else if (c >= 'a' && c <= 'z') {
      out[i] = static_cast<char>(c - 'a' + 'A');
    }
  }
  return out;
}

}  // namespace detail

namespace {

using detail::FoldCase;

struct Node {
  std::string name;  // as spelled when created
  std::string parentKey;
  bool isDirectory = false;
  std::string data;
  std::uint64_t order = 0;
  std::uint64_t writeTime = 0;  // a clock that every write of the content advances
  // A junction or symbolic link: the key and root of what it points to.
  std::string linkKey, linkRootKey;
  bool IsLink() const { return !linkKey.empty(); }
};

struct OpenHandle {
  std::string key;
  plat::OpenMode mode = plat::OpenMode::Read;
  std::size_t position = 0;
  bool limited = false;  // FailWriteAfter
  std::size_t budget = 0;
};

struct FileSystem {
  std::set<std::string> roots;       // folded root keys: "C:", "\\SRV\PUB"
  std::map<std::string, Node> nodes;  // folded full path -> file or folder
  std::uint64_t nextOrder = 1;
  std::uint64_t clock = 0;  // the last write time handed out
  std::map<int, OpenHandle> handles;
  std::set<std::string> failCreate, failOpen, failDelete, failReplace, strandReplace;
  std::map<std::string, std::size_t> failWriteAfter;
  long long diskFree = -1;   // bytes that may still be added; -1 for no limit
  long long diskBase = 0;    // total content when SetDiskFree was called
  std::string modulePath = "C:\\Tools\\Tavolex.exe";
  bool modulePathExact = true;

  FileSystem() { roots.insert("C:"); }
};

FileSystem& Fs() {
  static FileSystem fs;
  return fs;
}

// A path taken apart.
struct Resolved {
  bool valid = false;
  std::string rootKey;
  std::vector<std::string> names;  // as spelled
  std::string key;                 // folded; the root key for the root itself
  std::string parentKey;           // empty for the root
  bool IsRoot() const { return names.empty(); }
};

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool HasInvalidCharacter(const std::string& name) {
  for (std::size_t i = 0; i < name.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(name[i]);
    if (text::IsLeadByte(c)) {
      ++i;
      continue;
    }
    if (c < 0x20 || std::string("<>:\"|?*").find(static_cast<char>(c)) != std::string::npos) {
      return true;
    }
  }
  return false;
}

std::vector<std::string> SplitPath(const std::string& path) {
  std::vector<std::string> parts(1);
  for (std::size_t i = 0; i < path.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(path[i]);
    if (text::IsLeadByte(c) && i + 1 < path.size()) {
      parts.back() += path.substr(i, 2);
      ++i;
    } else if (IsSeparator(path[i])) {
      parts.emplace_back();
    } else {
      parts.back() += path[i];
    }
  }
  return parts;
}

// A path is followed through links, as the system does; with followLast
// false its last name stays the link itself (removing or testing the link).
Resolved Resolve(const std::string& path, bool followLast = true) {
  Resolved r;
  std::vector<std::string> parts = SplitPath(path);
  std::size_t first = 0;
  if (parts.size() >= 4 && parts[0].empty() && parts[1].empty() && !parts[2].empty() &&
      !parts[3].empty()) {
    r.rootKey = FoldCase("\\\\" + parts[2] + "\\" + parts[3]);
    first = 4;
  } else if (parts[0].size() == 2 && std::isalpha(static_cast<unsigned char>(parts[0][0])) &&
             parts[0][1] == ':') {
    r.rootKey = FoldCase(parts[0]);
    first = 1;
  } else {
    return r;  // relative paths are not supported
  }
  for (std::size_t i = first; i < parts.size(); ++i) {
    std::string name = parts[i];
    if (name.empty() || name == ".") continue;
    if (name == "..") {
      if (!r.names.empty()) r.names.pop_back();
      continue;
    }
    while (!name.empty() && (name.back() == '.' || name.back() == ' ')) name.pop_back();
    if (name.empty() || HasInvalidCharacter(name)) return r;
    r.names.push_back(name);
  }
  r.key = r.rootKey;
  for (std::size_t i = 0; i < r.names.size(); ++i) {
    r.parentKey = r.key;
    r.key += "\\" + FoldCase(r.names[i]);
    if (i + 1 == r.names.size() && !followLast) break;
    auto link = Fs().nodes.find(r.key);
    if (link != Fs().nodes.end() && link->second.IsLink()) {
      r.rootKey = link->second.linkRootKey;
      r.key = link->second.linkKey;
      auto target = Fs().nodes.find(r.key);
      r.parentKey = target != Fs().nodes.end() ? target->second.parentKey : r.rootKey;
    }
  }
  r.valid = true;
  return r;
}

// The key under which faults are registered: the resolved key, else the folded text.
std::string FaultKey(const std::string& path) {
  Resolved r = Resolve(path);
  return r.valid ? r.key : FoldCase(path);
}

bool RootExists(const Resolved& r) { return r.valid && Fs().roots.count(r.rootKey) > 0; }

Node* FindNode(const Resolved& r) {
  if (!RootExists(r) || r.IsRoot()) return nullptr;
  auto it = Fs().nodes.find(r.key);
  return it == Fs().nodes.end() ? nullptr : &it->second;
}

Node* FindFile(const Resolved& r) {
  Node* node = FindNode(r);
  return node != nullptr && !node->isDirectory ? node : nullptr;
}

// True when the path's parent exists and is a folder (or a root).
bool ParentIsFolder(const Resolved& r) {
  if (!RootExists(r) || r.IsRoot()) return false;
  if (r.parentKey == r.rootKey) return true;
  auto it = Fs().nodes.find(r.parentKey);
  return it != Fs().nodes.end() && it->second.isDirectory;
}

bool IsFolderKey(const Resolved& r) {
  if (!RootExists(r)) return false;
  if (r.IsRoot()) return true;
  Node* node = FindNode(r);
  return node != nullptr && node->isDirectory;
}

Node& AddNode(const Resolved& r, bool isDirectory) {
  Node& node = Fs().nodes[r.key];
  node.name = r.names.back();
  node.parentKey = r.parentKey;
  node.isDirectory = isDirectory;
  node.data.clear();
  node.order = Fs().nextOrder++;
  return node;
}

bool IsOpen(const std::string& key) {
  for (const auto& entry : Fs().handles) {
    if (entry.second.key == key) return true;
  }
  return false;
}

bool HasChildren(const std::string& key) {
  for (const auto& entry : Fs().nodes) {
    if (entry.second.parentKey == key) return true;
  }
  return false;
}

std::vector<const Node*> Children(const std::string& key) {
  std::vector<const Node*> children;
  for (const auto& entry : Fs().nodes) {
    if (entry.second.parentKey == key) children.push_back(&entry.second);
  }
  std::sort(children.begin(), children.end(),
            [](const Node* a, const Node* b) { return a->order < b->order; });
  return children;
}

long long TotalContent() {
  long long total = 0;
  for (const auto& entry : Fs().nodes) total += static_cast<long long>(entry.second.data.size());
  return total;
}

// Test helper: the path with its missing parent folders created.
Resolved PrepareParents(const std::string& path, const char* who) {
  Resolved r = Resolve(path);
  if (!r.valid || !RootExists(r)) {
    throw std::invalid_argument(std::string(who) + ": no drive or share for \"" + path + "\"");
  }
  Resolved partial;
  partial.valid = true;
  partial.rootKey = r.rootKey;
  partial.key = r.rootKey;
  for (std::size_t i = 0; i + 1 < r.names.size(); ++i) {
    partial.parentKey = partial.key;
    partial.names.push_back(r.names[i]);
    partial.key += "\\" + FoldCase(r.names[i]);
    Node* node = FindNode(partial);
    if (node == nullptr) {
      AddNode(partial, true);
    } else if (!node->isDirectory) {
      throw std::invalid_argument(std::string(who) + ": a file is in the way of \"" + path + "\"");
    }
  }
  return r;
}

// '*' and '?' against a folded name.
bool WildcardMatch(const char* mask, const char* name) {
  if (*mask == '\0') return *name == '\0';
  if (*mask == '*') {
    for (const char* n = name;; ++n) {
      if (WildcardMatch(mask + 1, n)) return true;
      if (*n == '\0') return false;
    }
  }
  if (*name == '\0') return false;
  if (*mask == '?' || *mask == *name) return WildcardMatch(mask + 1, name + 1);
  return false;
}

}  // namespace

namespace detail {
void ResetFiles() { Fs() = FileSystem(); }
}  // namespace detail

// ---------------------------------------------------------------- test control

void AddDrive(char letter) {
  Fs().roots.insert(FoldCase(std::string(1, letter) + ":"));
}

void AddShare(const std::string& serverAndShare) {
  Resolved r = Resolve(serverAndShare);
  if (!r.valid || !r.IsRoot() || r.rootKey.size() < 2 || r.rootKey[1] != '\\') {
    throw std::invalid_argument("AddShare: not \\\\server\\share: \"" + serverAndShare + "\"");
  }
  Fs().roots.insert(r.rootKey);
}

void MakeFolder(const std::string& path) {
  Resolved r = PrepareParents(path, "MakeFolder");
  if (r.IsRoot()) return;
  Node* node = FindNode(r);
  if (node == nullptr) {
    AddNode(r, true);
  } else if (!node->isDirectory) {
    throw std::invalid_argument("MakeFolder: a file is in the way of \"" + path + "\"");
  }
}

void PutFile(const std::string& path, const std::string& bytes) {
  Resolved r = PrepareParents(path, "PutFile");
  if (r.IsRoot()) throw std::invalid_argument("PutFile: a root is not a file: \"" + path + "\"");
  Node* node = FindNode(r);
  if (node != nullptr && node->isDirectory) {
    throw std::invalid_argument("PutFile: a folder is in the way of \"" + path + "\"");
  }
  if (node == nullptr) node = &AddNode(r, false);
  node->data = bytes;
  node->writeTime = ++Fs().clock;
}

void MakeLink(const std::string& path, const std::string& target) {
  Resolved to = Resolve(target);
  Node* targetNode = FindNode(to);
  if (targetNode == nullptr) throw std::invalid_argument("MakeLink: no target \"" + target + "\"");
  Resolved r = PrepareParents(path, "MakeLink");
  if (r.IsRoot() || FindNode(Resolve(path, false)) != nullptr) {
    throw std::invalid_argument("MakeLink: something is in the way of \"" + path + "\"");
  }
  Node& link = AddNode(Resolve(path, false), targetNode->isDirectory);
  link.linkKey = to.key;
  link.linkRootKey = to.rootKey;
}

bool HasFile(const std::string& path) { return FindFile(Resolve(path)) != nullptr; }

bool HasFolder(const std::string& path) { return IsFolderKey(Resolve(path)); }

std::string FileBytes(const std::string& path) {
  Node* node = FindFile(Resolve(path));
  return node != nullptr ? node->data : std::string();
}

std::vector<std::string> FolderNames(const std::string& folder) {
  std::vector<std::string> names;
  Resolved r = Resolve(folder);
  if (!IsFolderKey(r)) return names;
  for (const Node* child : Children(r.key)) names.push_back(child->name);
  return names;
}

void SetWriteTime(const std::string& path, std::uint64_t time) {
  Node* node = FindFile(Resolve(path));
  if (node == nullptr) throw std::invalid_argument("SetWriteTime: no file \"" + path + "\"");
  node->writeTime = time;
}

void SetModulePath(const std::string& path, bool exact) {
  Fs().modulePath = path;
  Fs().modulePathExact = exact;
}

void FailCreate(const std::string& path) { Fs().failCreate.insert(FaultKey(path)); }
void FailOpen(const std::string& path) { Fs().failOpen.insert(FaultKey(path)); }
void FailWriteAfter(const std::string& path, std::size_t bytes) {
  Fs().failWriteAfter[FaultKey(path)] = bytes;
}
void SetDiskFree(long long bytes) {
  Fs().diskFree = bytes < 0 ? -1 : bytes;
  Fs().diskBase = TotalContent();
}
void FailDelete(const std::string& path) { Fs().failDelete.insert(FaultKey(path)); }
void FailReplace(const std::string& path) { Fs().failReplace.insert(FaultKey(path)); }
void StrandReplace(const std::string& path) { Fs().strandReplace.insert(FaultKey(path)); }
int OpenFileCount() { return static_cast<int>(Fs().handles.size()); }

}  // namespace headless

// ---------------------------------------------------------------- platform

namespace plat {

using headless::Fs;
using headless::Resolved;

std::string ModuleFileName(bool* exact) {
  if (exact != nullptr) {
    *exact = Fs().modulePathExact;
    return Fs().modulePath;
  }
  return Fs().modulePathExact ? Fs().modulePath : std::string();
}

bool PathExists(const char* path) {
  if (path == nullptr) return false;
  Resolved r = headless::Resolve(path);
  return r.IsRoot() ? headless::RootExists(r) : headless::FindNode(r) != nullptr;
}

bool IsDirectory(const char* path) {
  return path != nullptr && headless::IsFolderKey(headless::Resolve(path));
}

std::uint64_t FileWriteTime(const char* path) {
  headless::Node* node = path != nullptr ? headless::FindFile(headless::Resolve(path)) : nullptr;
  return node != nullptr ? node->writeTime : 0;
}

bool IsReparsePoint(const char* path) {
  if (path == nullptr) return false;
  Resolved r = headless::Resolve(path, false);
  headless::Node* node = headless::FindNode(r);
  return node != nullptr && node->IsLink();
}

bool CreateFolder(const char* path) {
  if (path == nullptr) return false;
  Resolved r = headless::Resolve(path);
  if (!r.valid || r.IsRoot() || Fs().failCreate.count(r.key) > 0) return false;
  if (headless::FindNode(r) != nullptr || !headless::ParentIsFolder(r)) return false;
  headless::AddNode(r, true);
  return true;
}

bool RemoveFolder(const char* path) {
  if (path == nullptr) return false;
  Resolved r = headless::Resolve(path, false);
  headless::Node* node = headless::FindNode(r);
  if (node == nullptr || !node->isDirectory || Fs().failDelete.count(r.key) > 0) return false;
  if (!node->IsLink() && headless::HasChildren(r.key)) return false;  // a link goes, not its target
  Fs().nodes.erase(r.key);
  return true;
}

bool DeleteFileAt(const char* path) {
  if (path == nullptr) return false;
  Resolved r = headless::Resolve(path, false);
  if (headless::FindFile(r) == nullptr || Fs().failDelete.count(r.key) > 0) return false;
  if (headless::IsOpen(r.key)) return false;  // sharing violation, as on Windows
  Fs().nodes.erase(r.key);
  return true;
}

bool ListFolder(const char* pattern, std::vector<FolderEntry>& entries) {
  entries.clear();
  if (pattern == nullptr) return false;
  std::string text = pattern;
  // The last separator, found with a lead-byte-aware scan.
  std::size_t cut = std::string::npos;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text::IsLeadByte(static_cast<unsigned char>(text[i]))) {
      ++i;
    } else if (headless::IsSeparator(text[i])) {
      cut = i;
    }
  }
  if (cut == std::string::npos || cut + 1 >= text.size()) return false;
  std::string mask = headless::FoldCase(text.substr(cut + 1));
  Resolved folder = headless::Resolve(text.substr(0, cut));
  if (!headless::IsFolderKey(folder)) return false;
  bool all = mask == "*" || mask == "*.*";
  // A root has no "." and ".." entries, as on Windows.
  if (!folder.IsRoot() && all) {
    entries.push_back({".", true});
    entries.push_back({"..", true});
  }
  for (const headless::Node* child : headless::Children(folder.key)) {
    if (all || headless::WildcardMatch(mask.c_str(), headless::FoldCase(child->name).c_str())) {
      entries.push_back({child->name, child->isDirectory, child->IsLink()});
    }
  }
  return !entries.empty();
}

int OpenFile(const char* path, OpenMode mode) {
  if (path == nullptr) return -1;
  Resolved r = headless::Resolve(path);
  if (!r.valid || r.IsRoot()) return -1;
  headless::Node* node = headless::FindNode(r);
  if (node != nullptr && node->isDirectory) return -1;
  headless::OpenHandle handle;
  handle.key = r.key;
  handle.mode = mode;
  if (mode == OpenMode::Read) {
    if (node == nullptr || Fs().failOpen.count(r.key) > 0) return -1;
  } else {
    if (Fs().failCreate.count(r.key) > 0 || !headless::ParentIsFolder(r)) return -1;
    if (node == nullptr) node = &headless::AddNode(r, false);
    if (mode == OpenMode::Append) {
      handle.position = node->data.size();
    } else {
      node->data.clear();
      node->writeTime = ++Fs().clock;
    }
    auto fault = Fs().failWriteAfter.find(r.key);
    if (fault != Fs().failWriteAfter.end()) {
      handle.limited = true;
      handle.budget = fault->second;
    }
  }
  int id = 3;  // the lowest free number, as the C runtime hands them out
  while (Fs().handles.count(id) > 0) ++id;
  Fs().handles[id] = handle;
  return id;
}

long ReadFile(int handle, void* buffer, std::size_t size) {
  auto it = Fs().handles.find(handle);
  if (it == Fs().handles.end() || it->second.mode != OpenMode::Read) return -1;
  auto node = Fs().nodes.find(it->second.key);
  if (node == Fs().nodes.end()) return -1;
  const std::string& data = node->second.data;
  std::size_t& position = it->second.position;
  if (position >= data.size()) return 0;
  std::size_t count = std::min(size, data.size() - position);
  std::copy_n(data.data() + position, count, static_cast<char*>(buffer));
  position += count;
  return static_cast<long>(count);
}

long WriteFile(int handle, const void* buffer, std::size_t size) {
  auto it = Fs().handles.find(handle);
  if (it == Fs().handles.end() || it->second.mode == OpenMode::Read) return -1;
  auto node = Fs().nodes.find(it->second.key);
  if (node == Fs().nodes.end()) return -1;
  headless::OpenHandle& h = it->second;
  std::string& data = node->second.data;
  if (h.mode == OpenMode::Append) h.position = data.size();
  std::size_t count = size;
  if (h.limited) count = std::min(count, h.budget);
  if (Fs().diskFree >= 0) {
    long long room = Fs().diskBase + Fs().diskFree - headless::TotalContent();
    std::size_t overwrite = h.position < data.size() ? data.size() - h.position : 0;
    std::size_t fits = overwrite + static_cast<std::size_t>(std::max(0LL, room));
    count = std::min(count, fits);
  }
  if (count == 0 && size > 0) return -1;  // nothing written: _write reports an error
  if (data.size() < h.position + count) data.resize(h.position + count);
  std::copy_n(static_cast<const char*>(buffer), count, &data[h.position]);
  h.position += count;
  node->second.writeTime = ++Fs().clock;
  if (h.limited) h.budget -= count;
  return static_cast<long>(count);
}

bool FlushFile(int handle) { return Fs().handles.count(handle) > 0; }

bool CloseFile(int handle) { return Fs().handles.erase(handle) > 0; }

ReplaceResult ReplaceFileWith(const char* target, const char* replacement, const char* backup) {
  if (target == nullptr || replacement == nullptr || backup == nullptr) return ReplaceResult::Unchanged;
  Resolved t = headless::Resolve(target);
  Resolved r = headless::Resolve(replacement);
  Resolved b = headless::Resolve(backup);
  headless::Node* source = headless::FindFile(r);
  if (source == nullptr || !t.valid || t.IsRoot() || t.key == r.key) return ReplaceResult::Unchanged;
  if (Fs().failReplace.count(t.key) > 0 || !headless::ParentIsFolder(t)) return ReplaceResult::Unchanged;
  if (headless::IsOpen(r.key) || headless::IsOpen(t.key)) return ReplaceResult::Unchanged;
  headless::Node* existing = headless::FindNode(t);
  if (existing != nullptr && existing->isDirectory) return ReplaceResult::Unchanged;
  if (existing != nullptr && Fs().strandReplace.count(t.key) > 0) {
    // The old file went to the backup name and could not be moved back.
    if (!b.valid || b.IsRoot() || b.key == t.key || b.key == r.key || headless::IsFolderKey(b)) {
      return ReplaceResult::Unchanged;
    }
    headless::Node old = *existing;
    Fs().nodes.erase(t.key);
    headless::Node& moved = headless::AddNode(b, false);
    moved.data = old.data;
    moved.writeTime = old.writeTime;
    return ReplaceResult::TargetMoved;
  }
  if (existing == nullptr) existing = &headless::AddNode(t, false);
  existing->data = source->data;
  existing->writeTime = source->writeTime;
  Fs().nodes.erase(r.key);
  return ReplaceResult::Replaced;
}

}  // namespace plat

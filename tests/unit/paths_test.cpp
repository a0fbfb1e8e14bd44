#include <cstring>
#include <iterator>
#include <string>

#include "jobstore/job_names.h"
#include "jobstore/paths.h"
#include "tests/support/fresh_state.h"

using namespace jobstore;

namespace {

class Paths : public FreshState {};

TEST_F(Paths, FindLastCharSkipsSecondBytesOfTwoByteCharacters) {
  // 表 is 95 5C: its second byte is a backslash that must not count.
  EXPECT_EQ(FindLastChar("表", '\\'), -1);
  EXPECT_EQ(FindLastChar("a\\表", '\\'), 1);
  EXPECT_EQ(FindLastChar("表\\b", '\\'), 2);
  EXPECT_EQ(FindLastChar("\\", '\\'), 0);
  EXPECT_EQ(FindLastChar("", '\\'), -1);
  EXPECT_EQ(FindLastChar(nullptr, '\\'), -1);
  // A lead byte before the match, itself the second byte of a character:
  // 83 95 5C reads as the character 83 95 followed by a real backslash.
  EXPECT_EQ(FindLastChar(Bytes({0x83, 0x95, 0x5C}).c_str(), '\\'), 2);
}

TEST_F(Paths, FolderOfPath) {
  EXPECT_STREQ(FolderOfPath("C:\\Tools\\edit.exe"), "C:\\Tools\\");
  EXPECT_STREQ(FolderOfPath("表"), ".\\");
  EXPECT_STREQ(FolderOfPath(""), ".\\");
  EXPECT_STREQ(FolderOfPath("noslash"), ".\\");
  headless::MakeFolder("C:\\Data\\表");
  const char* existing = "C:\\Data\\表";
  EXPECT_EQ(FolderOfPath(existing), existing);  // the very text, no backslash added
  // A path longer than the buffer is cut, never written past it.
  std::string longPath = "C:\\" + std::string(400, 'a') + "\\x.exe";
  EXPECT_STREQ(FolderOfPath(longPath.c_str()), "C:\\");
}

TEST_F(Paths, NextPathComponent) {
  char component[kPathSize];
  const char* rest = NextPathComponent("\"a:b\"\\c", component);
  ASSERT_NE(rest, nullptr);
  EXPECT_STREQ(component, "a:b");
  rest = NextPathComponent(rest, component);
  ASSERT_NE(rest, nullptr);
  EXPECT_STREQ(component, "c");
  EXPECT_EQ(NextPathComponent(rest, component), nullptr);

  rest = NextPathComponent("\\\\srv\\表\\x", component);
  EXPECT_STREQ(component, "srv");
  rest = NextPathComponent(rest, component);
  EXPECT_STREQ(component, "表");  // the backslash inside 表 does not separate
  EXPECT_EQ(NextPathComponent("", component), nullptr);
  EXPECT_EQ(NextPathComponent("\\:\\", component), nullptr);

  // A component longer than 259 bytes comes in pieces of 259.
  std::string longName(300, 'z');
  rest = NextPathComponent(longName.c_str(), component);
  EXPECT_EQ(std::strlen(component), kPathSize - 1);
  rest = NextPathComponent(rest, component);
  EXPECT_EQ(std::strlen(component), 300 - (kPathSize - 1));
}

TEST_F(Paths, PrepareJobPathsFillsTheFivePaths) {
  headless::SetModulePath("C:\\Tools\\edit.exe");
  headless::MakeFolder("C:\\Tools");
  std::strcpy(JobName, "請求書");
  ASSERT_TRUE(PrepareJobPaths());
  EXPECT_TRUE(headless::HasFolder("C:\\Tools\\請求書"));
  EXPECT_STREQ(RecordFilePath, "C:\\Tools\\請求書\\KeyRecord.def");
  EXPECT_STREQ(RecordScrambledPath, "C:\\Tools\\請求書\\KeyRecord.def.psw");
  EXPECT_STREQ(InspectFilePath, "C:\\Tools\\請求書\\KeyInspec.def");
  EXPECT_STREQ(InspectScrambledPath, "C:\\Tools\\請求書\\KeyInspec.def.psw");
  EXPECT_STREQ(RepeatFilePath, "C:\\Tools\\請求書\\KeyRepeat.def");
}

TEST_F(Paths, PrepareJobPathsCreatesMissingFoldersComponentByComponent) {
  headless::AddDrive('D');
  headless::MakeFolder("D:\\a");
  headless::SetModulePath("D:\\a\\b\\edit.exe");
  std::strcpy(JobName, "job");
  PrepareJobPaths();
  EXPECT_TRUE(headless::HasFolder("D:\\a\\b"));
  EXPECT_TRUE(headless::HasFolder("D:\\a\\b\\job"));

  // On a drive that does not exist nothing is created, but the paths are filled.
  headless::SetModulePath("E:\\x\\edit.exe");
  ResetPaths();
  std::strcpy(JobName, "job");
  EXPECT_TRUE(PrepareJobPaths());
  EXPECT_FALSE(headless::HasFolder("E:\\x"));
  EXPECT_STREQ(RecordFilePath, "E:\\x\\job\\KeyRecord.def");
}

TEST_F(Paths, PrepareJobPathsOnANetworkShare) {
  headless::AddShare("\\\\srv\\pub");
  headless::SetModulePath("\\\\srv\\pub\\dir\\edit.exe");
  std::strcpy(JobName, "job");
  PrepareJobPaths();
  EXPECT_TRUE(headless::HasFolder("\\\\srv\\pub\\dir"));
  EXPECT_TRUE(headless::HasFolder("\\\\srv\\pub\\dir\\job"));
}

TEST_F(Paths, EmptyJobNameUsesTheProgramFolder) {
  headless::MakeFolder("C:\\Tools");
  JobName[0] = '\0';
  PrepareJobPaths();
  EXPECT_STREQ(RecordFilePath, "C:\\Tools\\\\KeyRecord.def");
}

TEST_F(Paths, PathsThatWouldNotFitAreRefusedNotCut) {
  std::string deep = "C:\\" + std::string(230, 'd');
  headless::MakeFolder(deep);
  headless::SetModulePath(deep + "\\edit.exe");
  std::strcpy(JobName, "a-rather-long-job-name");
  EXPECT_FALSE(PrepareJobPaths());
  EXPECT_STREQ(RecordFilePath, "");
  EXPECT_STREQ(InspectScrambledPath, "");
  EXPECT_FALSE(headless::HasFolder(deep + "\\a-rather-long-job-name"));
}

TEST_F(Paths, UsableJobNames) {
  headless::MakeFolder("C:\\Tools");
  struct Case {
    std::string name;
    bool usable;
  } cases[] = {
      {"請求書", true},
      {"表", true},               // second byte 0x5C is no backslash
      {"受注 2024.v2", true},
      {"", false},
      {".", false},
      {"..", false},
      {"..\\x", false},
      {"a\\b", false},
      {"a/b", false},
      {"C:x", false},
      {"C:\\Windows", false},
      {"\\\\srv\\share", false},
      {"a*b", false},
      {"a?b", false},
      {"a\"b", false},
      {"a<b", false},
      {"a>b", false},
      {"a|b", false},
      {"trailingdot.", false},
      {"trailingspace ", false},
      {"CON", false},
      {"con.txt", false},
      {"Lpt9", false},
      {"COM1.def", false},
      {"COM0", true},
      {"CONSOLE", true},
      {"NULL", true},
      {Bytes({'a', 0x95}), false},  // ends in half a character
      {std::string(300, 'x'), false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsUsableJobName(c.name.c_str()), c.usable) << c.name;

  // A name fits only while its longest path does: folder + name + "\KeyInspec.def.psw".
  std::size_t room = 259 - std::strlen("C:\\Tools\\") - std::strlen("\\KeyInspec.def.psw");
  EXPECT_TRUE(IsUsableJobName(std::string(room, 'n').c_str()));
  EXPECT_FALSE(IsUsableJobName(std::string(room + 1, 'n').c_str()));
}

TEST_F(Paths, TheProgramPathMustBeKnownSpeltInShiftJisAndShortEnough) {
  struct Case {
    std::string path;
    bool exact;
    ModulePathStatus status;
  } cases[] = {
      {"C:\\Tools\\Tavolex.exe", true, ModulePathStatus::Known},
      {"", true, ModulePathStatus::Unknown},
      {"C:\\Jos?\\Tavolex.exe", false, ModulePathStatus::NotShiftJis},
      {"C:\\" + std::string(250, 'd') + "\\T.exe", true, ModulePathStatus::Known},    // 259 bytes
      {"C:\\" + std::string(251, 'd') + "\\T.exe", true, ModulePathStatus::TooLong},  // 260 bytes
  };
  for (const Case& c : cases) {
    SetUp();
    headless::SetModulePath(c.path, c.exact);
    std::string shown = "unchanged";
    EXPECT_EQ(EnsureModulePath(&shown), c.status) << c.path;
    if (c.status == ModulePathStatus::Known) {
      EXPECT_EQ(ModulePath, c.path);
      continue;
    }
    EXPECT_STREQ(ModulePath, "") << c.path;
    EXPECT_EQ(shown, c.path);
    EXPECT_FALSE(JobPathsFit("a")) << c.path;  // no place known: nothing fits
    EXPECT_EQ(LongestJobName(), 0u);
  }
}

TEST_F(Paths, TheLimitsOfTheProgramFolderAndTheJobName) {
  // 259 bytes = folder + name + "\KeyInspec.def.psw" (18 bytes).
  EXPECT_EQ(DeepestProgramFolderFor(DraftJobName), 217u);
  EXPECT_EQ(DeepestProgramFolderFor("a"), 240u);
  EXPECT_EQ(DeepestProgramFolderFor(std::string(300, 'n').c_str()), 0u);
  EXPECT_EQ(LongestJobName(), 232u);  // beside "C:\Tools\"
  EXPECT_TRUE(JobPathsFit(std::string(232, 'n').c_str()));
  EXPECT_FALSE(JobPathsFit(std::string(233, 'n').c_str()));
  EXPECT_TRUE(IsPlainJobName(std::string(233, 'n').c_str()));

  SetUp();
  headless::SetModulePath("C:\\" + std::string(238, 'd') + "\\T.exe");  // a 241-byte folder
  EXPECT_EQ(LongestJobName(), 0u);
}

TEST_F(Paths, PreparingAJobRemovesOnlyTheLeftoversOfItsFiles) {
  const std::string job = "C:\\Tools\\job\\";
  const char* const files[] = {"KeyRecord.def", "KeyRecord.def.psw", "KeyInspec.def", "KeyInspec.def.psw",
                               "KeyRepeat.def", "other.tmp", "KeyRecord.tmp.bak"};
  for (const char* name : files) headless::PutFile(job + name, name);
  for (const char* name : {"KeyRecord.tmp", "keyrecord.DEF.tmp", "KeyInspec.tmp", "KeyInspec.def.tmp",
                           "KeyRepeat.tmp", "KeyRecord.bak", "KeyRecord.def.bak", "KeyRepeat.bak"}) {
    headless::PutFile(job + name, "left over");
  }
  std::strcpy(JobName, "job");
  ASSERT_TRUE(PrepareJobPaths());
  EXPECT_EQ(headless::FolderNames("C:\\Tools\\job").size(), std::size(files));
  for (const char* name : files) EXPECT_EQ(headless::FileBytes(job + name), name);
}

}  // namespace

#include <cstring>
#include <string>

#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "tests/support/fresh_state.h"

using namespace jobstore;

namespace {

class Lines : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    std::strcpy(JobName, "job");
    PrepareJobPaths();
  }
  std::string All() {
    std::string s;
    for (int i = 0; i < LineCount(); ++i) s += std::string(LineAt(i)) + "|";
    return s;
  }
};

TEST_F(Lines, ListOperationsKeepOrderAndCount) {
  AppendLine("a");
  AppendLine("b");
  InsertLineAt(0, "t");
  EXPECT_EQ(All(), "t|a|b|");
  InsertLineAt(3, "u");
  EXPECT_EQ(All(), "t|a|b|u|");
  InsertLineAt(2, "m");
  EXPECT_EQ(All(), "t|a|m|b|u|");
  RemoveLineAt(0);
  RemoveLineAt(9);
  RemoveLineAt(-1);
  EXPECT_EQ(All(), "a|m|b|u|");
  ReplaceLineAt(1, "M");
  ReplaceLineAt(4, "nothing");
  EXPECT_EQ(All(), "a|M|b|u|");
  EXPECT_EQ(LineCount(), 4);
  EXPECT_STREQ(LineAt(4), "There is no target data");
  EXPECT_STREQ(LineAt(-1), "There is no target data");
  FreeDefinitionLines();
  EXPECT_EQ(LineCount(), 0);
}

TEST_F(Lines, TextsAreCopiedAndStayValidWhileOthersChange) {
  char caller[8] = "abc";
  AppendLine(caller);
  caller[0] = 'X';
  EXPECT_STREQ(LineAt(0), "abc");
  const char* held = LineAt(0);
  for (int i = 0; i < 1000; ++i) InsertLineAt(0, "before");
  EXPECT_STREQ(held, "abc");
  EXPECT_EQ(held, LineAt(1000));
}

TEST_F(Lines, MissingFileLeavesTheListEmpty) {
  LoadDefinitionLines();
  EXPECT_EQ(LineCount(), 0);
}

TEST_F(Lines, LoadSkipsCommentsAndEmptyLinesAndSaveWritesCrLf) {
  headless::PutFile(RecordFilePath,
                    "// comment\r\n\r\nfirst,1\r\n\nlone-lf-above\r\nlast-without-end");
  LoadDefinitionLines();
  ASSERT_EQ(LineCount(), 4);
  EXPECT_STREQ(LineAt(0), "first,1\r\n");
  EXPECT_STREQ(LineAt(1), "\n");  // a lone LF is an element of its own
  EXPECT_STREQ(LineAt(3), "last-without-end");
  ASSERT_TRUE(SaveDefinitionLines());
  EXPECT_EQ(headless::FileBytes(RecordFilePath),
            "first,1\r\n\nlone-lf-above\r\nlast-without-end\r\n");
  // The line end is appended in place: the element keeps it.
  EXPECT_STREQ(LineAt(3), "last-without-end\r\n");
}

TEST_F(Lines, EditorLinesGetTheirLineEndWhenSaved) {
  AppendLine("名前,1,2,マウスでクリックする,,,,,,4");
  ASSERT_TRUE(SaveDefinitionLines());
  EXPECT_EQ(headless::FileBytes(RecordFilePath), "名前,1,2,マウスでクリックする,,,,,,4\r\n");
  EXPECT_STREQ(LineAt(0), "名前,1,2,マウスでクリックする,,,,,,4\r\n");
}

TEST_F(Lines, LongPhysicalLinesArriveInPiecesOf1023Bytes) {
  std::string line(1100, 'x');
  headless::PutFile(RecordFilePath, line + "\r\n");
  LoadDefinitionLines();
  ASSERT_EQ(LineCount(), 2);
  EXPECT_EQ(std::strlen(LineAt(0)), 1023u);
  EXPECT_EQ(std::string(LineAt(1)), std::string(77, 'x') + "\r\n");
  ASSERT_TRUE(SaveDefinitionLines());
  // The first piece gets its own line end: the physical line is split in two.
  EXPECT_EQ(headless::FileBytes(RecordFilePath),
            std::string(1023, 'x') + "\r\n" + std::string(77, 'x') + "\r\n");
}

TEST_F(Lines, SaveOfAnEmptyListWritesAnEmptyFile) {
  headless::PutFile(RecordFilePath, "old\r\n");
  ASSERT_TRUE(SaveDefinitionLines());
  EXPECT_TRUE(headless::HasFile(RecordFilePath));
  EXPECT_EQ(headless::FileBytes(RecordFilePath), "");
}

TEST_F(Lines, AFailingSaveLeavesTheOldFileAsItWas) {
  const std::string old = "old-1\r\nold-2\r\n";
  AppendLine(std::string(5000, 'n').c_str());
  AppendLine("second");

  struct Fault {
    const char* what;
    void (*inject)();
  } faults[] = {
      {"write fails part way", [] { headless::FailWriteAfter("C:\\Tools\\job\\KeyRecord.tmp", 100); }},
      {"disk full", [] { headless::SetDiskFree(10); }},
      {"cannot create", [] { headless::FailCreate("C:\\Tools\\job\\KeyRecord.tmp"); }},
      {"replace fails", [] { headless::FailReplace("C:\\Tools\\job\\KeyRecord.def"); }},
  };
  for (const Fault& f : faults) {
    headless::Reset();
    ResetPaths();
    std::strcpy(JobName, "job");
    PrepareJobPaths();
    headless::PutFile(RecordFilePath, old);
    f.inject();
    EXPECT_FALSE(SaveDefinitionLines()) << f.what;
    EXPECT_EQ(headless::FileBytes(RecordFilePath), old) << f.what;
    EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyRecord.tmp")) << f.what;
    EXPECT_EQ(headless::OpenFileCount(), 0) << f.what;
  }
}

TEST_F(Lines, SaveIntoAMissingFolderFails) {
  std::strcpy(RecordFilePath, "C:\\gone\\KeyRecord.def");
  AppendLine("x");
  EXPECT_FALSE(SaveDefinitionLines());
}

}  // namespace

#include <cstring>
#include <string>

#include "jobstore/paths.h"
#include "jobstore/scramble.h"
#include "operations/scrambled.h"
#include "tests/support/fresh_state.h"

using namespace jobstore;

namespace {

std::string Swapped(const std::string& s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(ops::SwapNibbles(static_cast<unsigned char>(c)));
  return out;
}

class Scramble : public FreshState {
 protected:
  void SetUp() override {
    FreshState::SetUp();
    std::strcpy(JobName, "job");
    PrepareJobPaths();
  }
};

TEST_F(Scramble, NibbleRule) {
  EXPECT_EQ(ops::SwapNibbles(0x41), 0x14);
  EXPECT_EQ(ops::SwapNibbles(0x0D), 0xD0);
  EXPECT_EQ(ops::SwapNibbles(0x0A), 0xA0);
  EXPECT_EQ(ops::SwapNibbles(0x82), 0x28);
  for (int b = 0; b < 256; ++b) EXPECT_EQ(ops::SwapNibbles(ops::SwapNibbles(static_cast<unsigned char>(b))), b);
}

TEST_F(Scramble, ScrambleAndUnscrambleRoundTrip) {
  headless::PutFile(RecordFilePath, "abc");
  ASSERT_TRUE(ScrambleFile(RecordFilePath));
  EXPECT_FALSE(headless::HasFile(RecordFilePath));
  EXPECT_EQ(headless::FileBytes(RecordScrambledPath), Bytes({0x16, 0x26, 0x36}));
  ASSERT_EQ(UnscrambleRecordFile(), Unscramble::Done);
  EXPECT_FALSE(headless::HasFile(RecordScrambledPath));
  EXPECT_EQ(headless::FileBytes(RecordFilePath), "abc");
}

TEST_F(Scramble, SizesZeroAnd257) {
  for (std::size_t size : {std::size_t{0}, std::size_t{257}, std::size_t{512}}) {
    std::string plain;
    for (std::size_t i = 0; i < size; ++i) plain.push_back(static_cast<char>(i * 7));
    headless::PutFile(InspectFilePath, plain);
    ASSERT_TRUE(ScrambleFile(InspectFilePath)) << size;
    EXPECT_TRUE(headless::HasFile(InspectScrambledPath));
    EXPECT_FALSE(headless::HasFile(InspectFilePath));
    EXPECT_EQ(headless::FileBytes(InspectScrambledPath), Swapped(plain)) << size;
    // A runner reads the scrambled file into memory; the file stays.
    std::string read = "stale";
    EXPECT_TRUE(ops::ReadScrambledFile(InspectScrambledPath, &read)) << size;
    EXPECT_EQ(read, plain) << size;
    EXPECT_TRUE(headless::HasFile(InspectScrambledPath));
  }
  std::string read = "stale";
  EXPECT_FALSE(ops::ReadScrambledFile(RecordScrambledPath, &read));  // missing
  EXPECT_EQ(read, "");
}

TEST_F(Scramble, UnscrambleWithOnlyThePlainFileChangesNothing) {
  headless::PutFile(RecordFilePath, "plain\r\n");
  EXPECT_EQ(UnscrambleRecordFile(), Unscramble::NoScrambledFile);
  EXPECT_EQ(headless::FileBytes(RecordFilePath), "plain\r\n");
  EXPECT_EQ(RecordFormToLoad(RecordFilePath, RecordScrambledPath), RecordForm::Plain);
  EXPECT_EQ(RecordFormToLoad(RecordScrambledPath, RecordScrambledPath), RecordForm::None);
}

// Of two forms the one written last is loaded; with equal times the
// scrambled one. A plain file saved after a scrambling that failed stays.
TEST_F(Scramble, TheFormWrittenLastWinsAndTheScrambledOneATie) {
  for (int plainTime : {1, 2, 3}) {
    SetUp();
    headless::PutFile(RecordFilePath, "plain\r\n");
    headless::PutFile(RecordScrambledPath, Swapped("scrambled\r\n"));
    headless::SetWriteTime(RecordFilePath, static_cast<std::uint64_t>(plainTime));
    headless::SetWriteTime(RecordScrambledPath, 2);
    EXPECT_EQ(RecordFormToLoad(RecordFilePath, RecordScrambledPath),
              plainTime > 2 ? RecordForm::Plain : RecordForm::Scrambled);
    if (plainTime > 2) {
      EXPECT_EQ(UnscrambleRecordFile(), Unscramble::PlainIsNewer);
      EXPECT_EQ(headless::FileBytes(RecordFilePath), "plain\r\n");
      EXPECT_EQ(headless::FileBytes(RecordScrambledPath), Swapped("scrambled\r\n"));
    } else {
      EXPECT_EQ(UnscrambleRecordFile(), Unscramble::Done) << plainTime;
      EXPECT_EQ(headless::FileBytes(RecordFilePath), "scrambled\r\n") << plainTime;
      EXPECT_FALSE(headless::HasFile(RecordScrambledPath)) << plainTime;
    }
  }
}

TEST_F(Scramble, MissingInputChangesNothing) {
  EXPECT_FALSE(ScrambleFile(RecordFilePath));
  EXPECT_FALSE(headless::HasFile(RecordScrambledPath));
}

// A conversion that cannot finish keeps its input and leaves no partial output.
TEST_F(Scramble, FailuresKeepTheInput) {
  const std::string plain(700, 'p');
  struct Fault {
    const char* what;
    void (*inject)();
  } faults[] = {
      {"write fails part way", [] { headless::FailWriteAfter("C:\\Tools\\job\\KeyRecord.def.tmp", 300); }},
      {"disk full", [] { headless::SetDiskFree(100); }},
      {"cannot create", [] { headless::FailCreate("C:\\Tools\\job\\KeyRecord.def.tmp"); }},
      {"replace fails", [] { headless::FailReplace("C:\\Tools\\job\\KeyRecord.def.psw"); }},
  };
  for (const Fault& f : faults) {
    headless::Reset();
    ResetPaths();
    std::strcpy(JobName, "job");
    PrepareJobPaths();
    headless::PutFile(RecordFilePath, plain);
    f.inject();
    EXPECT_FALSE(ScrambleFile(RecordFilePath)) << f.what;
    EXPECT_EQ(headless::FileBytes(RecordFilePath), plain) << f.what;
    EXPECT_FALSE(headless::HasFile(RecordScrambledPath)) << f.what;
    EXPECT_FALSE(headless::HasFile("C:\\Tools\\job\\KeyRecord.def.tmp")) << f.what;
    EXPECT_EQ(headless::OpenFileCount(), 0) << f.what;
  }
}

TEST_F(Scramble, FailedUnscrambleKeepsBothFilesAsTheyWere) {
  const std::string oldPlain = "old plain line\r\n";
  const std::string scrambled = Swapped(std::string(600, 's'));
  struct Fault {
    const char* what;
    void (*inject)();
  } faults[] = {
      {"write fails part way", [] { headless::FailWriteAfter("C:\\Tools\\job\\KeyRecord.tmp", 10); }},
      {"disk full", [] { headless::SetDiskFree(5); }},
      {"replace fails", [] { headless::FailReplace("C:\\Tools\\job\\KeyRecord.def"); }},
  };
  for (const Fault& f : faults) {
    headless::Reset();
    ResetPaths();
    std::strcpy(JobName, "job");
    PrepareJobPaths();
    headless::PutFile(RecordFilePath, oldPlain);
    headless::PutFile(RecordScrambledPath, scrambled);
    f.inject();
    EXPECT_EQ(UnscrambleRecordFile(), Unscramble::Failed) << f.what;
    EXPECT_EQ(headless::FileBytes(RecordFilePath), oldPlain) << f.what;
    EXPECT_EQ(headless::FileBytes(RecordScrambledPath), scrambled) << f.what;
  }
}

}  // namespace

// The job's record file on disk across a session that ends with the close box: plain
// files stay as they are, a scrambled file is restored to plain form.
#include "tests/e2e/harness.h"

namespace e2e {
namespace {

// Operation lines as a user's job holds them (narrow literals are Shift-JIS): a
// comment, a line whose 表 carries a backslash byte, a line ending in a lone LF and a
// last line without a line end.
std::string SampleRecordBytes() {
  return std::string(
      "// 月末の請求処理\r\n"
      "画面をクリア,,,ショートカットを入力する,Win+D  (画面消去),,,,,2\r\n"
      "表計算を起動,,,アプリケーションを実行する,C:\\Program Files\\表計算\\calc.exe,,,,,8\r\n"
      "請求書欄をクリック,120,340,マウスでクリックする,,,,,,4\n"
      "表計算の表示,,,アプリケーションの表示設定,表計算 - Book1,0,0,800,600,2\r\n"
      "保存,,,ショートカットを入力する,Ctrl+S (保存),,,,,4");
}

class RecordFile : public EditorTest {};

TEST_F(RecordFile, PlainRecordFileStaysUnchangedAfterCloseBox) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  const std::string record = SampleRecordBytes();
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"請求処理", {{L"KeyRecord.def", record}}));

  Process editor;
  HWND dialog = StartEditorAndWait(editor, L"請求処理");
  ASSERT_NE(dialog, nullptr);
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor, dialog));

  std::string after;
  ASSERT_TRUE(ReadWholeFile(folder_.Path(L"請求処理\\KeyRecord.def"), after));
  EXPECT_TRUE(after == record) << "KeyRecord.def changed: " << record.size() << " bytes before, "
                               << after.size() << " after";
  EXPECT_EQ(ListNames(folder_.Path(L"請求処理")), std::vector<std::wstring>{L"KeyRecord.def"});
}

TEST_F(RecordFile, ScrambledRecordIsRestoredAndLeftPlainAfterCloseBox) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  const std::string record = SampleRecordBytes();
  ASSERT_NO_FATAL_FAILURE(
      folder_.MakeJob(L"Scrambled", {{L"KeyRecord.def.psw", SwapNibbles(record)}}));

  Process editor;
  HWND dialog = StartEditorAndWait(editor, L"Scrambled");
  ASSERT_NE(dialog, nullptr);
  // The stored form is converted before the dialog opens.
  EXPECT_FALSE(FileExists(folder_.Path(L"Scrambled\\KeyRecord.def.psw")));
  EXPECT_TRUE(FileExists(folder_.Path(L"Scrambled\\KeyRecord.def")));

  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor, dialog));

  std::string after;
  ASSERT_TRUE(ReadWholeFile(folder_.Path(L"Scrambled\\KeyRecord.def"), after));
  EXPECT_TRUE(after == record) << "the restored file differs from the unscrambled bytes: "
                               << record.size() << " bytes expected, " << after.size() << " found";
  EXPECT_EQ(ListNames(folder_.Path(L"Scrambled")), std::vector<std::wstring>{L"KeyRecord.def"});
}

TEST_F(RecordFile, ScrambledRecordWinsOverAnOlderPlainOne) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  const std::string record = SampleRecordBytes();
  const std::string older = "古い操作,,,指定秒間は停止する,60,,,,,\r\n";
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(
      L"Both", {{L"KeyRecord.def", older}, {L"KeyRecord.def.psw", SwapNibbles(record)}}));

  Process editor;
  HWND dialog = StartEditorAndWait(editor, L"Both");
  ASSERT_NE(dialog, nullptr);
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor, dialog));

  std::string after;
  ASSERT_TRUE(ReadWholeFile(folder_.Path(L"Both\\KeyRecord.def"), after));
  EXPECT_TRUE(after == record) << "the plain file was not replaced by the scrambled content";
  EXPECT_EQ(ListNames(folder_.Path(L"Both")), std::vector<std::wstring>{L"KeyRecord.def"});
}

TEST_F(RecordFile, ScrambledEmptyRecordBecomesEmptyPlainFile) {
  ASSERT_NO_FATAL_FAILURE(MakeFolder());
  ASSERT_NO_FATAL_FAILURE(folder_.MakeJob(L"Empty", {{L"KeyRecord.def.psw", std::string()}}));

  Process editor;
  HWND dialog = StartEditorAndWait(editor, L"Empty");
  ASSERT_NE(dialog, nullptr);
  ASSERT_NO_FATAL_FAILURE(CloseWithCloseBoxAndExpectExitZero(editor, dialog));

  std::string after = "not read";
  ASSERT_TRUE(ReadWholeFile(folder_.Path(L"Empty\\KeyRecord.def"), after));
  EXPECT_EQ(after.size(), 0u);
  EXPECT_EQ(ListNames(folder_.Path(L"Empty")), std::vector<std::wstring>{L"KeyRecord.def"});
}

}  // namespace
}  // namespace e2e

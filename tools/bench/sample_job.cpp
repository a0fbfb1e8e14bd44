#include "tools/bench/sample_job.h"

#include <string>

#include "jobstore/paths.h"
#include "jobstore/scramble.h"
#include "platform/platform.h"

namespace bench {

namespace {

// Lines of every kind, a TypeText among them (its cell is masked).
const char* const kSampleLines[] = {
    "ログイン画面を開く,120,240,マウスでクリックする,,,,,,4",
    "ユーザー名,300,410,マウスでダブルクリックする,,,,,,2",
    "パスワード,,,文字を入力する,secret-text,,,,,1",
    "一時停止,,,指定秒間は停止する,60,,,,,",
    "確定,,,各種キーを入力する,Enter,,,,,3",
    "デスクトップ,,,ショートカットを入力する,Win+D  (画面消去),,,,,2",
    "メモ帳,,,アプリケーションを実行する,C:\\Windows\\notepad.exe,,,,,8",
    "メモ帳の位置,,,アプリケーションの表示設定,無題 - メモ帳,960,20,960,720,2",
};

}  // namespace

void WriteSampleJob(int rows) {
  std::string text;
  for (int i = 0; i < rows; ++i) {
    text += kSampleLines[i % (sizeof kSampleLines / sizeof kSampleLines[0])];
    text += "\r\n";
  }
  int h = plat::OpenFile(jobstore::RecordFilePath, plat::OpenMode::WriteTruncate);
  if (h >= 0) {
    plat::WriteFile(h, text.data(), text.size());
    plat::CloseFile(h);
  }
  jobstore::ScrambleFile(jobstore::RecordFilePath);
}

}  // namespace bench

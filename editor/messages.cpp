#include "editor/messages.h"

#include <string>
#include <vector>

#include "jobstore/files.h"
#include "jobstore/paths.h"

namespace editor {

void TellFileNotWritten(plat::Window owner, const char* what, const char* path) {
  std::string message = std::string(what) + "\n\n" + path;
  const std::vector<std::string> copies = jobstore::StrandedCopiesOf(path);
  if (copies.empty()) {
    message += "\n\n保存先のフォルダーとディスクの空き容量を確認してください。";
  } else {
    // The file itself is gone: say where its content is.
    message += "\n\nファイルを置き換える途中で失敗したため、内容は次のファイルに残っています。\n";
    for (const std::string& copy : copies) {
      const bool saved = copy == jobstore::TemporaryPathFor(path);
      message += std::string("\n") + (saved ? "保存しようとした内容：" : "以前の内容：") + copy;
    }
    const long slash = jobstore::FindLastChar(path, '\\');
    message += std::string("\n\nどちらかのファイルの名前を ") +
               (path + slash + 1) + " に戻してください。それまでこのファイルには保存しません。";
  }
  plat::ShowMessageBox(owner, message.c_str(), kAppCaption, plat::kMbOk | plat::kMbIconWarning);
}

void TellLinesNotSaved(plat::Window owner, const char* path) {
  TellFileNotWritten(owner, "操作定義を保存できませんでした。", path);
}

void TellLinesNotScrambled(plat::Window owner) {
  std::string message = std::string("操作定義を暗号化して保存できませんでした。\n\n") +
                        jobstore::RecordScrambledPath +
                        "\n\n操作定義は暗号化しない形で次のファイルに保存されています。次回はこのファイルを読み込みます。\n\n" +
                        jobstore::RecordFilePath +
                        "\n\n暗号化したファイルが読み取り専用になっていないか確認してください。";
  plat::ShowMessageBox(owner, message.c_str(), kAppCaption, plat::kMbOk | plat::kMbIconWarning);
}

void TellUnscrambleProblem(plat::Window owner, jobstore::Unscramble result) {
  std::string message;
  if (result == jobstore::Unscramble::ScrambledStays) {
    message = std::string("暗号化された操作定義のファイルを削除できませんでした。\n\n") +
              jobstore::RecordScrambledPath +
              "\n\n操作定義はこのファイルから読み込みました。ファイルが読み取り専用になっていないか確認してください。";
  } else if (result == jobstore::Unscramble::Failed) {
    message = std::string("暗号化された操作定義のファイルを読み込めませんでした。\n\n") +
              jobstore::RecordScrambledPath +
              "\n\nこのファイルの操作定義は表示されていません。このまま保存すると、このファイルは置き換えられます。"
              "保存先のフォルダーとディスクの空き容量を確認してください。";
  } else {
    return;
  }
  plat::ShowMessageBox(owner, message.c_str(), kAppCaption, plat::kMbOk | plat::kMbIconWarning);
}

}  // namespace editor

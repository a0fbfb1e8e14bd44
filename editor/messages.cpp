#include "editor/messages.h"

#include <string>

#include "jobstore/paths.h"

namespace editor {

void TellFileNotWritten(plat::Window owner, const char* what, const char* path) {
  std::string message = std::string(what) + "\n\n" + path +
                        "\n\n保存先のフォルダーとディスクの空き容量を確認してください。";
  plat::ShowMessageBox(owner, message.c_str(), kAppCaption, plat::kMbOk | plat::kMbIconWarning);
}

void TellLinesNotSaved(plat::Window owner) {
  TellFileNotWritten(owner, "操作定義を保存できませんでした。", jobstore::RecordFilePath);
}

}  // namespace editor

// The system menu's "デスクトップにショートカットを作成": a shortcut on the
// user's desktop that runs the saved job with the runner, without the editor.
#include <cstdio>
#include <cstring>
#include <string>

#include "companions/contract.h"
#include "editor/features.h"
#include "editor/messages.h"
#include "editor/state.h"
#include "jobstore/paths.h"

namespace editor {

namespace {

// A system command: its low four bits are the system's.
constexpr unsigned kShortcutCommand = 32;

bool IsDraftJob() { return std::strcmp(jobstore::JobName, jobstore::DraftJobName) == 0; }

std::string ErrorCode(std::uint32_t error) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(error));
  return text;
}

// Why the shortcut could not be made, in the user's words.
std::string Reason(const plat::ShortcutOutcome& outcome) {
  switch (outcome.result) {
    case plat::ShortcutOutcome::NoDesktop:
      return "デスクトップのフォルダーの場所を取得できませんでした。";
    case plat::ShortcutOutcome::NoShellLink:
      return "Windows のショートカットの機能を使えませんでした（エラー " + ErrorCode(outcome.error) + "）。";
    default:
      return "ショートカットのファイルを保存できませんでした（エラー " + ErrorCode(outcome.error) +
             "）。\n\n同じ名前のファイルが読み取り専用になっていないか、デスクトップに書き込めるか確認してください。";
  }
}

void TellNotCreated(plat::Window dialog, const std::string& path, const std::string& reason) {
  std::string message = "デスクトップにショートカットを作成できませんでした。\n\n";
  if (!path.empty()) message += path + "\n\n";
  message += reason;
  plat::ShowMessageBox(dialog, message.c_str(), kAppCaption, plat::kMbOk | plat::kMbIconWarning);
}

void CreateShortcut(plat::Window dialog) {
  if (IsDraftJob()) return;  // the entry is greyed: the draft has no name to run
  if (!plat::PathExists(companions::RunnerToolPath) || plat::IsDirectory(companions::RunnerToolPath)) {
    TellNotCreated(dialog, "",
                   std::string("ショートカットから起動するプログラムが見つかりません。\n\n") +
                       companions::RunnerToolPath + "\n\nプログラムがこの場所にあるか確認してください。");
    return;
  }
  const plat::ShortcutOutcome outcome = plat::CreateDesktopShortcut(companions::JobShortcut(jobstore::JobName));
  if (outcome.result != plat::ShortcutOutcome::Created) {
    TellNotCreated(dialog, outcome.path, Reason(outcome));
    return;
  }
  std::string message = "デスクトップにショートカットを作成しました。\n\n" + outcome.path +
                        "\n\nショートカットを開くと、3 秒後に処理作業「" + jobstore::JobName + "」を実行します。";
  const bool neverSaved = !plat::PathExists(jobstore::RecordFilePath) && !plat::PathExists(jobstore::RecordScrambledPath);
  if (JobModified || neverSaved) {
    message += "\n\n作業中の変更はまだ保存されていません。ショートカットは保存済みの操作定義を実行します。"
               "「保存して終了」で保存してから使ってください。";
  }
  plat::ShowMessageBox(dialog, message.c_str(), kAppCaption, plat::kMbOk | plat::kMbIconInformation);
}

}  // namespace

void ShortcutMenuAtStart(plat::Window dialog) {
  plat::AppendSystemMenuItem(dialog, kShortcutCommand, "デスクトップにショートカットを作成(&D)");
  ShortcutJobChanged(dialog);
}

void ShortcutJobChanged(plat::Window dialog) {
  plat::EnableSystemMenuItem(dialog, kShortcutCommand, !IsDraftJob());
}

bool ShortcutSysCommand(plat::Window dialog, unsigned command) {
  if ((command & 0xFFF0u) != kShortcutCommand) return false;
  CreateShortcut(dialog);
  return true;
}

}  // namespace editor

#include "app/app.h"

#include <cstring>
#include <new>
#include <string>

#include "companions/contract.h"
#include "editor/colors.h"
#include "editor/main_dialog.h"
#include "editor/messages.h"
#include "jobstore/files.h"
#include "jobstore/job_names.h"
#include "jobstore/jobs.h"
#include "jobstore/lines.h"
#include "jobstore/paths.h"
#include "jobstore/scramble.h"
#include "platform/platform.h"
#include "text/sjis.h"

namespace app {

namespace {

using editor::kAppCaption;
constexpr char kMutexName[] = "Tavolex";
constexpr std::size_t kJobNameCut = 255;

// Running out of memory ends the program at once, without saving anything.
void OutOfMemory() {
  plat::ShowMessageBox(plat::FocusWindow(), "SYSTEM RESOURCE EMPTY!", "SYSTEM ERROR!", plat::kMbOk);
  plat::ExitProcess(1);
}

// What kept the command line's job name from being used.
enum class ArgumentProblem { None, NotPlain, TooLong };

// The job named on the command line: exactly one non-empty argument, cut to
// its first 255 bytes, that makes a plain folder name beside the program.
// Anything else edits the draft job.
ArgumentProblem ChooseJob(const std::vector<std::string>& args) {
  std::strcpy(jobstore::JobName, jobstore::DraftJobName);
  if (args.size() != 1 || args[0].empty()) return ArgumentProblem::None;
  // A name longer than 255 bytes never fits; whether it is plain is judged
  // on whole characters.
  std::string name = text::CutToCharacters(args[0], kJobNameCut);
  if (!jobstore::IsPlainJobName(name.c_str())) return ArgumentProblem::NotPlain;
  if (name.size() < args[0].size() || !jobstore::JobPathsFit(name.c_str())) return ArgumentProblem::TooLong;
  std::strcpy(jobstore::JobName, name.c_str());
  return ArgumentProblem::None;
}

void Warn(const std::string& message) {
  plat::ShowMessageBox(plat::kNoWindow, message.c_str(), kAppCaption, plat::kMbOk | plat::kMbIconWarning);
}

// At most 255 bytes of a text for a message, marked when cut.
std::string Shown(const std::string& text) {
  std::string shown = text::CutToCharacters(text, kJobNameCut);
  return shown.size() < text.size() ? shown + "…" : shown;
}

void ReportUnusableArgument(ArgumentProblem problem, const std::string& argument) {
  std::string message;
  if (problem == ArgumentProblem::NotPlain) {
    message = "コマンドラインで指定された作業名は使えません。\n\n" + Shown(argument) +
              "\n\n作業名はフォルダー名になります。\\ / : * ? \" < > | などの記号、シフトJISで表せない文字、"
              "CON や NUL などの名前は使えません。";
  } else {
    message = "コマンドラインで指定された作業名が長すぎます。\n\n" + Shown(argument) + "\n（" +
              std::to_string(argument.size()) + " バイト）\n\nこのフォルダーでは作業名は " +
              std::to_string(jobstore::LongestJobName()) + " バイト（全角文字は 2 バイト）までです。";
  }
  message += "\n\n下書きの作業を開きます。";
  Warn(message);
}

// The folder part of a path as the user sees it, ending with a backslash.
std::string FolderPart(const std::string& path) {
  long slash = jobstore::FindLastChar(path.c_str(), '\\');
  return slash < 0 ? path : path.substr(0, static_cast<std::size_t>(slash) + 1);
}

void ReportDeepFolder(const std::string& folder) {
  Warn("プログラムのフォルダーが深すぎるため、作業のファイルを保存できません。\n\n" + folder + "\n（" +
       std::to_string(folder.size()) + " バイト）\n\nフォルダーのパスが " +
       std::to_string(jobstore::DeepestProgramFolderFor(jobstore::DraftJobName)) +
       " バイト（全角文字は 2 バイト）以下の場所にプログラムを移してから、もう一度起動してください。");
}

// The program cannot know where it lies in Shift-JIS terms: jobs would end up
// in some other folder, so it ends instead.
void ReportProgramPath(jobstore::ModulePathStatus status, const std::string& shown) {
  switch (status) {
    case jobstore::ModulePathStatus::NotShiftJis:
      Warn("プログラムのフォルダーの名前にシフトJISで表せない文字が含まれているため、作業のファイルを保存"
           "できません。\n\n" +
           FolderPart(shown) +
           "\n（? はシフトJISで表せない文字です）\n\n"
           "シフトJISで表せる名前のフォルダーにプログラムを移してから、もう一度起動してください。");
      break;
    case jobstore::ModulePathStatus::TooLong:
      ReportDeepFolder(FolderPart(shown));
      break;
    default:
      Warn("プログラムの場所を取得できないため、作業のファイルを保存できません。\n\nプログラムを別のフォルダー"
           "に移してから、もう一度起動してください。");
      break;
  }
}

class CTavolexApp {
 public:
  // The process's exit code: 1 when the editor could not be opened.
  int exitCode = 0;

  // The start-up routine: runs the editor and always answers false, so no
  // message loop follows the dialog.
  bool InitInstance(const std::vector<std::string>& args) {
    if (!plat::AcquireSingleInstance(kMutexName)) return false;

    // Before anything is created: the job's files must have a known place
    // whose paths fit, or the work done in the editor could not be saved.
    std::string shownPath;
    jobstore::ModulePathStatus status = jobstore::EnsureModulePath(&shownPath);
    if (status != jobstore::ModulePathStatus::Known) {
      ReportProgramPath(status, shownPath);
      exitCode = 1;
      return false;
    }
    ArgumentProblem problem = ChooseJob(args);
    if (!jobstore::JobPathsFit(jobstore::JobName)) {  // the draft job, in a folder too deep
      ReportDeepFolder(jobstore::FolderOfPath(jobstore::ModulePath));
      exitCode = 1;
      return false;
    }
    if (problem != ArgumentProblem::None) ReportUnusableArgument(problem, args[0]);

    jobstore::PrepareJobPaths();
    companions::BuildCompanionPaths();
    editor::TellUnscrambleProblem(plat::kNoWindow, jobstore::LoadCurrentJob());

    editor::CreateDialogBrushes();
    editor::CTavolexDlg dialog;
    int result = dialog.DoModal();

    if (result == plat::kIdOk) {
      if (jobstore::SaveDefinitionLines()) {
        if (!jobstore::ScrambleFile(jobstore::RecordFilePath)) editor::TellLinesNotScrambled(plat::kNoWindow);
      } else {
        editor::TellLinesNotSaved(plat::kNoWindow);
      }
    }
    jobstore::FreeDefinitionLines();
    companions::TerminateCompanion(companions::PickerProcessId);
    companions::TerminateCompanion(companions::RunnerProcessId);
    jobstore::DeleteTestRunFiles();
    return false;
  }
};

}  // namespace

int RunTavolex(const std::vector<std::string>& args) {
  std::set_new_handler(OutOfMemory);
  CTavolexApp application;
  application.InitInstance(args);
  return application.exitCode;
}

}  // namespace app

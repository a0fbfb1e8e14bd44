// makeres: writes the program's resource script with its icon and status
// animation into a build folder, or the resource script of a companion
// program.
//
//   makeres OUTPUT_FOLDER MANIFEST_FILE
//   makeres --companion NAME SCRIPT_FILE ICON_FILE MANIFEST_FILE [DIALOG_ID...]
//
// Output: OUTPUT_FOLDER/tavolex.rc, tavolex.ico and status.avi; or the
// companion's SCRIPT_FILE, naming the icon written by the first form.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tools/makeres/pictures.h"
#include "tools/makeres/rcscript.h"

namespace {

constexpr int kAnimationSize = 24;
constexpr int kAnimationFrames = 6;
constexpr int kAnimationFps = 12;  // 83,333 microseconds per frame

int CompanionScript(int argc, char** argv) {
  makeres::CompanionResources companion;
  companion.name = argv[2];
  companion.icon = argv[4];
  companion.manifest = argv[5];
  for (int i = 6; i < argc; ++i) companion.dialogs.push_back(std::atoi(argv[i]));
  std::string error;
  std::string script = makeres::MakeCompanionScript(companion, error);
  if (script.empty()) {
    std::fprintf(stderr, "makeres: %s\n", error.c_str());
    return 1;
  }
  if (!makeres::WriteBytes(argv[3], std::vector<std::uint8_t>(script.begin(), script.end()))) {
    std::fprintf(stderr, "makeres: cannot write %s\n", argv[3]);
    return 1;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc >= 6 && std::string(argv[1]) == "--companion") return CompanionScript(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr,
                 "usage: makeres OUTPUT_FOLDER MANIFEST_FILE\n"
                 "       makeres --companion NAME SCRIPT_FILE ICON_FILE MANIFEST_FILE [DIALOG_ID...]\n");
    return 2;
  }
  const std::string folder = argv[1];
  makeres::ResourceFiles files;
  files.icon = folder + "/tavolex.ico";
  files.animation = folder + "/status.avi";
  files.manifest = argv[2];

  std::vector<makeres::Picture> frames;
  for (int i = 0; i < kAnimationFrames; ++i) {
    frames.push_back(makeres::DrawIndicatorFrame(kAnimationSize, i, kAnimationFrames));
  }
  if (!makeres::WriteBytes(files.icon, makeres::EncodeIco({makeres::DrawIcon(32), makeres::DrawIcon(16)})) ||
      !makeres::WriteBytes(files.animation, makeres::EncodeAvi(frames, kAnimationFps))) {
    std::fprintf(stderr, "makeres: cannot write into %s\n", folder.c_str());
    return 1;
  }

  std::string error;
  std::string script = makeres::MakeResourceScript(files, error);
  if (script.empty()) {
    std::fprintf(stderr, "makeres: %s\n", error.c_str());
    return 1;
  }
  if (!makeres::WriteBytes(folder + "/tavolex.rc", std::vector<std::uint8_t>(script.begin(), script.end()))) {
    std::fprintf(stderr, "makeres: cannot write %s/tavolex.rc\n", folder.c_str());
    return 1;
  }
  return 0;
}

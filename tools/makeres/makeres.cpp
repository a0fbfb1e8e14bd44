// makeres: writes the program's resource script with its icon and status
// animation into a build folder.
//
//   makeres OUTPUT_FOLDER MANIFEST_FILE
//
// Output: OUTPUT_FOLDER/tavolex.rc, tavolex.ico and status.avi.
#include <cstdio>
#include <string>
#include <vector>

#include "tools/makeres/pictures.h"
#include "tools/makeres/rcscript.h"

namespace {

constexpr int kAnimationSize = 24;
constexpr int kAnimationFrames = 6;
constexpr int kAnimationFps = 12;  // 83,333 microseconds per frame

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: makeres OUTPUT_FOLDER MANIFEST_FILE\n");
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

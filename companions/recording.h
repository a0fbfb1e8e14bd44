// A recording of the user's input by the runner: what it brings back in the
// job's KeyCapture.def and how it ends.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace companions {

// The runner's exit codes that a recording tells apart: the lines are in
// the file; another run of the runner goes on, so nothing was recorded.
constexpr unsigned kRecordingDone = 0;
constexpr unsigned kRunnerBusy = 4;

// Starts the runner hidden, without a window, to record into the file
// (`"Runvane.exe" /record "<file>"`); the process id, or 0.
std::uint32_t StartRecorder(const char* captureFilePath);

struct Recording {
  std::vector<std::string> lines;    // the operation lines, in order
  std::vector<std::string> skipped;  // the recorder's notes of skipped input ("ドラッグ 2件")
  int refusedLines = 0;              // lines that are neither: not taken
};
// Reads the file's bytes: each line that the clipboard's paste would take as
// an operation line is one, a line "//" plus a text is a note of what was
// skipped, and any other line is refused.
Recording ReadRecording(const std::string& bytes);

}  // namespace companions

#include "companions/recording.h"

#include <utility>

#include "companions/contract.h"
#include "operations/line_text.h"
#include "platform/platform.h"

namespace companions {

std::uint32_t StartRecorder(const char* captureFilePath) {
  return StartRunnerWith(std::string("/record \"") + captureFilePath + "\"");
}

Recording ReadRecording(const std::string& bytes) {
  Recording recording;
  for (std::string& line : ops::LinesOf(bytes)) {
    if (ops::IsOperationLine(line)) {
      recording.lines.push_back(std::move(line));
    } else if (ops::IsCommentLine(line.c_str())) {
      if (line.size() > 2) recording.skipped.push_back(line.substr(2));
    } else {
      ++recording.refusedLines;
    }
  }
  return recording;
}

}  // namespace companions

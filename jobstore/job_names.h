// Naming a job: the cleaning of an entered name and why a name is refused.
#pragma once

#include <string>

namespace jobstore {

// The nine characters never allowed in a job name.
extern const char kForbiddenNameCharacters[];  // \ / : * ? " < > |

// The entered name without the forbidden characters, removed only where they
// begin a character: the second byte of a two-byte character (0x5C of 表,
// 0x7C of ポ) stays.
std::string CleanJobName(const std::string& entered);

enum class JobNameProblem {
  None,          // usable
  Empty,         // nothing left
  DotName,       // "." or ".."
  BadCharacter,  // a control character or half a two-byte character
  BadEnding,     // ends with a dot or a blank
  DeviceName,    // CON, PRN, AUX, NUL, COM1-9, LPT1-9, also with an extension
  TooLong,       // the job's file paths would not fit
  DraftName,     // the draft job's own name
};

// Why a new job name cannot be used; None when it can. The verdict is that
// of IsUsableJobName (the rule for a name on the command line); the draft's
// own name is refused too, since the draft cannot be named after itself.
JobNameProblem CheckNewJobName(const char* name);

// The message that tells the user why (Shift-JIS); empty for None.
std::string JobNameProblemText(JobNameProblem problem);

}  // namespace jobstore

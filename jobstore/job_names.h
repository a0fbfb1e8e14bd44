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

// The one rule for a job's name, for the command line, the job list and the
// name dialog. Why `name` is not a plain folder name: no separator, forbidden
// or control character, half character, ending dot or blank, device name,
// and shorter than 256 bytes (TooLong); None when it is one. Whether its
// paths fit beside the program is JobPathsFit's part (paths.h).
JobNameProblem PlainJobNameProblem(const char* name);
bool IsPlainJobName(const char* name);
// A plain folder name whose paths fit: a job's name.
bool IsUsableJobName(const char* name);

// Why a new job name cannot be used; None when it can. The verdict is that
// of IsUsableJobName; the draft's own name is refused too, since the draft
// cannot be named after itself.
JobNameProblem CheckNewJobName(const char* name);

// The message that tells the user why (Shift-JIS); empty for None.
std::string JobNameProblemText(JobNameProblem problem);

}  // namespace jobstore

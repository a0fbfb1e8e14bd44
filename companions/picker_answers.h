// What a clipboard text means to the editor: the coordinate picker answers
// through the clipboard with a point, "," (no point), "NEW ACTION" or
// "INS ACTION". A plain function of its inputs, tested without a window.
#pragma once

#include <string>

namespace companions {

enum class PollAction {
  None,             // nothing to do; the text stays on the clipboard
  SetPoint,         // write x and y into the X and Y fields
  ClearPoint,       // empty the X and Y fields, then reset the clipboard
  NewOperation,     // run "新規", then reset the clipboard
  InsertOperation,  // run "挿入", then reset the clipboard
};

struct PollDecision {
  PollAction action = PollAction::None;
  std::string x, y;  // SetPoint: the new texts of the X and Y fields
};

// True when the text has the shape of a point: a comma, at most 4 ASCII
// digits before the first one and at most 4 after it (an empty part passes).
bool HasPointShape(const char* text);

// The decision of one poll.
//   text        the clipboard's text; empty when there is none, it could not
//               be read, or it was too long to be an answer
//   shownX/Y    the texts of the X and Y fields now
//   fresh       the clipboard changed since a command answer was last acted
//               on; a command ("," "NEW ACTION" "INS ACTION") is acted on only
//               then, so a reset that failed never repeats it
PollDecision DecidePoll(const char* text, const char* shownX, const char* shownY, bool fresh);

}  // namespace companions

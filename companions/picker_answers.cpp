#include "companions/picker_answers.h"

#include <cstring>

#include "text/sjis.h"

namespace companions {

bool HasPointShape(const char* text) {
  if (text == nullptr || text[0] == '\0') return false;
  const char* comma = std::strchr(text, ',');
  if (comma == nullptr) return false;
  const std::size_t before = static_cast<std::size_t>(comma - text);
  const std::size_t after = std::strlen(comma + 1);
  if (before > 4 || after > 4) return false;
  return text::IsAllDigitsN(text, static_cast<int>(before)) &&
         text::IsAllDigitsN(comma + 1, static_cast<int>(after));
}

PollDecision DecidePoll(const char* text, const char* shownX, const char* shownY, bool fresh) {
  PollDecision d;
  if (text == nullptr) return d;
  if (HasPointShape(text)) {
    const char* comma = std::strchr(text, ',');
    std::string x(text, comma);
    std::string y(comma + 1);
    if (text::LeadingNumber(x.c_str()) != 0 && text::LeadingNumber(y.c_str()) != 0) {
      if (x == (shownX ? shownX : "") && y == (shownY ? shownY : "")) return d;
      d.action = PollAction::SetPoint;
      d.x = std::move(x);
      d.y = std::move(y);
      return d;
    }
  }
  if (!fresh) return d;
  if (std::strcmp(text, ",") == 0) {
    d.action = PollAction::ClearPoint;
  } else if (std::strcmp(text, "NEW ACTION") == 0) {
    d.action = PollAction::NewOperation;
  } else if (std::strcmp(text, "INS ACTION") == 0) {
    d.action = PollAction::InsertOperation;
  }
  return d;
}

}  // namespace companions

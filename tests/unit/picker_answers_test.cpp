// What a clipboard text means to the editor.
#include <gtest/gtest.h>

#include "companions/picker_answers.h"

namespace {

using companions::DecidePoll;
using companions::PollAction;

TEST(PickerAnswers, APointIsTakenWhenItDiffersFromTheFields) {
  auto d = DecidePoll("12,34", "", "", true);
  EXPECT_EQ(d.action, PollAction::SetPoint);
  EXPECT_EQ(d.x, "12");
  EXPECT_EQ(d.y, "34");
  // The fields show it already: nothing, fresh or not.
  EXPECT_EQ(DecidePoll("12,34", "12", "34", true).action, PollAction::None);
  // Only one field differs: both are written.
  EXPECT_EQ(DecidePoll("12,34", "12", "35", false).action, PollAction::SetPoint);
  // Four digits each, leading zeros kept as text.
  d = DecidePoll("0012,9999", "12", "9999", false);
  EXPECT_EQ(d.action, PollAction::SetPoint);
  EXPECT_EQ(d.x, "0012");
}

TEST(PickerAnswers, TextsThatAreNoAnswerAreIgnored) {
  for (const char* text : {"0,0", "0,5", ",5", "5,", "12345,1", "1,12345", " 12,34", "1,2,3",
                           "12,34\r\n", "12.34", "", "new action", "ins action", "NEW ACTION ",
                           "座標,1", "１,２"}) {
    EXPECT_EQ(DecidePoll(text, "", "", true).action, PollAction::None) << text;
  }
}

TEST(PickerAnswers, CommandsAreActedOnOnlyOncePerClipboardChange) {
  EXPECT_EQ(DecidePoll(",", "1", "2", true).action, PollAction::ClearPoint);
  EXPECT_EQ(DecidePoll("NEW ACTION", "", "", true).action, PollAction::NewOperation);
  EXPECT_EQ(DecidePoll("INS ACTION", "", "", true).action, PollAction::InsertOperation);
  for (const char* text : {",", "NEW ACTION", "INS ACTION"}) {
    EXPECT_EQ(DecidePoll(text, "", "", false).action, PollAction::None) << text;
  }
}

TEST(PickerAnswers, PointShape) {
  EXPECT_TRUE(companions::HasPointShape(","));
  EXPECT_TRUE(companions::HasPointShape("1234,5678"));
  EXPECT_FALSE(companions::HasPointShape("1234"));
  EXPECT_FALSE(companions::HasPointShape(nullptr));
  EXPECT_FALSE(companions::HasPointShape("a,1"));
}

}  // namespace

// The three repeat rules: check boxes 1045-1047 with their from and to
// fields, and their file KeyRepeat.def.
#pragma once

#include "platform/platform.h"

namespace companions {

enum class RepeatSave {
  Saved,        // valid, and KeyRepeat.def written
  Invalid,      // the rules break a validation rule; nothing written
  WriteFailed,  // valid, but KeyRepeat.def could not be written
};

void LoadRepeatRules(plat::Window dialog);
void ToggleRepeatRule(plat::Window dialog, int rule);  // rule 1, 2 or 3
RepeatSave ValidateAndSaveRepeatRules(plat::Window dialog);
// Renumbers the ticked rules after row n (1-based) was inserted or deleted.
void ShiftRangesAfterInsert(plat::Window dialog, int n);
void ShiftRangesAfterDelete(plat::Window dialog, int d);

}  // namespace companions

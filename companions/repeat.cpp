#include "companions/repeat.h"

namespace companions {

void LoadRepeatRules(plat::Window) {}
void ToggleRepeatRule(plat::Window, int) {}
RepeatSave ValidateAndSaveRepeatRules(plat::Window) { return RepeatSave::Saved; }
void ShiftRangesAfterInsert(plat::Window, int) {}
void ShiftRangesAfterDelete(plat::Window, int) {}

}  // namespace companions

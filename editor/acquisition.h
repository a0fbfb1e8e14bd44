// Screen acquisition in the main dialog: the row commands that the
// coordinate picker's "NEW ACTION" and "INS ACTION" run.
#pragma once

#include "platform/platform.h"

namespace editor {

// NewOperation and InsertOperation; the tests may put counters in their place.
extern void (*PickerNewOperation)(plat::Window dialog);
extern void (*PickerInsertOperation)(plat::Window dialog);

}  // namespace editor

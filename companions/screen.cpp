#include "companions/screen.h"

#include "platform/platform.h"

namespace companions {

void ResetClipboard() { plat::WriteClipboardText("0,0"); }

void MovePickerWindow(int, int) {}

}  // namespace companions

#pragma once

#include <windows.h>

namespace veltaro::ui {

// Makes an edit whose text goes to the modem refuse, as they are typed or pasted,
// characters that cannot travel as one byte of the modem's console
// (console::IsSendableCharacter): the edit keeps its text and the system beeps. Control
// keys (Backspace, Ctrl+C, ...) work as before. Texts set by the program are not filtered.
// False when the edit could not be subclassed.
bool LimitToSendable(HWND edit);

}  // namespace veltaro::ui

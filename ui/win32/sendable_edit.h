#pragma once

#include <windows.h>

namespace veltaro::ui {

// Makes an edit whose text goes to the modem refuse, as they are typed, composed by an
// input method or pasted, characters that cannot travel as one byte of the modem's console
// (console::IsSendableCharacter): the edit keeps its text and the system beeps. The edit
// has no input method context, so keys give the plain characters they carry. Control keys
// (Backspace, Ctrl+C, ...) work as before. Texts set by the program are not filtered.
// False when the edit could not be subclassed (or already is).
bool LimitToSendable(HWND edit);

}  // namespace veltaro::ui

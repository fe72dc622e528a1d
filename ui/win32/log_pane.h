#pragma once

#include <windows.h>

#include <string>

// The log pane, the multi-line read-only edit 1006.
namespace veltaro::ui::log_pane {

// Lifts the edit's text limit: the log keeps everything the modem said.
void Prepare(HWND edit);

// Adds text at the end of the log whatever the user has clicked or selected: the user's
// selection stays, and the view follows the new text only while it was scrolled to the
// bottom; otherwise it stays where the user scrolled it.
void Append(HWND edit, const std::wstring& text);

}  // namespace veltaro::ui::log_pane

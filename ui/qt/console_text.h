#pragma once

#include <string>
#include <string_view>

#include <QString>

// How raw console bytes are shown, and how edit texts cross to the console logic.
//
// The log pane shows raw console bytes as console_glyphs.h says.
// The edits exchange their texts with the console as Latin-1: one character, one byte.
// A character beyond Latin-1 (which no field accepts) reaches the console as '?'.
namespace veltaro::ui {

[[nodiscard]] QString DecodeConsoleBytes(std::string_view bytes);

[[nodiscard]] QString FromLatin1(const std::string& bytes);
[[nodiscard]] std::string ToLatin1(const QString& text);

}  // namespace veltaro::ui

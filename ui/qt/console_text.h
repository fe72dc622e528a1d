#pragma once

#include <string>
#include <string_view>

#include <QString>

// How raw console bytes are shown, and how edit texts cross to the console logic.
//
// The log pane shows raw console bytes as console_glyphs.h says.
// The edits exchange their texts with the console as Latin-1: one character, one byte.
// The edits whose text goes to the modem refuse every character that is not sendable
// (console::IsSendableText), so what the console reads there is what the user sees; a
// modem's value of 0x80 and above shown by a form write reads back as the same byte. In
// any other edit a character beyond Latin-1 would reach the console as '?'.
namespace veltaro::ui {

[[nodiscard]] QString DecodeConsoleBytes(std::string_view bytes);

[[nodiscard]] QString FromLatin1(const std::string& bytes);
[[nodiscard]] std::string ToLatin1(const QString& text);

}  // namespace veltaro::ui

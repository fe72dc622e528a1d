#pragma once

#include <string>
#include <string_view>

#include <QString>

// How raw console bytes are shown, and how edit texts cross to the console logic.
//
// The console logic works on 8-bit text, one byte per character. The log pane shows it so:
// - LF is a line break; CR is left out, so CR LF, LF and CR CR LF each give one break,
//   however the bytes are split between appends;
// - a 0 byte is left out (padding, nothing to read);
// - TAB stays; other control bytes show as their Unicode control pictures (U+2401...,
//   DEL as U+2421), so that line noise is visible rather than invisible;
// - bytes 0xA0 to 0xFF show as Latin-1; bytes 0x80 to 0x9F, which have no printable
//   Latin-1 meaning, show as U+FFFD.
// The edits exchange their texts with the console as Latin-1: one character, one byte.
// A character beyond Latin-1 (which no field accepts) reaches the console as '?'.
namespace veltaro::ui {

[[nodiscard]] QString DecodeConsoleBytes(std::string_view bytes);

[[nodiscard]] QString FromLatin1(const std::string& bytes);
[[nodiscard]] std::string ToLatin1(const QString& text);

}  // namespace veltaro::ui

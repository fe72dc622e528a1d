#pragma once

#include <string>
#include <string_view>

namespace veltaro::cli {

// Text helpers for what the terminal program prints. Console values are raw bytes, one
// character per byte; none of these functions assumes they are valid UTF-8.

// Without blanks, tabs, CR and LF at either end.
std::string_view Trim(std::string_view text);

// A JSON string literal, quotes included. Each byte is one character: bytes of 0x80 and
// above become \u0080..\u00ff, so the result is valid JSON whatever the modem sent.
std::string JsonString(std::string_view bytes);

// The bytes with every control byte and every byte of 0x80 and above written as \xNN (and
// a backslash as \\), so that a value cannot disturb the terminal.
std::string Printable(std::string_view bytes);

// The bytes with every control byte and every byte of 0x80 and above written as \xNN, and
// nothing else changed: for messages that quote what the user or the modem gave, where
// backslashes of port names must stay as they are.
std::string TerminalSafe(std::string_view bytes);

// ASCII lower case, for names typed on the command line.
std::string Lower(std::string_view text);

}  // namespace veltaro::cli

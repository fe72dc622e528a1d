#pragma once

#include <string>
#include <string_view>

namespace veltaro::cli {

// Text helpers for what the terminal program prints. Console values are raw bytes, one
// character per byte; none of these functions assumes they are valid UTF-8.

// Without blanks, tabs, CR and LF at either end.
std::string_view Trim(std::string_view text);

// The bytes with every control byte and every byte of 0x80 and above written as \xNN (and
// a backslash as \\), so that a value cannot disturb the terminal.
std::string Printable(std::string_view bytes);

// The bytes with every control byte and every byte of 0x80 and above written as \xNN, and
// nothing else changed: for messages that quote what the user or the modem gave, where
// backslashes of port names must stay as they are.
std::string TerminalSafe(std::string_view bytes);

// A value or key as a message repeats it: escaped as Printable does, and cut to its first
// 60 bytes, then "..." and its full length ("AAAA... (100000 bytes)"), so that a hostile
// argument of megabytes gives a message of one line. The console's rule, which the profile
// messages use too (veltaro/console/setting_value.h).
std::string QuotedInMessage(std::string_view bytes);

// Text from the system (a path) for the terminal: printable UTF-8 as it is; control
// characters (C0, DEL, C1), the marks that reorder or hide text, and bytes that are not
// UTF-8 written as \xNN per byte.
std::string TerminalSafeUtf8(std::string_view bytes);

// ASCII lower case, for names typed on the command line.
std::string Lower(std::string_view text);

}  // namespace veltaro::cli

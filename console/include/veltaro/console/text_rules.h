#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// Text rules shared by the console parser, the setting commands and the field checks.
//
// Text is 8-bit: one received byte is one character whatever its value, so a 0 byte or a
// byte of 0x80 and above is searched, cut and copied like any other. Positions are
// zero-based and signed, because the parser places excerpts at negative offsets from a
// marker and relies on the clamping below. All functions are pure and thread-safe.
namespace veltaro::console {

using TextPos = std::ptrdiff_t;

// Position of the first occurrence of pattern, searching from the start, case-sensitive;
// -1 when it does not occur. An empty pattern is found at 0.
[[nodiscard]] TextPos FindFirst(std::string_view text, std::string_view pattern);
[[nodiscard]] bool Contains(std::string_view text, std::string_view pattern);

// The count characters that begin at start, after clamping in this order: a negative start
// becomes 0 (count is not changed for it); a negative count becomes 0; a count that runs past
// the end is cut at the end; a start past the end gives nothing.
[[nodiscard]] std::string ClampedSubstring(std::string_view text, TextPos start, TextPos count);
// ClampedSubstring(text, start, length - start): everything from start on.
[[nodiscard]] std::string Rest(std::string_view text, TextPos start);

// 0-9 for '0'-'9', 10-15 for 'A'-'F' and 'a'-'f', 0 for every other byte.
[[nodiscard]] std::uint8_t HexDigitValue(char c);

// The leading decimal number as atoi reads it: white space skipped, one optional sign, then
// digits up to the first other character; 0 without digits. A number beyond the 32-bit range
// saturates at its limit instead of wrapping.
[[nodiscard]] std::int32_t AtoiPrefix(std::string_view text);

// Whether a text reaches the modem exactly as the user sees it: printable ASCII only (0x20
// to 0x7E), one byte per character on any front end. The modem's console takes typed keys:
// a control byte would act as a keystroke (ESC leaves the prompt, LF ends the value), and
// bytes of 0x80 and above have no agreed meaning there. Every edit whose text goes to the
// modem accepts only such characters, and so does every value the command line sends.
[[nodiscard]] constexpr bool IsSendableCharacter(char32_t c) {
    return c >= 0x20 && c <= 0x7E;
}
[[nodiscard]] bool IsSendableText(std::string_view text);

// "COM%d" for a COM number of 4 or less (0 and negative numbers included), else the
// device-namespace form "\\.\COM%d".
[[nodiscard]] std::string FormatPortName(int comNumber);

}  // namespace veltaro::console

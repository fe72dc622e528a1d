#pragma once

#include <string_view>

// How raw console bytes show in the log pane, the same in both front ends:
// - LF is a line break; CR is left out, so CR LF, LF and CR CR LF each give one break,
//   however the bytes are split between appends;
// - a 0 byte is left out (padding, nothing to read);
// - TAB stays; other control bytes show as their Unicode control pictures (U+2401...,
//   DEL as U+2421), so that line noise is visible rather than invisible;
// - bytes 0xA0 to 0xFF show as Latin-1; bytes 0x80 to 0x9F, which have no printable
//   Latin-1 meaning, show as U+FFFD.
namespace veltaro::ui {

// The character that shows one byte ('\n' for a line break), or 0 when it is left out.
constexpr char16_t ShownCharacter(unsigned char byte) {
    constexpr char16_t kControlPictures = 0x2400;
    switch (byte) {
        case 0x00:
        case '\r':
            return 0;
        case '\n':
        case '\t':
            return byte;
        case 0x7F:
            return 0x2421;
        default:
            break;
    }
    if (byte < 0x20) {
        return static_cast<char16_t>(kControlPictures + byte);
    }
    if (byte >= 0x80 && byte < 0xA0) {
        return 0xFFFD;
    }
    return byte;
}

}  // namespace veltaro::ui

#include "wide_text.h"

#include <windows.h>

#include "console_glyphs.h"

namespace veltaro::ui {

namespace {

// Bytes of one code page to UTF-16; empty when a byte sequence is not valid in it.
std::wstring StrictWide(std::string_view bytes, UINT codePage) {
    const int size = static_cast<int>(bytes.size());
    const int needed =
        MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, nullptr, 0);
    if (needed <= 0) {
        return {};
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, bytes.data(), size, wide.data(),
                            needed) != needed) {
        return {};
    }
    return wide;
}

}  // namespace

std::wstring WideFromText(std::string_view bytes, unsigned fallbackCodePage) {
    if (bytes.empty()) {
        return {};
    }
    std::wstring wide = StrictWide(bytes, CP_UTF8);
    if (wide.empty() && fallbackCodePage != CP_UTF8) {
        wide = StrictWide(bytes, fallbackCodePage);
    }
    return wide.empty() ? WideFromLatin1(bytes) : wide;
}

std::wstring WideFromUtf8(std::string_view utf8) {
    return WideFromText(utf8, GetACP());
}

std::wstring WideFromLatin1(std::string_view bytes) {
    std::wstring wide;
    wide.reserve(bytes.size());
    for (const char c : bytes) {
        wide.push_back(static_cast<wchar_t>(static_cast<unsigned char>(c)));
    }
    return wide;
}

std::string Latin1FromWide(std::wstring_view text) {
    std::string bytes;
    bytes.reserve(text.size());
    for (const wchar_t c : text) {
        bytes.push_back(c <= 0xFF ? static_cast<char>(c) : '?');
    }
    return bytes;
}

std::wstring LogTextFromConsole(std::string_view bytes) {
    std::wstring shown;
    shown.reserve(bytes.size());
    for (const char c : bytes) {
        const char16_t ch = ShownCharacter(static_cast<unsigned char>(c));
        if (ch == u'\n') {
            shown += L"\r\n";
        } else if (ch != 0) {
            shown.push_back(static_cast<wchar_t>(ch));
        }
    }
    return shown;
}

}  // namespace veltaro::ui

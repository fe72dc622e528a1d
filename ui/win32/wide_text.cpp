#include "wide_text.h"

#include <windows.h>

#include "console_glyphs.h"

namespace veltaro::ui {

std::wstring WideFromUtf8(std::string_view utf8) {
    if (utf8.empty()) {
        return {};
    }
    const int size = static_cast<int>(utf8.size());
    const int needed = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
    if (needed <= 0) {
        return WideFromLatin1(utf8);
    }
    std::wstring wide(static_cast<std::size_t>(needed), L'\0');
    if (MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, wide.data(), needed) != needed) {
        return WideFromLatin1(utf8);
    }
    return wide;
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

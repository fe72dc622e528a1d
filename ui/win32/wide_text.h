#pragma once

#include <string>
#include <string_view>

// Texts between the program's 8-bit strings and the wide (UTF-16) Windows calls. Wide calls
// everywhere keep the Korean texts right whatever the system's ANSI code page is.
namespace veltaro::ui {

// UTF-8 (the sources' texts, the serial link's messages) to UTF-16. Bytes that are not
// UTF-8 are read in the active code page (WideFromText with GetACP()).
[[nodiscard]] std::wstring WideFromUtf8(std::string_view utf8);
// Text that should be UTF-8 but may come in the code page fallbackCodePage: UTF-8 when all
// of it is valid UTF-8, else that code page when all of it is valid there, else Latin-1,
// so that no byte is lost to a replacement character.
[[nodiscard]] std::wstring WideFromText(std::string_view bytes, unsigned fallbackCodePage);
// Console bytes, one character each (Latin-1), to UTF-16 and back. A character beyond
// Latin-1 (which no field accepts) becomes '?'.
[[nodiscard]] std::wstring WideFromLatin1(std::string_view bytes);
[[nodiscard]] std::string Latin1FromWide(std::wstring_view text);
// Raw console bytes as the log pane shows them (console_glyphs.h), line breaks as CR LF.
[[nodiscard]] std::wstring LogTextFromConsole(std::string_view bytes);

}  // namespace veltaro::ui

#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

namespace veltaro::cli {

// One character of UTF-8 text.
struct Utf8Char {
    char32_t code = 0;
    std::size_t length = 0;  // in bytes, 1 to 4
};

// The well-formed UTF-8 character at the start of `bytes`, or nothing when its first byte
// does not start one: overlong forms, surrogates (U+D800..U+DFFF) and values beyond
// U+10FFFF are not well-formed, as the Unicode standard says. Paths and names from the
// system are bytes; this tells which of them are text.
[[nodiscard]] std::optional<Utf8Char> DecodeUtf8(std::string_view bytes);

}  // namespace veltaro::cli

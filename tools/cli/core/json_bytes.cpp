#include "json_bytes.h"

#include <array>
#include <cstdio>
#include <optional>

#include "utf8.h"

namespace veltaro::cli {
namespace {

constexpr std::string_view kNulEscape = "\\u0000";  // how nlohmann writes a NUL

std::string Hex2(unsigned char byte) {
    std::array<char, 3> digits{};
    std::snprintf(digits.data(), digits.size(), "%02x", byte);
    return {digits.data(), 2};
}

bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

}  // namespace

std::string BytesForJson(std::string_view bytes) {
    std::string out;
    while (!bytes.empty()) {
        const std::optional<Utf8Char> c = DecodeUtf8(bytes);
        if (c && c->code != 0) {
            out += bytes.substr(0, c->length);
            bytes.remove_prefix(c->length);
            continue;
        }
        out += '\0';
        out += Hex2(static_cast<unsigned char>(bytes.front()));  // "00" for a NUL
        bytes.remove_prefix(1);
    }
    return out;
}

std::string DumpWithByteEscapes(const nlohmann::ordered_json& value, int indent) {
    const std::string text = value.dump(indent);
    std::string out;
    out.reserve(text.size());
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] != '\\') {
            out += text[i++];
            continue;
        }
        // Escapes are walked whole, so that a backslash of the text is never taken for one.
        const bool placeholder = text.compare(i, kNulEscape.size(), kNulEscape) == 0 &&
                                 i + kNulEscape.size() + 2 <= text.size() &&
                                 IsHexDigit(text[i + kNulEscape.size()]) &&
                                 IsHexDigit(text[i + kNulEscape.size() + 1]);
        if (!placeholder) {
            out.append(text, i, 2);
            i += 2;
            continue;
        }
        const std::string digits = text.substr(i + kNulEscape.size(), 2);
        out += digits == "00" ? std::string(kNulEscape) : "\\udc" + digits;
        i += kNulEscape.size() + 2;
    }
    return out;
}

}  // namespace veltaro::cli

#include "utf8.h"

namespace veltaro::cli {
namespace {

struct LeadRule {
    std::size_t length;
    char32_t lowest;      // below it the form is overlong
    unsigned char mask;   // the bits that mark the lead byte
    unsigned char value;  // what they must be
};

constexpr LeadRule kLeads[] = {
    {1, 0x0, 0x80, 0x00},
    {2, 0x80, 0xE0, 0xC0},
    {3, 0x800, 0xF0, 0xE0},
    {4, 0x10000, 0xF8, 0xF0},
};

}  // namespace

std::optional<Utf8Char> DecodeUtf8(std::string_view bytes) {
    if (bytes.empty()) {
        return std::nullopt;
    }
    const auto lead = static_cast<unsigned char>(bytes[0]);
    for (const LeadRule& rule : kLeads) {
        if ((lead & rule.mask) != rule.value) {
            continue;
        }
        if (bytes.size() < rule.length) {
            return std::nullopt;
        }
        char32_t code = lead & static_cast<unsigned char>(~rule.mask);
        for (std::size_t i = 1; i < rule.length; ++i) {
            const auto next = static_cast<unsigned char>(bytes[i]);
            if ((next & 0xC0) != 0x80) {
                return std::nullopt;
            }
            code = (code << 6) | (next & 0x3F);
        }
        const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
        if (code < rule.lowest || surrogate || code > 0x10FFFF) {
            return std::nullopt;
        }
        return Utf8Char{code, rule.length};
    }
    return std::nullopt;
}

}  // namespace veltaro::cli

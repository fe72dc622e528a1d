#pragma once

#include <map>
#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace veltaro::console::detail {

// A JSON text checked strictly and parsed, with the line of every object key and array
// element, so that a reader of the file can say where a fault is. Duplicate keys, at any
// level, are an error (a parser would otherwise keep one of them silently).
struct JsonScan {
    nlohmann::ordered_json value;  // valid when error is empty
    std::string error;             // "not valid JSON: ...", "duplicate key ...", ...
    int line = 0;                  // where the error is
    // JSON pointer ("/settings/channel", "/settable/0") -> line of the key or element.
    std::map<std::string, int> lines;

    [[nodiscard]] int LineOf(const std::string& pointer) const {
        const auto found = lines.find(pointer);
        return found == lines.end() ? 1 : found->second;
    }
};

[[nodiscard]] JsonScan ScanJson(std::string_view text);

// The JSON pointer of `key` inside the object at `parent` ("" for the top level).
[[nodiscard]] std::string PointerTo(std::string_view parent, std::string_view key);

// A JSON string's UTF-8 as console bytes: U+0000..U+00FF become one byte each. False when
// the string holds a character beyond U+00FF.
[[nodiscard]] bool JsonTextToBytes(std::string_view utf8, std::string& bytes);

}  // namespace veltaro::console::detail

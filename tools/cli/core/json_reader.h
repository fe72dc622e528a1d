#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace veltaro::cli {

// A parsed JSON value that remembers the line it started on, so that a file's reader can
// say where a fault is.
struct JsonValue {
    enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
    Kind kind = Kind::kNull;
    int line = 1;
    bool flag = false;  // kBool
    std::string text;  // kString: the bytes (\u0000-\u00ff give one byte each); kNumber: as written
    std::vector<JsonValue> items;                            // kArray
    std::vector<std::pair<std::string, JsonValue>> members;  // kObject, in file order
};

struct JsonParse {
    std::optional<JsonValue> value;
    std::string error;  // empty on success
    int line = 0;       // where the error is
};

// Strict JSON (RFC 8259): one value, nothing after it but blanks; nesting is bounded.
JsonParse ParseJson(std::string_view text);

// "string", "number", ... for messages.
std::string_view KindName(JsonValue::Kind kind);

}  // namespace veltaro::cli

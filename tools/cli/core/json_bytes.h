#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

namespace veltaro::cli {

// Strings from the system (paths, link targets, names read from sysfs) in JSON output. They
// are bytes, usually UTF-8. Valid UTF-8 is written as it is; every other byte 0xNN as the
// escape \udcNN, the form of Python's "surrogateescape" error handler, so that a reader gets
// the same bytes back (in Python: os.fsencode(value)).
//
// nlohmann/json writes nothing but valid UTF-8 and escapes backslashes, so it cannot write
// \udcNN itself: BytesForJson stores such a byte as a NUL and two hex digits (a path never
// holds a NUL; a NUL that is there becomes a NUL and "00"), and DumpWithByteEscapes turns the
// \u0000 that nlohmann writes for it, with the two digits, into the escape.

// `bytes` as the string to put into an nlohmann value.
[[nodiscard]] std::string BytesForJson(std::string_view bytes);

// The JSON text of `value`, whose strings all came from BytesForJson or are plain ASCII.
[[nodiscard]] std::string DumpWithByteEscapes(const nlohmann::ordered_json& value, int indent);

}  // namespace veltaro::cli

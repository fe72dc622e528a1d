#pragma once

#include <string>
#include <string_view>

#include "veltaro/console/setting_keys.h"

namespace veltaro::console {

struct ValueParse {
    std::string error;        // empty on success; names the key
    bool unsendable = false;  // the value holds a byte the modem cannot take as typed text
};

// One value for the row's setting, as typed after `set` or given by a profile: the text of
// an edit as it stands, a choice word in any case, or a period as <digits><h|m|s>. An empty
// value, a byte outside printable ASCII (the modem's console takes control bytes as keys)
// or a word outside the radio group is an error. The field checks come later, against the
// detected model. Fills `item` (key included) only on success. Pure; any thread.
[[nodiscard]] ValueParse ParseSettingValue(const KeyRow& row, std::string_view value,
                                           SetItem& item);

// A value or key as a message quotes it: control bytes and bytes from 0x80 as \xNN (a
// backslash doubled), and a long one cut to 60 characters, then "..." and its full length.
[[nodiscard]] std::string QuotedInMessage(std::string_view bytes);

}  // namespace veltaro::console

#pragma once

// The one place where a failed Win32 call on the way to an open port becomes the kind of
// failure the owner sees and the sentence the user reads.

#include <windows.h>

#include <string>
#include <string_view>

#include "serial_device.h"

namespace brenlow::detail {

// The step of opening that failed, for the sentence.
enum class OpenStep {
    kEvents,        // the completion records' events
    kOpen,          // CreateFileA
    kReadSettings,  // GetCommState: the device has no serial line settings
    kLineSettings,  // SetCommState
};

// What failed at step with the system error code error on the port name.
[[nodiscard]] OpenFailure DescribeOpenFailure(OpenStep step, DWORD error, const std::string& name);

// The system's own text for an error code in UTF-8, without its closing line break and full
// stop; language 0 lets the system choose, as for the user.
[[nodiscard]] std::string SystemMessage(DWORD error, DWORD language = 0);

// UTF-16 to UTF-8; a lone surrogate becomes U+FFFD.
[[nodiscard]] std::string Utf8FromWide(std::wstring_view text);

}  // namespace brenlow::detail

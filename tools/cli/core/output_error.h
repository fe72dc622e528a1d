#pragma once

#include <string>

namespace veltaro::cli {

// Why the last write to standard output failed, in the system's words ("Broken pipe", "No
// space left on device"). Call right after the failed write, on the same thread. Each
// platform defines it (posix/, win32/): Windows' C runtime calls a closed pipe an invalid
// argument, which would send the user looking in the wrong place.
[[nodiscard]] std::string OutputErrorReason();

}  // namespace veltaro::cli

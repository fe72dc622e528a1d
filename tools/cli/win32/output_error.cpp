#include "output_error.h"

#include <windows.h>

#include <cerrno>
#include <cstring>

namespace veltaro::cli {

// The C runtime maps ERROR_NO_DATA (the reading end of the pipe is gone) to EINVAL; the
// system's own error says what happened, in the words the POSIX build uses.
std::string OutputErrorReason() {
    const int error = errno;
    switch (GetLastError()) {
        case ERROR_NO_DATA:
        case ERROR_BROKEN_PIPE:
            return "Broken pipe";
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return "No space left on device";
        default:
            return std::strerror(error);
    }
}

}  // namespace veltaro::cli

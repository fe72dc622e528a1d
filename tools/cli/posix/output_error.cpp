#include "output_error.h"

#include <cerrno>
#include <cstring>

namespace veltaro::cli {

std::string OutputErrorReason() {
    return std::strerror(errno);
}

}  // namespace veltaro::cli

#include "broken_profile_file.h"

namespace veltaro::console::testing {

// Windows has no FIFO in the file system, and no device a file dialog would offer.
std::filesystem::path MakeSpecialFile(BrokenKind, const std::filesystem::path&) {
    return {};
}

}  // namespace veltaro::console::testing

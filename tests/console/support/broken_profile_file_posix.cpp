#include <sys/stat.h>

#include "broken_profile_file.h"

namespace veltaro::console::testing {

std::filesystem::path MakeSpecialFile(BrokenKind kind, const std::filesystem::path& path) {
    if (kind == BrokenKind::kDevice) {
        return "/dev/zero";  // endless: a reader that does not check would never stop
    }
    return mkfifo(path.c_str(), 0600) == 0 ? path : std::filesystem::path();
}

}  // namespace veltaro::console::testing

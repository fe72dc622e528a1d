#pragma once

// The one place where a failed system call on the way to an open port becomes the kind of
// failure the owner sees and the sentence the user reads.

#include <string>

#include "serial_device.h"

namespace brenlow::detail {

// The steps of opening a device, in the order they run.
enum class OpenStep {
    kOpen,          // open(2) of the device
    kLock,          // flock(2), the hold against other programs
    kExclusive,     // TIOCEXCL
    kReadSettings,  // tcgetattr
    kLineSettings,  // building, applying and reading back the line settings
};

// What failed at step with errno err on path, as a kind and a sentence for the user.
[[nodiscard]] OpenFailure DescribeOpenFailure(OpenStep step, int err, const std::string& path);

// The name of the group that owns path, or empty when it cannot be found.
[[nodiscard]] std::string OwningGroupName(const std::string& path);

}  // namespace brenlow::detail

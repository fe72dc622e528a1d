#pragma once

#include <filesystem>

#include "broken_profiles.h"

namespace veltaro::console::testing {

// The platform's part of MakeBrokenProfile: a FIFO at `path`, or the path of a device.
// Empty where the platform has no such file.
std::filesystem::path MakeSpecialFile(BrokenKind kind, const std::filesystem::path& path);

}  // namespace veltaro::console::testing
